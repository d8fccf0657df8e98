#include "settings/ConfigFileText.h"

#include <array>
#include <cstdio>

#include "record/DottedAddress.h"
#include "settings/EventCode.h"
#include "settings/ValidationRules.h"

namespace lanterna {

namespace {

std::string TwoDigits(int value) {
    std::array<char, 16> digits{};
    std::snprintf(digits.data(), digits.size(), "%02d", value);
    return digits.data();
}

std::string SecurityCodeText(const std::array<std::int32_t, 4>& security) {
    std::array<char, 64> code{};
    std::snprintf(code.data(), code.size(), "%d%d%02d%02d", security[0], security[1], security[2],
                  security[3]);
    return code.data();
}

// Collects the lines and notes the first command whose argument would break its line.
class CommandLines {
  public:
    CommandLines() : text_("[NetConfig]\n") {}

    // "COMMAND argument".
    void Add(std::string_view command, std::string_view argument) {
        Check(command, argument);
        text_.append(command).append(" ").append(argument).append("\n");
    }

    // "COMMAND argument", or the command word alone when the argument is empty.
    void AddOptional(std::string_view command, std::string_view argument) {
        if (argument.empty()) {
            text_.append(command).append("\n");
        } else {
            Add(command, argument);
        }
    }

    ConfigFileText Finish() && {
        if (!brokenCommand_.empty()) {
            return {std::string(), brokenCommand_};
        }
        return {std::move(text_), {}};
    }

  private:
    void Check(std::string_view command, std::string_view argument) {
        if (brokenCommand_.empty() && argument.find_first_of("\r\n") != std::string_view::npos) {
            brokenCommand_ = command;
        }
    }

    std::string text_;
    std::string_view brokenCommand_;
};

void AddMail(const ProjectorRecord& r, CommandLines& lines) {
    const bool notify = r.mailNotify == 1;
    lines.Add("NWSMTPACT", notify ? "ON" : "OFF");
    if (!notify) {
        return;
    }
    lines.Add("NWSMTPSRV", FormatDotted(r.smtpServer));
    lines.Add("NWSMTPPORT", std::to_string(r.smtpPort));
    lines.AddOptional("NWSMTPTO1", TextOf(r.mailTo1));
    lines.AddOptional("NWSMTPTO2", TextOf(r.mailTo2));
    lines.AddOptional("NWSMTPTO3", TextOf(r.mailTo3));
    lines.Add("NWSMTPEVT1", EventCode(r.mailEvents1));
    lines.Add("NWSMTPEVT2", EventCode(r.mailEvents2));
    lines.Add("NWSMTPEVT3", EventCode(r.mailEvents3));
}

// "ON 0.0.0.0 0.0.0.0 0.0.0.0" with DHCP, else "OFF" and the address, mask and gateway.
std::string AddressArguments(const ProjectorRecord& r) {
    if (r.dhcp != 0) {
        std::string arguments = "ON";
        for (int i = 0; i < 3; ++i) {
            arguments.append(" ").append(kAllZeroAddress);
        }
        return arguments;
    }
    return "OFF " + FormatDotted(r.ipAddress) + " " + FormatDotted(r.subnetMask) + " " +
           FormatDotted(r.gateway);
}

void AddWirelessSecurity(const ProjectorRecord& r, CommandLines& lines) {
    lines.Add("NWWLSEC", SecurityCodeText(r.security));
    if (HasSecurityCode(r, 2, 0, 1, 0)) {
        lines.Add("NWSECPSK", TextOf(r.securityPsk));
    } else if (HasSecurityCode(r, 1, 2, 4, 1)) {
        lines.Add("NWSECUSER", TextOf(r.securityUser));
        lines.Add("NWSECPASSWD", TextOf(r.securityPassword));
    } else if (UsesWepKeys(r)) {
        lines.Add("NWWEPID", std::to_string(r.wepKeyId));
        lines.Add("NWWEP1", ConfigFileWepArgument(TextOf(r.wepKey1)));
        lines.Add("NWWEP2", ConfigFileWepArgument(TextOf(r.wepKey2)));
        lines.Add("NWWEP3", ConfigFileWepArgument(TextOf(r.wepKey3)));
        lines.Add("NWWEP4", ConfigFileWepArgument(TextOf(r.wepKey4)));
    }
}

void AddWireless(const ProjectorRecord& r, CommandLines& lines) {
    const bool essidGiven = r.essidSet != 0;
    const int mode = (essidGiven ? 2 : 0) + (r.adhoc != 0 ? 1 : 0);
    std::string arguments = AddressArguments(r) + " " + TwoDigits(mode);
    // The ESSID follows whenever the mode announces one, so that mode 02 or 03 never comes
    // without it.
    if (essidGiven) {
        arguments.append(" ").append(TextOf(r.essid));
    }
    lines.Add("NWWLCNFS", arguments);
    // An ad-hoc network carries no security settings.
    if (r.adhoc == 0) {
        AddWirelessSecurity(r, lines);
    }
}

}  // namespace

std::string ConfigFileWepArgument(std::string_view key) {
    if (key.empty()) {
        return "INIT";
    }
    std::string argument;
    if (WepKeyToHex(key, argument) != 1) {
        return {};  // the command word and one blank
    }
    return argument;
}

ConfigFileText BuildConfigFileText(const ProjectorRecord& record) {
    CommandLines lines;
    AddMail(record, lines);
    lines.Add("NWTRAPIP1", FormatDotted(record.trapAddress1));
    lines.Add("NWTRAPIP2", FormatDotted(record.trapAddress2));
    if (!IsEmptyText(record.community)) {
        lines.Add("NWCNAME", TextOf(record.community));
    }
    // The 32-bit field as a signed decimal, the way "%d" prints it.
    lines.Add("NWPRIMIF", std::to_string(static_cast<std::int32_t>(record.primaryInterface)));
    lines.Add("NWPNAME", TextOf(record.projectorName));
    if (record.wirelessActive != 0) {
        AddWireless(record, lines);
    } else {
        lines.Add("NWCNF", AddressArguments(record));
    }
    return std::move(lines).Finish();
}

}  // namespace lanterna
