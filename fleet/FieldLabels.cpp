#include "fleet/FieldLabels.h"

#include <array>

#include "resources/StringIds.h"

namespace lanterna::fleet {

namespace {

// The fields in the order of their labels in the string table.
constexpr std::array<std::string_view, kStringFieldLabelLast - kStringFieldLabelFirst + 1>
    kLabelledFields{"projectorName",
                    "dhcp",
                    "ipAddress",
                    "subnetMask",
                    "gateway",
                    "dns1",
                    "dns2",
                    "dnsDomain",
                    "wins1",
                    "wins2",
                    "primaryInterface",
                    "mailNotify",
                    "smtpServer",
                    "smtpPort",
                    "mailTo1",
                    "mailTo2",
                    "mailTo3",
                    "mailEvents1",
                    "mailEvents2",
                    "mailEvents3",
                    "trapAddress1",
                    "trapAddress2",
                    "community",
                    "essid",
                    "adhoc",
                    "wepEnabled",
                    "wepKey",
                    "security",
                    "wepKeyId",
                    "wepKey1",
                    "wepKey2",
                    "wepKey3",
                    "wepKey4"};

}  // namespace

int FieldLabelId(std::string_view field) {
    for (std::size_t i = 0; i < kLabelledFields.size(); ++i) {
        if (kLabelledFields[i] == field) {
            return kStringFieldLabelFirst + static_cast<int>(i);
        }
    }
    return 0;
}

}  // namespace lanterna::fleet
