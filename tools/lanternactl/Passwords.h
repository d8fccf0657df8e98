#pragma once
// Where the projector passwords of a command come from: a password book (--passwords FILE,
// "ADDRESS PASSWORD" lines), else one password for every target (--password-file, else
// LANTERNA_PASSWORD), else the desktop keyring's entry for the address (--keyring), else one
// password asked once on the terminal when a projector first needs one. A password the projector
// refuses gives way to the next of these that is another (the book's never does).
//
// Threads: PasswordFor and Lookup may be called from many threads at once; the terminal is
// asked at most once, by whichever thread needs it first, while the others wait.

#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "fleet/PasswordSource.h"
#include "tools/lanternactl/CliContext.h"

namespace lanterna::cli {

// A password book holds at most this much.
inline constexpr std::size_t kPasswordBookMaxBytes = 1024 * 1024;

class CPasswords final : public fleet::IPasswordSource {
  public:
    // `environmentVariable` and `prompt` name the one password's other sources.
    CPasswords(CliContext& context, std::string_view command,
               std::string_view environmentVariable = "LANTERNA_PASSWORD",
               std::string_view prompt = "Projector password: ");

    // --passwords FILE: refused (false, with a message) when others than its owner may read
    // it, when it cannot be read, for a line that is not "ADDRESS PASSWORD" and for an address
    // listed twice (both lines named). The password is the rest of the line after the blank
    // behind the address, without the line end and nothing else taken off.
    bool LoadBook(const std::string& path);
    // --password-file FILE: its first line is the one password, read as a line of the book.
    // False, with a message, when others than its owner may read it or it cannot be read.
    bool LoadOne(const std::string& path);

    // --keyring: the entries of `keyring` are looked up after the one password given.
    void UseKeyring(std::shared_ptr<fleet::ICredentialStore> keyring);
    // The keyring given with UseKeyring, or null.
    fleet::ICredentialStore* Keyring() const { return keyring_.get(); }

    fleet::PasswordAnswer PasswordFor(const fleet::Target& target) override;
    bool Refused(const fleet::Target& target, const std::string& password) override;
    // The keyring's entry for the target's address is marked: it is skipped from now on.
    void ReachedOther(const fleet::Target& target, const std::string& keptFor,
                      const std::string& found) override;

    // The book's password for `address` alone, none when the book does not name it: for a book
    // of another secret (--pjlink-passwords), which no other source may stand in for.
    std::optional<std::string> BookEntry(const std::string& address) const;

    // The password for `address`, or none with the reason in `problem`.
    std::optional<std::string> Lookup(const std::string& address, std::string& problem);

    // Why there is no password for `address`: "the projector needs a password: set ...", or
    // which password is too long.
    std::string ProblemText(const std::string& address, fleet::PasswordProblem problem,
                            std::size_t length) const;

  private:
    std::optional<std::string> GivenPassword();
    // The keyring's entry for `address` (none for a marked one, which is named once), with the
    // hardware address it is kept for in `keptFor` when given.
    std::optional<std::string> KeyringPassword(const std::string& address,
                                               std::string* keptFor = nullptr);
    std::optional<std::string> TerminalPassword();
    // The `n`-th different password of the sources after the book, from 0; none past the last.
    std::optional<std::string> NthPassword(const std::string& address, std::size_t n);

    CliContext& context_;
    std::string command_;
    std::string variable_;
    std::string prompt_;
    std::map<std::string, std::string, std::less<>> book_;
    std::string bookPath_;

    std::shared_ptr<fleet::ICredentialStore> keyring_;

    std::mutex mutex_;
    std::map<std::string, std::size_t, std::less<>> refused_;  // passwords refused per address
    std::map<std::string, bool, std::less<>> skipNamed_;  // marked keyring entries named
    bool givenKnown_ = false;
    std::optional<std::string> given_;
    bool askedKnown_ = false;
    std::optional<std::string> asked_;
};

// The first line of the file at `path` (a line feed and a carriage return before it removed,
// nothing else), read within the password file limit. None, with a message, when others than
// its owner may read it or it cannot be read.
std::optional<std::string> ReadFirstLine(CliContext& context, std::string_view command,
                                         const std::string& path);

// "WHICH is N bytes long; a projector takes at most 14" for a password that is too long (WHICH
// such as "the new password"), else empty.
std::string PasswordLengthProblem(std::string_view password, std::string_view which);

}  // namespace lanterna::cli
