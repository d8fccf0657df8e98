#pragma once
// Environment variables as the programs read them: through a lookup that tests can replace
// with a table of their own.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace lanterna {

// An environment: the value of a variable, or nothing when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(std::string_view name)>;

// The process environment.
std::optional<std::string> ProcessEnvironment(std::string_view name);

}  // namespace lanterna
