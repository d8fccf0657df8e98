// Commands of the projector's services: name, mail notification, SNMP, primary interface,
// wireless security of type 22 modules, and the commands that only act (test mail, reset,
// status).

#include <array>
#include <cstdio>

#include "settings/AddressRules.h"
#include "tools/projector-sim/CommandTable.h"
#include "tools/projector-sim/ValueRules.h"

namespace lanterna::sim {

namespace {

using TextRule = bool (*)(std::string_view);

// A text setting reached through `field` (a generic accessor usable on const and non-const
// settings); an empty argument clears it when the rule allows.
template <typename Field>
CommandDefinition TextCommand(std::string name, Field field, TextRule rule,
                              Availability availability = Availability::kAllModules) {
    CommandDefinition definition;
    definition.name = std::move(name);
    definition.availability = availability;
    definition.query = [field](const ProjectorSettings& settings) {
        return std::string(field(settings));
    };
    definition.set = [field, rule](ProjectorSettings& settings, std::string_view argument) {
        if (!rule(argument)) {
            return false;
        }
        field(settings) = std::string(argument);
        return true;
    };
    return definition;
}

CommandDefinition AddressCommand(std::string name, Octets ProjectorSettings::*member) {
    CommandDefinition definition;
    definition.name = std::move(name);
    definition.query = [member](const ProjectorSettings& settings) {
        return FormatDotted(settings.*member);
    };
    definition.set = [member](ProjectorSettings& settings, std::string_view argument) {
        const auto address = ParseDottedStrict(argument);
        if (!address) {
            return false;
        }
        settings.*member = *address;
        return true;
    };
    return definition;
}

CommandDefinition MailEventCommand(std::size_t index) {
    CommandDefinition definition;
    definition.name = "NWSMTPEVT" + std::to_string(index + 1);
    definition.query = [index](const ProjectorSettings& settings) {
        std::array<char, 16> text{};
        std::snprintf(text.data(), text.size(), "%04x %04x", settings.mailEvents[index][0],
                      settings.mailEvents[index][1]);
        return std::string(text.data());
    };
    definition.set = [index](ProjectorSettings& settings, std::string_view argument) {
        const auto parts = SplitParts(argument);
        if (parts.size() != 2) {
            return false;
        }
        const auto first = ParseHexWord(parts[0]);
        const auto second = ParseHexWord(parts[1]);
        if (!first || !second) {
            return false;
        }
        settings.mailEvents[index] = {*first, *second};
        return true;
    };
    return definition;
}

CommandDefinition WepKeyCommand(std::size_t index) {
    CommandDefinition definition;
    definition.name = "NWWEP" + std::to_string(index + 1);
    definition.availability = Availability::kExtendedOnly;
    definition.query = [index](const ProjectorSettings& settings) {
        return settings.wepKeys[index];
    };
    // "INIT" clears the key; anything else must be a key in its hexadecimal form.
    definition.set = [index](ProjectorSettings& settings, std::string_view argument) {
        if (argument == "INIT") {
            settings.wepKeys[index].clear();
            return true;
        }
        if (!IsWireWepKey(argument)) {
            return false;
        }
        settings.wepKeys[index] = std::string(argument);
        return true;
    };
    return definition;
}

// A command that only acts; `rule` checks its argument.
CommandDefinition ActionCommand(std::string name, TextRule rule, bool sendOnly) {
    CommandDefinition definition;
    definition.name = std::move(name);
    definition.set = [rule](ProjectorSettings&, std::string_view argument) {
        return rule(argument);
    };
    definition.sendOnly = sendOnly;
    return definition;
}

bool IsNoArgument(std::string_view argument) {
    return argument.empty();
}
bool IsStatusArgument(std::string_view argument) {
    return ParseDecimal(argument, 65535).has_value();
}

void AddMailCommands(std::vector<CommandDefinition>& table) {
    CommandDefinition active;
    active.name = "NWSMTPACT";
    active.query = [](const ProjectorSettings& s) {
        return std::string(s.mailNotify ? "ON" : "OFF");
    };
    active.set = [](ProjectorSettings& s, std::string_view argument) {
        const auto on = ParseOnOff(argument);
        if (!on) {
            return false;
        }
        s.mailNotify = *on;
        return true;
    };
    table.push_back(std::move(active));
    table.push_back(AddressCommand("NWSMTPSRV", &ProjectorSettings::smtpServer));

    CommandDefinition port;
    port.name = "NWSMTPPORT";
    port.query = [](const ProjectorSettings& s) { return std::to_string(s.smtpPort); };
    port.set = [](ProjectorSettings& s, std::string_view argument) {
        const auto value = ParseDecimal(argument, 65535);
        if (!value || *value == 0) {
            return false;
        }
        s.smtpPort = static_cast<std::uint16_t>(*value);
        return true;
    };
    table.push_back(std::move(port));

    for (std::size_t i = 0; i < 3; ++i) {
        table.push_back(TextCommand(
            "NWSMTPTO" + std::to_string(i + 1), [i](auto& s) -> auto& { return s.mailTo[i]; },
            IsMailText));
    }
    for (std::size_t i = 0; i < 3; ++i) {
        table.push_back(MailEventCommand(i));
    }
    // A module sends a test mail only when it has somewhere to send it: notification on, a
    // server and a first recipient.
    CommandDefinition testMail;
    testMail.name = "NWSMTPTEST";
    testMail.set = [](ProjectorSettings& s, std::string_view argument) {
        return argument.empty() && s.mailNotify && IsAddressSet(s.smtpServer) == 1 &&
               !s.mailTo[0].empty();
    };
    table.push_back(std::move(testMail));
}

void AddSecurityCommands(std::vector<CommandDefinition>& table) {
    table.push_back(TextCommand(
        "NWWLSEC", [](auto& s) -> auto& { return s.security; }, IsSecurityCode,
        Availability::kExtendedOnly));

    CommandDefinition keyId;
    keyId.name = "NWWEPID";
    keyId.availability = Availability::kExtendedOnly;
    keyId.query = [](const ProjectorSettings& s) { return std::to_string(s.wepKeyId); };
    keyId.set = [](ProjectorSettings& s, std::string_view argument) {
        const auto value = ParseDecimal(argument, 4);
        if (!value || *value == 0) {
            return false;
        }
        s.wepKeyId = static_cast<int>(*value);
        return true;
    };
    table.push_back(std::move(keyId));
    for (std::size_t i = 0; i < 4; ++i) {
        table.push_back(WepKeyCommand(i));
    }
}

}  // namespace

void AddServiceCommands(std::vector<CommandDefinition>& table) {
    table.push_back(TextCommand(
        "NWPNAME", [](auto& s) -> auto& { return s.name; }, IsNameText));
    AddMailCommands(table);
    table.push_back(AddressCommand("NWTRAPIP1", &ProjectorSettings::trapAddress1));
    table.push_back(AddressCommand("NWTRAPIP2", &ProjectorSettings::trapAddress2));
    table.push_back(TextCommand(
        "NWCNAME", [](auto& s) -> auto& { return s.community; }, IsCommunityText));

    CommandDefinition primary;
    primary.name = "NWPRIMIF";
    primary.query = [](const ProjectorSettings& s) { return std::to_string(s.primaryInterface); };
    primary.set = [](ProjectorSettings& s, std::string_view argument) {
        const auto value = ParseDecimal(argument, 65535);
        if (!value) {
            return false;
        }
        s.primaryInterface = static_cast<std::uint16_t>(*value);
        return true;
    };
    table.push_back(std::move(primary));

    AddSecurityCommands(table);
    table.push_back(ActionCommand("NWRESET", IsNoArgument, true));
    table.push_back(ActionCommand("IMSTAT", IsStatusArgument, true));
}

}  // namespace lanterna::sim
