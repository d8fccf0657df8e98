#include "workers/WriteGroups.h"

#include <utility>

#include "record/CutState.h"
#include "workers/DueRules.h"

namespace lanterna {

namespace {

bool IsCarriedGroupDue(const ProjectorRecord& record,
                       const std::vector<CarriedSetting>& settings) {
    bool anyChanged = false;
    bool allRead = !settings.empty();
    for (const CarriedSetting& carried : settings) {
        anyChanged = anyChanged || carried.state == kStateChanged;
        allRead = allRead && carried.state == kStateRead;
    }
    return record.writeAll != 0 ? allRead : anyChanged;
}

std::string_view FirstUnreadCarried(const std::vector<CarriedSetting>& settings) {
    for (const CarriedSetting& carried : settings) {
        // A value held cut (record/CutState.h) is no value the projector holds either: sent back,
        // it would change the projector's own.
        if (carried.state == kStateUnknown || carried.state == kStateCut) {
            return carried.setting;
        }
    }
    return {};
}

}  // namespace

std::vector<CarriedSetting> AddressConfigSettings(const ProjectorRecord& r) {
    std::vector<CarriedSetting> settings;
    if (r.dhcp != 0) {
        settings = {{"dhcp", r.dhcpState}};
    } else {
        settings = {{"ipAddress", r.ipAddressState},
                    {"subnetMask", r.subnetMaskState},
                    {"gateway", r.gatewayState}};
    }
    if (r.wirelessActive == 0) {
        return settings;
    }
    settings.push_back({"essid", r.essidState});
    if (r.imType != kImTypeExtendedWireless) {
        settings.push_back({"wepKey", r.wepKeyState});
    }
    settings.push_back({"adhoc", r.adhocState});
    return settings;
}

bool AddressConfigGoesOut(const ProjectorRecord& record) {
    return IsCarriedGroupDue(record, AddressConfigSettings(record)) ||
           IsDue(record.writeAll, record.projectorNameState);
}

bool SecurityCodeGoesOut(const ProjectorRecord& r) {
    return r.imType == kImTypeExtendedWireless && r.wirelessActive != 0 && r.adhoc == 0 &&
           (IsDue(r.writeAll, r.securityState) || r.adhocState == kStateChanged);
}

std::string_view UnreadSettingInWrite(const ProjectorRecord& r) {
    struct Outgoing {
        std::vector<CarriedSetting> settings;
        bool goesOut;
    };
    // In the order the write sends them.
    std::vector<Outgoing> commands;
    if (r.dhcp == 0) {
        for (std::vector<CarriedSetting> pair :
             {std::vector<CarriedSetting>{{"dns1", r.dns1State}, {"dns2", r.dns2State}},
              std::vector<CarriedSetting>{{"wins1", r.wins1State}, {"wins2", r.wins2State}}}) {
            const bool due = IsCarriedGroupDue(r, pair);
            commands.push_back({std::move(pair), due});
        }
    }
    commands.push_back({AddressConfigSettings(r), AddressConfigGoesOut(r)});
    commands.push_back({{{"security", r.securityState}}, SecurityCodeGoesOut(r)});
    for (const Outgoing& command : commands) {
        const std::string_view unread = FirstUnreadCarried(command.settings);
        if (command.goesOut && !unread.empty()) {
            return unread;
        }
    }
    return {};
}

}  // namespace lanterna
