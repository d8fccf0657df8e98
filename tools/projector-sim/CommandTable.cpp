#include "tools/projector-sim/CommandTable.h"

#include "record/ProjectorRecord.h"

namespace lanterna::sim {

namespace {

std::vector<CommandDefinition> BuildTable() {
    std::vector<CommandDefinition> table;
    AddNetworkCommands(table);
    AddServiceCommands(table);
    return table;
}

}  // namespace

const CommandDefinition* FindCommand(std::string_view name) {
    static const std::vector<CommandDefinition> table = BuildTable();
    for (const CommandDefinition& definition : table) {
        if (definition.name == name) {
            return &definition;
        }
    }
    return nullptr;
}

bool IsAvailableOn(const CommandDefinition& definition, std::uint8_t imType) {
    switch (definition.availability) {
        case Availability::kExtendedOnly:
            return imType == kImTypeExtendedWireless;
        case Availability::kBasicOnly:
            return imType != kImTypeExtendedWireless;
        case Availability::kAllModules:
            break;
    }
    return true;
}

std::string JoinParts(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (std::string_view part : parts) {
        if (part.empty()) {
            continue;
        }
        if (!text.empty()) {
            text += ' ';
        }
        text += part;
    }
    return text;
}

}  // namespace lanterna::sim
