#pragma once
// The projector passwords of the window's session. A password that worked is remembered for
// the rest of the session, by the projector's address and checked against its hardware address
// once that has been read (a projector now at the address with another hardware address is
// asked afresh); with "Remember in the keyring" it is kept in the desktop keyring too, where
// the next session and lanternactl --keyring find it. A password change updates both.
//
// CSelectionPasswords is the password source of one job on a selection: what the session
// remembers or the keyring keeps first; else it asks, one prompt at a time, naming the
// projector. The first prompt offers "the same password for all selected": answered so, every
// other projector of the job tries that password, and only those that refuse it are asked on
// their own. A refused password is asked again, three prompts at most per projector; cancelling
// the prompt that offered the same password for all asks nobody else in the job.
//
// Threads: CSessionPasswords may be used from any thread. A job's source is asked on the job's
// threads and shows its prompts on the user-interface thread (the thread of `context`), while
// the asking thread waits.

#include <QPointer>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>

#include "fleet/Credentials.h"
#include "fleet/PasswordSource.h"

class QObject;

namespace lanterna::dialogs {

inline constexpr int kPasswordPrompts = 3;

// What a password prompt shows and what the user answered.
struct PasswordPrompt {
    std::string projector;  // "NAME (ADDRESS)", or the address alone
    bool offerSameForAll = false;
    bool offerKeyring = false;
    std::string password;
    bool sameForAll = false;
    bool keep = false;  // remember in the keyring
};

// Shows a prompt on the user-interface thread; IDOK when the user gave a password.
using PasswordPrompter = std::function<int(PasswordPrompt& prompt)>;

// Asks the user, on the user-interface thread, whether a keyring entry marked because another
// projector answered at its address and was sent its password may be used again.
using KeptConfirmer = std::function<bool(const fleet::Credential& marked)>;

class CSessionPasswords {
  public:
    // `keyring` may be null (no keyring on this desktop); it must outlive the session.
    explicit CSessionPasswords(fleet::ICredentialStore* keyring = nullptr) : keyring_(keyring) {}

    bool HasKeyring() const { return keyring_ != nullptr; }
    // What the session remembers for the projector at `address` (`mac`: its hardware address
    // when known), else what the keyring keeps (unless `keyringToo` is false), with the hardware
    // address it is kept for in `keptFor`. A keyring entry marked as sent to another projector
    // is skipped unless `confirm` says Yes, which clears the mark.
    std::optional<std::string> Known(const std::string& address, const std::string& mac,
                                     bool keyringToo = true, std::string* keptFor = nullptr,
                                     const KeptConfirmer& confirm = {});
    // A password kept for the projector with `keptFor` went to another at `address`: the
    // session forgets it and the keyring's entry for that projector is marked.
    void ReachedOther(const std::string& address, const std::string& keptFor);
    // The password worked: remembered, and kept in the keyring with `keep`.
    void Worked(const std::string& address, const std::string& mac, const std::string& password,
                bool keep);
    // The projector refused `password`: the session forgets it (the keyring keeps what it has).
    void Refused(const std::string& address, const std::string& password);
    // The projector's password is now `fresh`: the session remembers it, and the keyring's entry
    // (when there is one, or with `keep`) holds it.
    void Changed(const std::string& address, const std::string& mac, const std::string& fresh,
                 bool keep);

    fleet::CMemoryCredentialStore& Memory() { return memory_; }

  private:
    fleet::CMemoryCredentialStore memory_;
    fleet::ICredentialStore* keyring_;
};

class CSelectionPasswords final : public fleet::IPasswordSource {
  public:
    // `selected`: how many projectors the job works on (one prompt offers the same password
    // for all of them when more than one); `knownMacs`: hardware addresses by address, where
    // the window knows them.
    CSelectionPasswords(CSessionPasswords& session, std::size_t selected,
                        PasswordPrompter prompter, QObject* context,
                        std::map<std::string, std::string> knownMacs = {},
                        KeptConfirmer confirm = {});

    fleet::PasswordAnswer PasswordFor(const fleet::Target& target) override;
    bool Refused(const fleet::Target& target, const std::string& password) override;
    void Accepted(const fleet::Target& target, const std::string& password,
                  const std::string& hardwareAddress) override;
    void ReachedOther(const fleet::Target& target, const std::string& keptFor,
                      const std::string& found) override;

    // How many prompts were shown.
    int Prompts() const;

  private:
    struct Tried {
        bool known = false;   // what the session or the keyring had was refused
        bool shared = false;  // the password for all was refused
        int prompts = 0;
    };
    int Ask(PasswordPrompt& prompt);
    bool Confirm(const fleet::Credential& marked);
    std::string MacOf(const std::string& address) const;

    CSessionPasswords& session_;
    std::size_t selected_;
    PasswordPrompter prompter_;
    QPointer<QObject> context_;
    std::map<std::string, std::string> knownMacs_;
    KeptConfirmer confirm_;

    mutable std::mutex mutex_;  // held while a prompt is shown: one at a time
    std::map<std::string, Tried> tried_;
    std::set<std::string> keep_;  // addresses whose password goes to the keyring once it works
    std::optional<std::string> shared_;
    bool sharedOffered_ = false;
    bool declined_ = false;
    int prompts_ = 0;
};

}  // namespace lanterna::dialogs
