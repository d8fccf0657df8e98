#include "dialogs/DemonstrationProjectors.h"

#include <array>
#include <memory>

#include "platform/FixedText.h"
#include "record/DottedAddress.h"

namespace lanterna::dialogs {
namespace {

struct Demonstration {
    const char* name;
    const char* mac;
    std::int32_t origin;
    std::uint8_t imType;
    bool dhcp;
    bool wireless;
    bool mail;
    bool nameServers;
};

constexpr std::array<Demonstration, kDemonstrationProjectorCount> kDemonstrations{{
    {"HALL-1F", "00A0B0C0D064", 0, 21, true, false, true, false},
    {"ROOM-201", "00A0B0C0D065", 1, 22, false, false, true, false},
    {"ROOM-202", "00A0B0C0D066", 2, 30, true, false, false, true},
    {"LAB-WL1", "00A0B0C0D067", 0, 22, true, true, true, false},
    {"LAB-WL2", "00A0B0C0D068", 1, 30, false, true, false, true},
}};

constexpr Octets Address(std::uint8_t last) {
    return {172, 20, 28, last};
}

std::unique_ptr<ProjectorRecord> MakeRecord(const Demonstration& demo, std::uint8_t last) {
    auto record = std::make_unique<ProjectorRecord>();
    record->origin = demo.origin;
    record->imType = demo.imType;
    record->ipAddress = Address(last);
    CopyText(record->address, FormatDotted(record->ipAddress));
    CopyText(record->projectorName, demo.name);
    CopyText(record->macAddress, demo.mac);
    record->subnetMask = {255, 255, 255, 0};
    record->gateway = Address(1);
    record->trapAddress1 = Address(3);
    record->trapAddress2 = Address(11);
    CopyText(record->community, "public");
    CopyText(record->mailTo1, "admin@example.org");
    CopyText(record->mailTo2, "desk@example.org");
    CopyText(record->mailTo3, "facility@example.org");
    record->mailEvents1 = 42;
    record->dhcp = demo.dhcp ? 1 : 0;
    if (demo.wireless) {
        record->wirelessActive = 1;
        record->wepEnabled = 1;
        CopyText(record->essid, "LANTERNA-LAB");
        CopyText(record->wepKey, "0123456789");
    }
    if (demo.mail) {
        record->mailNotify = 1;
        record->smtpServer = Address(2);
        record->smtpPort = 25;
    }
    if (demo.nameServers) {
        CopyText(record->dnsDomain, "campus.example.org");
        record->dns1 = Address(5);
        record->dns2 = Address(4);
        record->wins1 = Address(5);
        record->wins2 = Address(4);
    }
    return record;
}

}  // namespace

void AppendDemonstrationProjectors(ProjectorList& projectors) {
    std::uint8_t last = 100;
    for (const Demonstration& demo : kDemonstrations) {
        projectors.Append(MakeRecord(demo, last++));
    }
}

}  // namespace lanterna::dialogs
