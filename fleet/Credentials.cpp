#include "fleet/Credentials.h"

#include <algorithm>
#include <cctype>

namespace lanterna::fleet {

std::string KeptHardwareAddress(std::string_view mac) {
    std::string digits;
    for (const char c : mac) {
        if (c == ':' || c == '-') {
            continue;
        }
        if (std::isxdigit(static_cast<unsigned char>(c)) == 0) {
            return {};
        }
        digits += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return digits.size() == 12 ? digits : std::string();
}

bool SameProjector(std::string_view kept, std::string_view known) {
    const std::string a = KeptHardwareAddress(kept);
    const std::string b = KeptHardwareAddress(known);
    return a.empty() || b.empty() || a == b;
}

bool MarkMismatch(ICredentialStore& store, const std::string& address) {
    std::optional<Credential> kept = store.Find(address, {});
    if (!kept) {
        return false;
    }
    kept->mismatch = true;
    return store.Keep(*kept);
}

std::optional<Credential> CMemoryCredentialStore::Find(const std::string& address,
                                                       const std::string& hardwareAddress) {
    const std::lock_guard lock(mutex_);
    for (const Credential& credential : kept_) {
        if (credential.address == address) {
            if (!SameProjector(credential.hardwareAddress, hardwareAddress)) {
                return std::nullopt;
            }
            return credential;
        }
    }
    return std::nullopt;
}

bool CMemoryCredentialStore::Keep(const Credential& credential) {
    Credential kept = credential;
    kept.hardwareAddress = KeptHardwareAddress(credential.hardwareAddress);
    const std::lock_guard lock(mutex_);
    const auto found = std::find_if(kept_.begin(), kept_.end(), [&](const Credential& entry) {
        return entry.address == credential.address;
    });
    if (found != kept_.end()) {
        *found = std::move(kept);
    } else {
        kept_.push_back(std::move(kept));
    }
    return true;
}

bool CMemoryCredentialStore::Forget(const std::string& address) {
    const std::lock_guard lock(mutex_);
    std::erase_if(kept_, [&](const Credential& entry) { return entry.address == address; });
    return true;
}

std::size_t CMemoryCredentialStore::Size() const {
    const std::lock_guard lock(mutex_);
    return kept_.size();
}

}  // namespace lanterna::fleet
