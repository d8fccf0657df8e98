#include "dialogs/PjlinkPasswords.h"

namespace lanterna::dialogs {

std::optional<std::string> CPjlinkPasswords::Known(const std::string& address) const {
    const std::lock_guard lock(mutex_);
    const auto found = passwords_.find(address);
    return found != passwords_.end() ? std::optional<std::string>(found->second) : std::nullopt;
}

void CPjlinkPasswords::Keep(const std::string& address, const std::string& password) {
    const std::lock_guard lock(mutex_);
    passwords_[address] = password;
}

void CPjlinkPasswords::Forget(const std::string& address) {
    const std::lock_guard lock(mutex_);
    passwords_.erase(address);
}

}  // namespace lanterna::dialogs
