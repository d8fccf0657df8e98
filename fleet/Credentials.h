#pragma once
// Projector passwords kept for later: by the projector's address and, once it has been read, its
// hardware address. The window keeps those that worked for the rest of its session in memory;
// the desktop keyring (a store of its own beside the core) keeps them between sessions, for the
// window and lanternactl alike.
//
// Keyring entries: service kCredentialService, attributes kAddressAttribute (dotted),
// kHardwareAddressAttribute (12 hex digits, upper case; the keyring keeps no module password
// without one) and, once another projector answered at the address and was sent the password,
// kMismatchAttribute ("1"); the password as the secret. A projector's PJLink password is an entry
// of its own beside it, with the attribute kPjlinkAttribute ("1") as well: the two secrets never
// stand in for each other.
//
// A projector tells its hardware address only after it took a password, so a kept password is
// checked against the entry's hardware address right after it was sent: at another, the road
// stops there and the entry is marked. A marked entry is skipped (and named so) until the user
// confirms it or keeps a new password for the address.
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
inline constexpr std::string_view kPjlinkAttribute = "pjlink";
inline constexpr std::string_view kMismatchAttribute = "mismatch";

struct Credential {
    std::string address;          // dotted
    std::string hardwareAddress;  // as kept (KeptHardwareAddress); empty: not known
    std::string password;
    bool mismatch = false;  // another projector answered at the address and was sent it

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
    // A marked one is found with `mismatch` set: the caller skips it and says so.
    virtual std::optional<Credential> Find(const std::string& address,
                                           const std::string& hardwareAddress) = 0;
    // Keeps `credential`, replacing what was kept for its address. False when it could not.
    virtual bool Keep(const Credential& credential) = 0;
    // Forgets what is kept for `address`. False when it could not.
    virtual bool Forget(const std::string& address) = 0;
    // The PJLink password kept for `address`; none when none is kept or the store keeps none.
    virtual std::optional<std::string> FindPjlink(const std::string& address) {
        (void)address;
        return std::nullopt;
    }
};

// Marks the entry kept for `address` (another projector answered there and was sent its
// password); false when none is kept or the store did not take the mark.
bool MarkMismatch(ICredentialStore& store, const std::string& address);

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
