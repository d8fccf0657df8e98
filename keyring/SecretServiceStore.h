#pragma once
// Projector passwords in the desktop keyring through the Secret Service, as fleet/Credentials.h
// defines the entries: one item per projector address, replaced when kept again (Keep refuses a
// credential without a hardware address), and its PJLink password in an item of its own, which
// the module password's keeping and forgetting leave be.
//
// The keyring may be absent (no session bus, as under a plain terminal or a test run), locked
// behind a prompt nobody answers, or slow: opening the store and every call on it are bounded in
// time, and a store that cannot be reached is no store at all (OpenSecretServiceStore returns
// null) rather than a wait.
//
// A call that runs out of time leaves the keyring taken as absent for the rest of the store's
// life, so that a job on many projectors waits for an unanswered keyring once, not per projector.
//
// Threads: every call may come from any thread; calls are taken one at a time.

#include <chrono>
#include <memory>
#include <mutex>

#include "fleet/Credentials.h"
#include "platform/ProcessEnvironment.h"

namespace lanterna::keyring {

struct KeyringLimits {
    // Reaching the Secret Service when the store is opened. A session bus without one says so at
    // once; this bounds a service that does not answer.
    std::chrono::milliseconds reach{3000};
    // Each find, keep or forget: long enough for a person to answer the keyring's unlock prompt.
    std::chrono::milliseconds call{30000};
};

class CSecretServiceStore final : public fleet::ICredentialStore {
  public:
    struct Service;  // the connection, kept out of this header
    CSecretServiceStore(std::unique_ptr<Service> service, KeyringLimits limits);
    ~CSecretServiceStore() override;
    CSecretServiceStore(const CSecretServiceStore&) = delete;
    CSecretServiceStore& operator=(const CSecretServiceStore&) = delete;

    std::optional<fleet::Credential> Find(const std::string& address,
                                          const std::string& hardwareAddress) override;
    bool Keep(const fleet::Credential& credential) override;
    bool Forget(const std::string& address) override;
    // An entry carrying kPjlinkAttribute with any value; module entries are never taken.
    std::optional<std::string> FindPjlink(const std::string& address) override;
    // Keeps `password` as the PJLink password of `address`, replacing the one kept before.
    bool KeepPjlink(const std::string& address, const std::string& password);

  private:
    std::mutex mutex_;
    std::unique_ptr<Service> service_;
    KeyringLimits limits_;
    bool silent_ = false;  // a call ran out of time
};

// Whether `environment` names a session bus (DBUS_SESSION_BUS_ADDRESS, or a socket "bus" in
// XDG_RUNTIME_DIR). Checked without connecting, so that a program started outside a desktop
// session learns at once that there is no keyring (and no bus is launched for it).
bool SessionBusNamed(const EnvironmentLookup& environment);

// The keyring's store, or null when there is none: no session bus named, no Secret Service on
// the bus, or none answering within `limits.reach`.
std::unique_ptr<fleet::ICredentialStore> OpenSecretServiceStore(
    const EnvironmentLookup& environment = ProcessEnvironment, KeyringLimits limits = {});

}  // namespace lanterna::keyring
