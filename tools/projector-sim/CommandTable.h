#pragma once
// The table of commands the simulated projector knows, each with its query and set handler.
// Internal to the command language (CommandSet.cpp).

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/projector-sim/ProjectorSettings.h"

namespace lanterna::sim {

enum class Availability {
    kAllModules,
    kExtendedOnly,  // interface-module type 22 only
    kBasicOnly,     // every type but 22
};

struct CommandDefinition {
    std::string name;
    Availability availability = Availability::kAllModules;
    // Null when the command has no query form.
    std::function<std::string(const ProjectorSettings&)> query;
    // Null when it has no set form. Returns false, leaving the settings as they were, for an
    // argument the module refuses.
    std::function<bool(ProjectorSettings&, std::string_view)> set;
    // Sent by the client without reading a reply (IMSTAT, NWRESET).
    bool sendOnly = false;
};

// Null when `name` is not a command of the language.
const CommandDefinition* FindCommand(std::string_view name);

bool IsAvailableOn(const CommandDefinition& definition, std::uint8_t imType);

// The parts of the table, by subject.
void AddNetworkCommands(std::vector<CommandDefinition>& table);
void AddServiceCommands(std::vector<CommandDefinition>& table);

// Text joined from the non-empty `parts` with single blanks.
std::string JoinParts(std::initializer_list<std::string_view> parts);

}  // namespace lanterna::sim
