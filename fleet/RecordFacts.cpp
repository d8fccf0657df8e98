#include "fleet/RecordFacts.h"

#include <cstdio>

#include "record/RecordSlots.h"

namespace lanterna::fleet {

bool UsesWep(const ProjectorRecord& record) {
    if (record.wirelessActive == 0) {
        return false;
    }
    if (record.imType == kImTypeExtendedWireless) {
        return record.adhoc == 0 && UsesWepKeys(record);
    }
    return record.wepEnabled != 0;
}

bool IsOpenWireless(const ProjectorRecord& record) {
    if (record.wirelessActive == 0) {
        return false;
    }
    if (record.imType == kImTypeExtendedWireless) {
        return record.adhoc == 0 && record.securityState != kStateUnknown &&
               HasSecurityCode(record, 0, 0, 0, 0);
    }
    return record.wepEnabledState != kStateUnknown && record.wepEnabled == 0;
}

std::string SecurityText(const ProjectorRecord& record) {
    if (record.wirelessActive == 0) {
        return "-";
    }
    std::string text;
    if (record.imType != kImTypeExtendedWireless) {
        text = record.wepEnabled != 0 ? "WEP" : "none";
    } else if (record.adhoc != 0) {
        text = "none";
    } else if (HasSecurityCode(record, 0, 0, 0, 0)) {
        text = "none";
    } else if (HasSecurityCode(record, 1, 1, 0, 0)) {
        text = "WEP 64-bit";
    } else if (HasSecurityCode(record, 1, 2, 0, 0)) {
        text = "WEP 128-bit";
    } else if (HasSecurityCode(record, 2, 0, 1, 0)) {
        text = "WPA-PSK";
    } else if (HasSecurityCode(record, 1, 2, 4, 1)) {
        text = "LEAP";
    } else {
        char code[32];
        std::snprintf(code, sizeof code, "code %d%d%02d%02d", record.security[0],
                      record.security[1], record.security[2], record.security[3]);
        text = code;
    }
    return record.adhoc != 0 ? text + ", ad hoc" : text;
}

std::string MacText(std::string_view mac) {
    std::string text;
    for (std::size_t i = 0; i < mac.size(); ++i) {
        text += (i > 0 && i % 2 == 0 ? ":" : "") + std::string(1, mac[i]);
    }
    return text;
}

std::string RecipientsText(const ProjectorRecord& record) {
    std::string text;
    for (int n = 1; n <= 3; ++n) {
        const std::string_view to = TextOf(numbered::MailTo(record, n));
        if (!to.empty()) {
            text += (text.empty() ? "" : " ") + std::string(to);
        }
    }
    return text;
}

}  // namespace lanterna::fleet
