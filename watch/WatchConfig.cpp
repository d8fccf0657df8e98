#include "watch/WatchConfig.h"

#include <algorithm>
#include <charconv>
#include <functional>

#include "fleet/Targets.h"
#include "platform/AsciiCase.h"

namespace lanterna::watch {

namespace {

// Set a key's value into the configuration; a problem's text when the value is not taken.
using KeySetter = std::function<std::optional<std::string>(std::string_view, WatchConfig&)>;

struct KeyRule {
    std::string_view section;
    std::string_view key;
    KeySetter set;
};

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string> Words(std::string_view text, std::string_view separators) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find_first_of(separators, at), text.size());
        if (const std::string_view word = Trimmed(text.substr(at, end - at)); !word.empty()) {
            words.emplace_back(word);
        }
        at = end + 1;
    }
    return words;
}

std::optional<std::uint32_t> Number(std::string_view text, std::uint32_t low, std::uint32_t high) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

KeySetter Seconds(std::uint32_t WatchConfig::*field, std::uint32_t low, std::uint32_t high) {
    return [=](std::string_view value, WatchConfig& config) -> std::optional<std::string> {
        const auto number = Number(value, low, high);
        if (!number) {
            return "not a number of seconds from " + std::to_string(low) + " to " +
                   std::to_string(high);
        }
        config.*field = *number;
        return std::nullopt;
    };
}

KeySetter Text(std::string WatchConfig::*field) {
    return [=](std::string_view value, WatchConfig& config) -> std::optional<std::string> {
        config.*field = std::string(value);
        return std::nullopt;
    };
}

KeySetter MailText(std::string MailConfig::*field) {
    return [=](std::string_view value, WatchConfig& config) -> std::optional<std::string> {
        config.mail.*field = std::string(value);
        return std::nullopt;
    };
}

std::optional<bool> YesNo(std::string_view value) {
    if (EqualIgnoringCase(value, "yes") || EqualIgnoringCase(value, "true") || value == "1") {
        return true;
    }
    if (EqualIgnoringCase(value, "no") || EqualIgnoringCase(value, "false") || value == "0") {
        return false;
    }
    return std::nullopt;
}

// A mail address as a relay takes it on its own line: one '@', nothing that ends a header.
bool IsPlainMailAddress(std::string_view address) {
    const auto at = address.find('@');
    return at != std::string_view::npos && at > 0 && at + 1 < address.size() &&
           address.find('@', at + 1) == std::string_view::npos &&
           address.find_first_of(" \t\r\n<>,;\"") == std::string_view::npos;
}

std::optional<std::string> SetAddresses(std::string_view value, WatchConfig& config) {
    for (std::string& word : Words(value, " \t,")) {
        if (!fleet::IsTargetWord(word)) {
            return "'" + word + "' is neither an address nor a range such as 10.1.2.10-40";
        }
        config.targetWords.push_back(std::move(word));
    }
    return std::nullopt;
}

std::optional<std::string> SetAll(std::string_view value, WatchConfig& config) {
    const auto all = YesNo(value);
    if (!all) {
        return "neither yes nor no";
    }
    config.all = *all;
    return std::nullopt;
}

std::optional<std::string> SetMetricsAddress(std::string_view value, WatchConfig& config) {
    if (value.empty()) {
        config.metrics = false;
        return std::nullopt;
    }
    const auto colon = value.rfind(':');
    const auto host = colon == std::string_view::npos ? std::optional<std::string>()
                                                      : fleet::CanonicalAddress(value.substr(0, colon));
    const auto port = colon == std::string_view::npos
                          ? std::optional<std::uint32_t>()
                          : Number(value.substr(colon + 1), 0, 65535);
    if (!host || !port) {
        return "not an address and port such as 127.0.0.1:9732";
    }
    config.metrics = true;
    config.metricsHost = *host;
    config.metricsPort = static_cast<std::uint16_t>(*port);
    return std::nullopt;
}

std::optional<std::string> SetRelay(std::string_view value, WatchConfig& config) {
    if (!value.starts_with("smtp://") && !value.starts_with("smtps://")) {
        return "not a relay such as smtp://relay.example.org:25";
    }
    if (value.find_first_of(" \t\r\n") != std::string_view::npos) {
        return "a relay holds no blanks";
    }
    // A password in the relay's address would reach the log with it.
    if (value.find('@') != std::string_view::npos) {
        return "no user in the relay: [mail] user and password-credential take them";
    }
    config.mail.relay = std::string(value);
    return std::nullopt;
}

std::optional<std::string> SetSecurity(std::string_view value, WatchConfig& config) {
    if (value == "none") {
        config.mail.security = MailSecurity::kNone;
    } else if (value == "starttls") {
        config.mail.security = MailSecurity::kStartTls;
    } else if (value == "tls") {
        config.mail.security = MailSecurity::kTls;
    } else {
        return "none of none, starttls and tls";
    }
    return std::nullopt;
}

std::optional<std::string> SetFrom(std::string_view value, WatchConfig& config) {
    if (!IsPlainMailAddress(value)) {
        return "'" + std::string(value) + "' is no mail address";
    }
    config.mail.from = std::string(value);
    return std::nullopt;
}

std::optional<std::string> SetTo(std::string_view value, WatchConfig& config) {
    for (std::string& address : Words(value, ",")) {
        if (!IsPlainMailAddress(address)) {
            return "'" + address + "' is no mail address";
        }
        config.mail.to.push_back(std::move(address));
    }
    return std::nullopt;
}

std::optional<std::string> SetGrace(std::string_view value, WatchConfig& config) {
    const auto number = Number(value, 0, 86400);
    if (!number) {
        return "not a number of seconds from 0 to 86400";
    }
    config.mail.graceSeconds = *number;
    return std::nullopt;
}

std::optional<std::string> SetLanguage(std::string_view value, WatchConfig& config) {
    if (value != "ko" && value != "en") {
        return "neither ko nor en";
    }
    config.mail.language = std::string(value);
    return std::nullopt;
}

std::optional<std::string> SetLampHours(std::string_view value, WatchConfig& config) {
    const auto number = Number(value, 0, 1000000);
    if (!number) {
        return "not a number of hours from 0 to 1000000";
    }
    config.lampHours = *number;
    return std::nullopt;
}

std::optional<std::string> SetJobs(std::string_view value, WatchConfig& config) {
    const auto number = Number(value, 1, 128);
    if (!number) {
        return "not a number from 1 to 128";
    }
    config.jobs = static_cast<int>(*number);
    return std::nullopt;
}

std::optional<std::string> SetMaxFailures(std::string_view value, WatchConfig& config) {
    const auto number = Number(value, 0, 4096);
    if (!number) {
        return "not a number from 0 to 4096";
    }
    config.maxFailures = *number;
    return std::nullopt;
}

const std::vector<KeyRule>& Rules() {
    static const std::vector<KeyRule> rules = {
        {"targets", "addresses", SetAddresses},
        {"targets", "file", Text(&WatchConfig::targetsFile)},
        {"targets", "all", SetAll},
        {"passwords", "book", Text(&WatchConfig::passwordBook)},
        {"passwords", "file", Text(&WatchConfig::passwordFile)},
        {"passwords", "credential", Text(&WatchConfig::passwordCredential)},
        {"pjlink", "book", Text(&WatchConfig::pjlinkBook)},
        {"pjlink", "file", Text(&WatchConfig::pjlinkFile)},
        {"pjlink", "credential", Text(&WatchConfig::pjlinkCredential)},
        {"intervals", "presence", Seconds(&WatchConfig::presenceSeconds, 1, 86400)},
        {"intervals", "health", Seconds(&WatchConfig::healthSeconds, 1, 86400)},
        {"intervals", "backup", Seconds(&WatchConfig::backupSeconds, 1, 30 * 86400)},
        {"backup", "repository", Text(&WatchConfig::repository)},
        {"backup", "template", Text(&WatchConfig::templateFile)},
        {"metrics", "address", SetMetricsAddress},
        {"mail", "relay", SetRelay},
        {"mail", "security", SetSecurity},
        {"mail", "user", MailText(&MailConfig::user)},
        {"mail", "password-credential", MailText(&MailConfig::passwordCredential)},
        {"mail", "password-file", MailText(&MailConfig::passwordFile)},
        {"mail", "from", SetFrom},
        {"mail", "to", SetTo},
        {"mail", "grace", SetGrace},
        {"mail", "language", SetLanguage},
        {"thresholds", "lamp-hours", SetLampHours},
        {"thresholds", "jobs", SetJobs},
        {"thresholds", "max-failures", SetMaxFailures},
    };
    return rules;
}

bool KnownSection(std::string_view section) {
    const auto& rules = Rules();
    return std::any_of(rules.begin(), rules.end(),
                       [&](const KeyRule& rule) { return rule.section == section; });
}

const KeyRule* RuleOf(std::string_view section, std::string_view key) {
    for (const KeyRule& rule : Rules()) {
        if (rule.section == section && rule.key == key) {
            return &rule;
        }
    }
    return nullptr;
}

// What the file as a whole lacks once every line was taken; empty when nothing.
std::string WholeFileProblem(const WatchConfig& config) {
    if (config.targetWords.empty() && config.targetsFile.empty() && !config.all) {
        return "no target: [targets] needs addresses, file or all = yes";
    }
    const int passwordSources = (config.passwordBook.empty() ? 0 : 1) +
                                (config.passwordFile.empty() ? 0 : 1) +
                                (config.passwordCredential.empty() ? 0 : 1);
    if (passwordSources > 1) {
        return "[passwords] takes one of book, file and credential";
    }
    const int pjlinkSources = (config.pjlinkBook.empty() ? 0 : 1) +
                              (config.pjlinkFile.empty() ? 0 : 1) +
                              (config.pjlinkCredential.empty() ? 0 : 1);
    if (pjlinkSources > 1) {
        return "[pjlink] takes one of book, file and credential";
    }
    if (!config.mail.relay.empty() && (config.mail.from.empty() || config.mail.to.empty())) {
        return "[mail] relay needs from and to";
    }
    return {};
}

}  // namespace

std::string ConfigProblem::Describe() const {
    if (line == 0) {
        return text;
    }
    return std::to_string(line) + ": " + (key.empty() ? "" : key + ": ") + text;
}

std::optional<WatchConfig> ParseWatchConfig(std::string_view text, ConfigProblem& problem) {
    WatchConfig config;
    std::string section;
    std::vector<std::string> seen;
    std::size_t number = 0;
    for (std::size_t at = 0; at <= text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        const std::string_view line = Trimmed(text.substr(at, end - at));
        at = end + 1;
        ++number;
        if (line.empty() || line.front() == ';' || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            section = line.back() == ']' ? std::string(Trimmed(line.substr(1, line.size() - 2))) : "";
            if (!KnownSection(section)) {
                problem = {number, "", "'" + std::string(line) + "' is no section of a watch"};
                return std::nullopt;
            }
            continue;
        }
        const auto equals = line.find('=');
        const std::string key(Trimmed(line.substr(0, std::min(equals, line.size()))));
        const std::string where = "[" + section + "] " + key;
        const KeyRule* rule = equals == std::string_view::npos ? nullptr : RuleOf(section, key);
        if (equals == std::string_view::npos) {
            problem = {number, "", "'" + std::string(line) + "' is no KEY = VALUE line"};
            return std::nullopt;
        }
        if (rule == nullptr) {
            problem = {number, where, "no such key"};
            return std::nullopt;
        }
        if (std::find(seen.begin(), seen.end(), where) != seen.end()) {
            problem = {number, where, "given twice"};
            return std::nullopt;
        }
        seen.push_back(where);
        if (auto wrong = rule->set(Trimmed(line.substr(equals + 1)), config)) {
            problem = {number, where, std::move(*wrong)};
            return std::nullopt;
        }
    }
    if (std::string whole = WholeFileProblem(config); !whole.empty()) {
        problem = {0, "", std::move(whole)};
        return std::nullopt;
    }
    return config;
}

}  // namespace lanterna::watch
