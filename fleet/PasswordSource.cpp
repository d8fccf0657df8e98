#include "fleet/PasswordSource.h"

namespace lanterna::fleet {

PasswordAnswer CheckedPassword(std::string password) {
    if (password.size() > kMaxPasswordBytes) {
        return {std::nullopt, PasswordProblem::kTooLong, password.size()};
    }
    return {std::move(password), PasswordProblem::kNone, 0};
}

}  // namespace lanterna::fleet
