#pragma once
// Projector passwords kept for later: by the projector's address and, once it has been read, its
// hardware address. The window keeps those that worked for the rest of its session in memory;
// the desktop keyring (a store of its own beside the core) keeps them between sessions, for the
// window and lanternactl alike.
//
// Keyring entries: service kCredentialService, attributes kAddressAttribute (dotted) and
// kHardwareAddressAttribute (12 hex digits, upper case; empty when it was not known), the
// password as the secret.
//
// Threads: every store may be used from many threads at once.

#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lanterna::fleet {

inline constexpr std::string_view kCredentialService = "lanterna";
inline constexpr std::string_view kAddressAttribute = "address";
inline constexpr std::string_view kHardwareAddressAttribute = "hardware-address";

struct Credential {
    std::string address;          // dotted
    std::string hardwareAddress;  // as kept (KeptHardwareAddress); empty: not known
    std::string password;

    friend bool operator==(const Credential&, const Credential&) = default;
};

// `mac` as entries keep it: upper case, without separators; empty when it is not 12 hex digits.
std::string KeptHardwareAddress(std::string_view mac);

// Whether a credential kept for `kept` may be used for a projector whose hardware address is
// `known` (empty: not known yet): when both are known they must be equal.
bool SameProjector(std::string_view kept, std::string_view known);

class ICredentialStore {
  public:
    virtual ~ICredentialStore() = default;
    // The credential of the projector at `address` whose hardware address is `hardwareAddress`
    // (empty: not known); none when none is kept or the kept one belongs to another projector.
    virtual std::optional<Credential> Find(const std::string& address,
                                           const std::string& hardwareAddress) = 0;
    // Keeps `credential`, replacing what was kept for its address. False when it could not.
    virtual bool Keep(const Credential& credential) = 0;
    // Forgets what is kept for `address`. False when it could not.
    virtual bool Forget(const std::string& address) = 0;
};

// The session's memory: one credential per address.
class CMemoryCredentialStore final : public ICredentialStore {
  public:
    std::optional<Credential> Find(const std::string& address,
                                   const std::string& hardwareAddress) override;
    bool Keep(const Credential& credential) override;
    bool Forget(const std::string& address) override;
    std::size_t Size() const;

  private:
    mutable std::mutex mutex_;
    std::vector<Credential> kept_;
};

}  // namespace lanterna::fleet
