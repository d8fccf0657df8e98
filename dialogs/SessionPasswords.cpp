#include "dialogs/SessionPasswords.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

#include "dialogs/FleetWording.h"
#include "ui/DialogCodes.h"

namespace lanterna::dialogs {

// ---- the session ------------------------------------------------------------------------

std::optional<std::string> CSessionPasswords::Known(const std::string& address,
                                                    const std::string& mac, bool keyringToo,
                                                    std::string* keptFor,
                                                    const KeptConfirmer& confirm) {
    std::optional<fleet::Credential> found = memory_.Find(address, mac);
    if (!found && keyringToo && keyring_ != nullptr) {
        found = keyring_->Find(address, mac);
        if (found && found->mismatch) {
            if (!confirm || !confirm(*found)) {
                return std::nullopt;
            }
            found->mismatch = false;
            keyring_->Keep(*found);
        }
    }
    if (!found) {
        return std::nullopt;
    }
    if (keptFor != nullptr) {
        *keptFor = found->hardwareAddress;
    }
    return found->password;
}

void CSessionPasswords::ReachedOther(const std::string& address, const std::string& keptFor) {
    memory_.Forget(address);
    if (keyring_ != nullptr) {
        const auto kept = keyring_->Find(address, {});
        if (kept && kept->hardwareAddress == fleet::KeptHardwareAddress(keptFor)) {
            fleet::MarkMismatch(*keyring_, address);
        }
    }
}

void CSessionPasswords::Worked(const std::string& address, const std::string& mac,
                               const std::string& password, bool keep) {
    const fleet::Credential credential{address, fleet::KeptHardwareAddress(mac), password};
    memory_.Keep(credential);
    if (keep && keyring_ != nullptr) {
        keyring_->Keep(credential);
    }
}

void CSessionPasswords::Refused(const std::string& address, const std::string& password) {
    const auto remembered = memory_.Find(address, {});
    if (remembered && remembered->password == password) {
        memory_.Forget(address);
    }
}

void CSessionPasswords::Changed(const std::string& address, const std::string& mac,
                                const std::string& fresh, bool keep) {
    const fleet::Credential credential{address, fleet::KeptHardwareAddress(mac), fresh};
    memory_.Keep(credential);
    if (keyring_ != nullptr && (keep || keyring_->Find(address, mac))) {
        keyring_->Keep(credential);
    }
}

// ---- one job's source -------------------------------------------------------------------

CSelectionPasswords::CSelectionPasswords(CSessionPasswords& session, std::size_t selected,
                                         PasswordPrompter prompter, QObject* context,
                                         std::map<std::string, std::string> knownMacs,
                                         KeptConfirmer confirm)
    : session_(session),
      selected_(selected),
      prompter_(std::move(prompter)),
      context_(context),
      knownMacs_(std::move(knownMacs)),
      confirm_(std::move(confirm)) {}

std::string CSelectionPasswords::MacOf(const std::string& address) const {
    const auto found = knownMacs_.find(address);
    return found != knownMacs_.end() ? found->second : std::string();
}

// Shows the prompt on the user-interface thread and waits for the answer.
int CSelectionPasswords::Ask(PasswordPrompt& prompt) {
    if (!prompter_ || context_.isNull()) {
        return ui::IDCANCEL;
    }
    int answer = ui::IDCANCEL;
    const auto show = [this, &prompt, &answer] { answer = prompter_(prompt); };
    if (QThread::currentThread() == context_->thread()) {
        show();
    } else {
        QMetaObject::invokeMethod(context_.data(), show, Qt::BlockingQueuedConnection);
    }
    return answer;
}

// Asks on the user-interface thread whether a marked keyring entry may be used again.
bool CSelectionPasswords::Confirm(const fleet::Credential& marked) {
    if (!confirm_ || context_.isNull()) {
        return false;
    }
    bool yes = false;
    const auto ask = [this, &marked, &yes] { yes = confirm_(marked); };
    if (QThread::currentThread() == context_->thread()) {
        ask();
    } else {
        QMetaObject::invokeMethod(context_.data(), ask, Qt::BlockingQueuedConnection);
    }
    return yes;
}

fleet::PasswordAnswer CSelectionPasswords::PasswordFor(const fleet::Target& target) {
    const std::lock_guard lock(mutex_);
    Tried& tried = tried_[target.address];
    if (!tried.known) {
        std::string keptFor;
        if (auto known = session_.Known(
                target.address, MacOf(target.address), true, &keptFor,
                [this](const fleet::Credential& marked) { return Confirm(marked); })) {
            fleet::PasswordAnswer answer = fleet::CheckedPassword(std::move(*known));
            answer.keptFor = std::move(keptFor);
            return answer;
        }
    }
    if (shared_ && !tried.shared) {
        return fleet::CheckedPassword(*shared_);
    }
    if (declined_ || tried.prompts >= kPasswordPrompts) {
        return {std::nullopt, fleet::PasswordProblem::kUnknown, 0};
    }
    PasswordPrompt prompt;
    prompt.projector = ProjectorWords(target.name, target.address);
    prompt.offerSameForAll = selected_ > 1 && !sharedOffered_ && !shared_;
    prompt.offerKeyring = session_.HasKeyring();
    ++tried.prompts;
    ++prompts_;
    const int answer = Ask(prompt);
    sharedOffered_ = sharedOffered_ || prompt.offerSameForAll;
    if (answer != ui::IDOK) {
        // Cancelling the prompt offered for all answers for all.
        declined_ = declined_ || prompt.offerSameForAll;
        return {std::nullopt, fleet::PasswordProblem::kUnknown, 0};
    }
    if (prompt.sameForAll) {
        shared_ = prompt.password;
    }
    if (prompt.keep) {
        keep_.insert(target.address);
    }
    return fleet::CheckedPassword(prompt.password);
}

bool CSelectionPasswords::Refused(const fleet::Target& target, const std::string& password) {
    session_.Refused(target.address, password);
    const std::lock_guard lock(mutex_);
    Tried& tried = tried_[target.address];
    tried.known = true;
    if (shared_ && *shared_ == password) {
        tried.shared = true;
    }
    return !declined_ && tried.prompts < kPasswordPrompts;
}

void CSelectionPasswords::Accepted(const fleet::Target& target, const std::string& password,
                                   const std::string& hardwareAddress) {
    bool keep = false;
    {
        const std::lock_guard lock(mutex_);
        keep = keep_.count(target.address) != 0;
        // What was refused before no longer counts: a later road starts from what worked.
        tried_.erase(target.address);
    }
    session_.Worked(target.address, hardwareAddress, password, keep);
}

void CSelectionPasswords::ReachedOther(const fleet::Target& target, const std::string& keptFor,
                                       const std::string&) {
    session_.ReachedOther(target.address, keptFor);
    const std::lock_guard lock(mutex_);
    keep_.erase(target.address);
}

int CSelectionPasswords::Prompts() const {
    const std::lock_guard lock(mutex_);
    return prompts_;
}

}  // namespace lanterna::dialogs
