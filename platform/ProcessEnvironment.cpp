#include "platform/ProcessEnvironment.h"

#include <cstdlib>

namespace lanterna {

std::optional<std::string> ProcessEnvironment(std::string_view name) {
    const char* value = std::getenv(std::string(name).c_str());
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::string(value);
}

}  // namespace lanterna
