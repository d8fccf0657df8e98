#pragma once
// The packet handshake that opens a text session: password probe, connect, password change.

#include <cstdint>
#include <string>
#include <vector>

#include "tools/projector-sim/Packets.h"

namespace lanterna::sim {

struct HandshakeRequest {
    PacketHeader header;
    std::vector<PacketEntry> entries;
};

struct HandshakeAnswer {
    std::uint8_t status = kStatusBadRequest;
    bool authenticated = false;  // the text session is open
};

// Answers one request against the projector's `password` (changed in place by an accepted
// password change). Passwords compare on their first 16 bytes.
// - Probe (type 2, no entries): 0x20 without a password, 0x41 with one.
// - Connect (type 3): no entries = empty password; entry id 1 = the password. Accepted (0x20)
//   when the projector has no password or the password matches, else 0x41.
// - Change (type 2, entries id 1 = current and id 2 = new): 0x20 and the new password when
//   the current one matches (an empty new password removes it), else 0x41.
// - Any other version, type or entry layout: 0x40.
HandshakeAnswer AnswerHandshake(const HandshakeRequest& request, std::string& password);

}  // namespace lanterna::sim
