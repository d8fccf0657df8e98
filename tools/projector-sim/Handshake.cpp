#include "tools/projector-sim/Handshake.h"

#include <algorithm>

namespace lanterna::sim {

namespace {

const PacketEntry* FindEntry(const HandshakeRequest& request, std::uint8_t id) {
    const auto it = std::find_if(request.entries.begin(), request.entries.end(),
                                 [id](const PacketEntry& entry) { return entry.id == id; });
    return it == request.entries.end() ? nullptr : &*it;
}

bool Matches(const std::string& password, std::string_view offered) {
    return std::string_view(password).substr(0, kEntryTextSize) == offered;
}

HandshakeAnswer Refuse(std::uint8_t status) {
    return HandshakeAnswer{status, false};
}

HandshakeAnswer AnswerPassword(const HandshakeRequest& request, std::string& password) {
    if (request.entries.empty()) {
        return Refuse(password.empty() ? kStatusAccepted : kStatusPasswordRefused);
    }
    const PacketEntry* current = FindEntry(request, 1);
    const PacketEntry* replacement = FindEntry(request, 2);
    if (request.entries.size() != 2 || current == nullptr || replacement == nullptr) {
        return Refuse(kStatusBadRequest);
    }
    if (!Matches(password, current->information)) {
        return Refuse(kStatusPasswordRefused);
    }
    password = replacement->information;
    return Refuse(kStatusAccepted);
}

HandshakeAnswer AnswerConnect(const HandshakeRequest& request, const std::string& password) {
    std::string_view offered;
    if (!request.entries.empty()) {
        const PacketEntry* entry = FindEntry(request, 1);
        if (entry == nullptr) {
            return Refuse(kStatusBadRequest);
        }
        offered = entry->information;
    }
    if (password.empty() || Matches(password, offered)) {
        return HandshakeAnswer{kStatusAccepted, true};
    }
    return Refuse(kStatusPasswordRefused);
}

}  // namespace

HandshakeAnswer AnswerHandshake(const HandshakeRequest& request, std::string& password) {
    if (request.header.version != kPacketVersion) {
        return Refuse(kStatusBadRequest);
    }
    switch (request.header.type) {
        case kPacketPassword:
            return AnswerPassword(request, password);
        case kPacketConnect:
            return AnswerConnect(request, password);
        default:
            return Refuse(kStatusBadRequest);
    }
}

}  // namespace lanterna::sim
