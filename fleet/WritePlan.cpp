#include "fleet/WritePlan.h"

#include <algorithm>
#include <map>
#include <memory>

#include "link/ProjectorLink.h"
#include "resources/StringIds.h"
#include "state/ApplicationState.h"
#include "workers/Workers.h"

namespace lanterna::fleet {

namespace {

// Answers the write worker's one question without asking anybody.
class CFixedAnswers final : public IMessageService {
  public:
    explicit CFixedAnswers(bool yes) : yes_(yes) {}
    int ShowMessage(IMessageTarget*, int, int flags) override {
        if (flags != kMessageYesNoQuestion) {
            return kAnswerOk;
        }
        return yes_ ? kAnswerYes : kAnswerNo;
    }

  private:
    bool yes_;
};

struct CommandFields {
    std::string_view command;
    std::string_view fields;  // ", "-joined
};

// Which record fields each set command carries.
constexpr CommandFields kCommandFields[] = {
    {"NWPNAME", "projectorName"},
    {"NWCNF", "dhcp, ipAddress, subnetMask, gateway"},
    {"NWWLCNF", "dhcp, ipAddress, subnetMask, gateway, essid, adhoc, wepEnabled, wepKey"},
    {"NWWLCNFS", "dhcp, ipAddress, subnetMask, gateway, essid, adhoc"},
    {"NWDNS", "dns1, dns2"},
    {"NWWLDNS", "dns1, dns2"},
    {"NWDNSDMN", "dnsDomain"},
    {"NWWLDNSDMN", "dnsDomain"},
    {"NWWINS", "wins1, wins2"},
    {"NWWLWINS", "wins1, wins2"},
    {"NWPRIMIF", "primaryInterface"},
    {"NWSMTPACT", "mailNotify"},
    {"NWSMTPSRV", "smtpServer"},
    {"NWSMTPPORT", "smtpPort"},
    {"NWSMTPTO1", "mailTo1"},
    {"NWSMTPTO2", "mailTo2"},
    {"NWSMTPTO3", "mailTo3"},
    {"NWSMTPEVT1", "mailEvents1"},
    {"NWSMTPEVT2", "mailEvents2"},
    {"NWSMTPEVT3", "mailEvents3"},
    {"NWTRAPIP1", "trapAddress1"},
    {"NWTRAPIP2", "trapAddress2"},
    {"NWCNAME", "community"},
    {"NWWLSEC", "security"},
    {"NWWEPID", "wepKeyId"},
    {"NWWEP1", "wepKey1"},
    {"NWWEP2", "wepKey2"},
    {"NWWEP3", "wepKey3"},
    {"NWWEP4", "wepKey4"},
};

// Whether the ", "-joined list `fields` names `field`.
bool ListNames(std::string_view fields, std::string_view field) {
    while (!fields.empty()) {
        const std::size_t comma = fields.find(", ");
        if (fields.substr(0, comma) == field) {
            return true;
        }
        fields = comma == std::string_view::npos ? std::string_view() : fields.substr(comma + 2);
    }
    return false;
}

// The write worker's command groups: bit n of writeErrors is group n, named by string
// kStringGroupAddress + n.
constexpr int kCommandGroupCount = kStringGroupNameAndInterface - kStringGroupAddress + 1;

// Lines whose reply is never read, and the test mail, which is no setting.
bool IsVerifiable(std::string_view command) {
    return command != "NWSMTPTEST" && command != "IMSTAT" && command != "NWRESET";
}

}  // namespace

std::vector<std::string> PlanWrite(const ProjectorRecord& record, bool testMail) {
    std::vector<std::string> lines;
    ApplicationState state;
    state.projectors.Append(record);
    state.selectedIndex = 0;
    state.testMailAsked = testMail ? 1 : 0;
    LinkOptions options;
    options.dryRun = [&lines](std::string_view line) { lines.emplace_back(line); };
    state.link = std::make_unique<CProjectorLink>(options);
    CFixedAnswers answers(testMail);
    state.messageService = &answers;
    WriteWorker(state);
    state.link.reset();
    return lines;
}

std::string_view CommandOf(std::string_view line) {
    return line.substr(0, line.find(' '));
}

bool PlanCarries(const std::vector<std::string>& lines, std::string_view name) {
    return std::any_of(lines.begin(), lines.end(),
                       [name](const std::string& line) { return CommandOf(line) == name; });
}

bool PlanSendsAddress(const std::vector<std::string>& lines) {
    return PlanCarries(lines, "NWCNF") || PlanCarries(lines, "NWWLCNF") ||
           PlanCarries(lines, "NWWLCNFS");
}

bool PlanCarriesField(const std::vector<std::string>& lines, std::string_view field) {
    return std::any_of(lines.begin(), lines.end(), [field](const std::string& line) {
        const std::string_view command = CommandOf(line);
        return std::any_of(std::begin(kCommandFields), std::end(kCommandFields),
                           [&](const CommandFields& entry) {
                               return entry.command == command && ListNames(entry.fields, field);
                           });
    });
}

std::string FieldsOfCommand(std::string_view command) {
    for (const CommandFields& entry : kCommandFields) {
        if (entry.command == command) {
            return std::string(entry.fields);
        }
    }
    return std::string(command);
}

NotSentReason WhyNotSent(std::string_view field, const ProjectorRecord& record) {
    const bool staticOnly = field == "dns1" || field == "dns2" || field == "dnsDomain" ||
                            field == "wins1" || field == "wins2" || field == "ipAddress" ||
                            field == "subnetMask" || field == "gateway";
    if (staticOnly && record.dhcp != 0) {
        return NotSentReason::kDhcp;
    }
    const bool mailDetail =
        field.starts_with("smtp") || field.starts_with("mailTo") || field.starts_with("mailEvents");
    if (mailDetail && record.mailNotify != 1) {
        return NotSentReason::kMailOff;
    }
    const bool security = field == "security" || field == "wepKeyId" || field.starts_with("wepKey");
    if (security && record.adhoc != 0) {
        return NotSentReason::kAdHoc;
    }
    if ((field == "wepKeyId" || (field.starts_with("wepKey") && field.size() == 7)) &&
        !UsesWepKeys(record)) {
        return NotSentReason::kNotWepSecurity;
    }
    return NotSentReason::kNotForThisModule;
}

void CopyStateWords(const ProjectorRecord& from, ProjectorRecord& to) {
    to.writeAll = from.writeAll;
    to.dhcpState = from.dhcpState;
    to.projectorNameState = from.projectorNameState;
    to.ipAddressState = from.ipAddressState;
    to.subnetMaskState = from.subnetMaskState;
    to.gatewayState = from.gatewayState;
    to.dns1State = from.dns1State;
    to.dns2State = from.dns2State;
    to.dnsDomainState = from.dnsDomainState;
    to.wins1State = from.wins1State;
    to.wins2State = from.wins2State;
    to.mailNotifyState = from.mailNotifyState;
    to.smtpServerState = from.smtpServerState;
    to.smtpPortState = from.smtpPortState;
    to.mailTo1State = from.mailTo1State;
    to.mailTo2State = from.mailTo2State;
    to.mailTo3State = from.mailTo3State;
    to.mailEvents1State = from.mailEvents1State;
    to.mailEvents2State = from.mailEvents2State;
    to.mailEvents3State = from.mailEvents3State;
    to.trapAddress1State = from.trapAddress1State;
    to.trapAddress2State = from.trapAddress2State;
    to.communityState = from.communityState;
    to.essidState = from.essidState;
    to.wepEnabledState = from.wepEnabledState;
    to.wepKeyState = from.wepKeyState;
    to.adhocState = from.adhocState;
    to.primaryInterfaceState = from.primaryInterfaceState;
    to.securityState = from.securityState;
    to.wepKeyIdState = from.wepKeyIdState;
    to.wepKey1State = from.wepKey1State;
    to.wepKey2State = from.wepKey2State;
    to.wepKey3State = from.wepKey3State;
    to.wepKey4State = from.wepKey4State;
}

std::vector<NotTaken> SettingsNotTaken(const std::vector<std::string>& sent,
                                       const ProjectorRecord& written,
                                       const ProjectorRecord& readBack) {
    ProjectorRecord now = readBack;
    CopyStateWords(written, now);
    std::map<std::string, std::string, std::less<>> reported;
    for (std::string& line : PlanWrite(now, false)) {
        reported.emplace(std::string(CommandOf(line)), std::move(line));
    }
    std::vector<NotTaken> differences;
    for (const std::string& line : sent) {
        const std::string_view command = CommandOf(line);
        if (!IsVerifiable(command)) {
            continue;
        }
        const auto found = reported.find(command);
        if (found != reported.end() && found->second == line) {
            continue;
        }
        NotTaken difference{std::string(command), line, std::nullopt};
        if (found != reported.end()) {
            difference.reported = found->second;
        }
        differences.push_back(std::move(difference));
    }
    return differences;
}

std::vector<int> RefusedGroupWordIds(std::uint32_t writeErrors) {
    std::vector<int> words;
    for (int bit = 0; bit < kCommandGroupCount; ++bit) {
        if ((writeErrors & (1U << bit)) != 0) {
            words.push_back(kStringGroupAddress + bit);
        }
    }
    return words;
}

}  // namespace lanterna::fleet
