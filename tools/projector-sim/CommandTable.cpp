#include "tools/projector-sim/CommandTable.h"

#include "record/ProjectorRecord.h"

namespace lanterna::sim {

namespace {

std::vector<CommandSpec> BuildTable() {
    std::vector<CommandSpec> table;
    AddNetworkCommands(table);
    AddServiceCommands(table);
    return table;
}

}  // namespace

const CommandSpec* FindCommand(std::string_view name) {
    static const std::vector<CommandSpec> table = BuildTable();
    for (const CommandSpec& spec : table) {
        if (spec.name == name) {
            return &spec;
        }
    }
    return nullptr;
}

bool IsAvailableOn(const CommandSpec& spec, std::uint8_t imType) {
    switch (spec.availability) {
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
