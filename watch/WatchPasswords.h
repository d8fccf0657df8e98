#pragma once
// The projector passwords of an unattended watcher: a book of "ADDRESS PASSWORD" lines, or one
// password for every projector, each read from a file that is its owner's alone (its own file,
// or a credential that the service manager hands over in $CREDENTIALS_DIRECTORY). Nobody is
// asked: a projector whose password is not known is told of as needing one.
//
// Threads: PasswordFor may be called from many threads at once (the source does not change).

#include <map>
#include <optional>
#include <string>

#include "fleet/PasswordSource.h"
#include "watch/WatchConfig.h"

namespace lanterna::watch {

// Where one kind of password comes from: at most one of the three is set; none: no password.
struct PasswordFiles {
    std::string book;
    std::string file;
    std::string credential;
};

// The network modules' passwords and the PJLink ones of `config`.
PasswordFiles ModulePasswordFiles(const WatchConfig& config);
PasswordFiles PjlinkPasswordFiles(const WatchConfig& config);

class CWatchPasswords final : public fleet::IPasswordSource {
  public:
    // The passwords `files` names, read now; none with why in `problem`.
    static std::optional<CWatchPasswords> Load(const PasswordFiles& files,
                                               const std::optional<std::string>& credentialsFolder,
                                               std::string& problem);

    fleet::PasswordAnswer PasswordFor(const fleet::Target& target) override;
    // The password of `address` as it was given (the book's, else the one for all).
    std::optional<std::string> Lookup(const std::string& address) const;

    // The book's lines taken ("ADDRESS PASSWORD"); false with the line number in `problem`.
    bool TakeBook(const std::string& text, std::string& problem);
    void TakeOne(std::string password) { one_ = std::move(password); }

  private:
    std::map<std::string, std::string, std::less<>> book_;
    std::optional<std::string> one_;
};

// The secret `name` of the service's credentials folder, or none with why in `problem`.
std::optional<std::string> ReadCredential(const std::optional<std::string>& credentialsFolder,
                                          const std::string& name, std::string& problem);

}  // namespace lanterna::watch
