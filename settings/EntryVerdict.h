#pragma once
// What a settings dialog's entries are judged as: an address as typed (some of its four fields
// may be blank) and the verdict of a check sequence, naming the message and where the focus goes.
// Qt-free, so the window and the command line judge the same values alike.

#include <cstdint>

#include "record/DottedAddress.h"

namespace lanterna {

// An address as typed: its four octets (blank fields read as 0) and how many fields hold a value.
struct AddressEntry {
    static constexpr int kFieldCount = 4;

    Octets octets{};
    int filledFields = kFieldCount;

    bool IsBlank() const { return filledFields <= 0; }
    bool IsPartlyFilled() const { return filledFields > 0 && filledFields < kFieldCount; }
};

// An address of a record as a dialog shows it: 0.0.0.0 as a blank control, anything else whole.
AddressEntry EntryOfAddress(const Octets& address);

// The entry a refused check points at.
enum class EntryField : int {
    kNone,
    kName,
    kIpAddress,
    kSubnetMask,
    kGateway,
    kDns1,
    kDns2,
    kDomain,
    kWins1,
    kWins2,
    kTrapAddress1,
    kTrapAddress2,
    kCommunity,
    kSmtpServer,
    kSmtpPort,
    kMailTo1,
    kMailTo2,
    kMailTo3,
    kEssid,
    kWepKey,  // the one key of a basic wireless module
    kWepKey1,
    kWepKey2,
    kWepKey3,
    kWepKey4,
    kSharedKey,
    kLeapUserName,
    kLeapPassword,
};

// Where in a refused address entry the focus goes.
enum class FocusOctet : int {
    kFirst,       // its first field
    kFirstBlank,  // its first blank field (the entry was partly filled)
};

struct EntryVerdict {
    int stringId = 0;  // message of the string table; 0 when every check passed
    EntryField field = EntryField::kNone;
    FocusOctet octet = FocusOctet::kFirst;

    bool Accepted() const { return stringId == 0; }
};

inline EntryVerdict Refused(int stringId, EntryField field, FocusOctet octet = FocusOctet::kFirst) {
    return EntryVerdict{stringId, field, octet};
}

}  // namespace lanterna
