#include "tools/lanternactl/Passwords.h"

#include <sys/stat.h>

#include <algorithm>
#include <utility>
#include <ostream>
#include <vector>

#include "fleet/Credentials.h"
#include "fleet/RecordFacts.h"
#include "resources/StringIds.h"
#include "tools/lanternactl/FileCommandSupport.h"
#include "tools/lanternactl/FleetWords.h"
#include "tools/lanternactl/TargetRequest.h"
#include "tools/lanternactl/TextSafety.h"

namespace lanterna::cli {

namespace {

// A password file holds one short line; a few kibibytes leave room for anything beside it.
constexpr std::size_t kPasswordFileMaxBytes = 4096;

// "WHICH is N bytes long; a projector takes at most 14".
std::string TooLongText(std::size_t length, std::string_view which) {
    return Words(kStringPasswordTooLong,
                 {which, std::to_string(length), std::to_string(fleet::kMaxPasswordBytes)});
}

// Refuses (false, with a message) a file of passwords that others than its owner may read.
bool IsOwnersAlone(CliContext& context, std::string_view command, const std::string& path) {
    struct stat status {};
    if (path == "-" || stat(path.c_str(), &status) != 0 ||
        (status.st_mode & (S_IRGRP | S_IROTH)) == 0) {
        return true;
    }
    PrintCommandError(context, command,
                      TerminalText(path) +
                          ": others than its owner may read it; make it the owner's alone "
                          "(chmod 600) and change the passwords it holds if others did read it");
    return false;
}

// The lines of a password file, each without its line end (a line feed, and a carriage return
// before it); nothing else is taken off, so a blank at the end of a password stays its own.
std::vector<std::string_view> PasswordLines(std::string_view content) {
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < content.size();) {
        const std::size_t end = std::min(content.find('\n', start), content.size());
        std::string_view line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

}  // namespace

std::optional<std::string> ReadFirstLine(CliContext& context, std::string_view command,
                                         const std::string& path) {
    std::string content;
    if (!IsOwnersAlone(context, command, path) ||
        !ReadInputFile(context, command, path, kPasswordFileMaxBytes, content)) {
        return std::nullopt;
    }
    const std::vector<std::string_view> lines = PasswordLines(content);
    return std::string(lines.empty() ? std::string_view() : lines.front());
}

std::string PasswordLengthProblem(std::string_view password, std::string_view which) {
    if (password.size() <= fleet::kMaxPasswordBytes) {
        return {};
    }
    return TooLongText(password.size(), which);
}

CPasswords::CPasswords(CliContext& context, std::string_view command,
                       std::string_view environmentVariable, std::string_view prompt)
    : context_(context), command_(command), variable_(environmentVariable), prompt_(prompt) {}

std::optional<std::string> CPasswords::BookEntry(const std::string& address) const {
    const auto found = book_.find(address);
    return found != book_.end() ? std::optional<std::string>(found->second) : std::nullopt;
}

bool CPasswords::LoadBook(const std::string& path) {
    std::string content;
    if (!IsOwnersAlone(context_, command_, path) ||
        !ReadInputFile(context_, command_, path, kPasswordBookMaxBytes, content, true)) {
        return false;
    }
    bookPath_ = path;
    std::map<std::string, std::size_t, std::less<>> lineOf;
    const std::vector<std::string_view> lines = PasswordLines(content);
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const std::size_t lineNumber = index + 1;
        const std::string_view line = lines[index];
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos || line[first] == '#') {
            continue;
        }
        // The address, one blank, and the password: the rest of the line as it stands (none:
        // the projector has no password).
        const std::size_t blank = line.find_first_of(" \t", first);
        const auto address = CanonicalAddress(line.substr(first, blank - first));
        const std::string where = TerminalText(path) + ":" + std::to_string(lineNumber);
        if (!address) {
            PrintCommandError(context_, command_, where + ": not 'ADDRESS PASSWORD'");
            return false;
        }
        if (const auto earlier = lineOf.find(*address); earlier != lineOf.end()) {
            PrintCommandError(context_, command_,
                              where + ": " + *address + " is listed on line " +
                                  std::to_string(earlier->second) +
                                  " too; give each address one password");
            return false;
        }
        lineOf.emplace(*address, lineNumber);
        book_[*address] = std::string(
            blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1));
    }
    return true;
}

bool CPasswords::LoadOne(const std::string& path) {
    auto line = ReadFirstLine(context_, command_, path);
    if (!line) {
        return false;
    }
    std::lock_guard guard(mutex_);
    given_ = std::move(line);
    givenKnown_ = true;
    return true;
}

void CPasswords::UseKeyring(std::shared_ptr<fleet::ICredentialStore> keyring) {
    keyring_ = std::move(keyring);
}

std::optional<std::string> CPasswords::GivenPassword() {
    std::lock_guard guard(mutex_);
    if (!givenKnown_) {
        givenKnown_ = true;
        given_ = context_.environment(variable_);
    }
    return given_;
}

std::optional<std::string> CPasswords::KeyringPassword(const std::string& address,
                                                       std::string* keptFor) {
    if (!keyring_) {
        return std::nullopt;
    }
    // The hardware address is not known before the link is open: the entry of the address,
    // checked against the projector's once the password went (fleet::OpenTarget).
    auto kept = keyring_->Find(address, {});
    if (!kept) {
        return std::nullopt;
    }
    if (kept->mismatch) {
        bool named = false;
        {
            std::lock_guard guard(mutex_);
            named = std::exchange(skipNamed_[address], true);
        }
        if (!named) {
            const std::lock_guard terminal(context_.terminal->mutex);
            if (context_.terminal->progress) {
                context_.err << "\n";
                context_.terminal->progress = false;
            }
            context_.err << command_ << ": "
                         << Words(kStringKeyringEntrySkipped,
                                  {address, fleet::MacText(kept->hardwareAddress)})
                         << "\n";
        }
        return std::nullopt;
    }
    if (keptFor != nullptr) {
        *keptFor = kept->hardwareAddress;
    }
    return std::move(kept->password);
}

void CPasswords::ReachedOther(const fleet::Target& target, const std::string&,
                              const std::string&) {
    if (keyring_) {
        fleet::MarkMismatch(*keyring_, target.address);
    }
}

// The terminal is asked only when no password was given for every target.
std::optional<std::string> CPasswords::TerminalPassword() {
    if (GivenPassword()) {
        return std::nullopt;
    }
    std::lock_guard guard(mutex_);
    if (!askedKnown_) {
        askedKnown_ = true;
        if (context_.askHidden) {
            const std::lock_guard terminal(context_.terminal->mutex);
            if (context_.terminal->progress) {
                context_.err << "\n";  // the question goes below the progress line
                context_.terminal->progress = false;
            }
            asked_ = context_.askHidden(prompt_);
        }
    }
    return asked_;
}

std::optional<std::string> CPasswords::NthPassword(const std::string& address, std::size_t n) {
    std::vector<std::string> offered;
    const auto reached = [&offered, n](std::optional<std::string> password) {
        if (password && std::find(offered.begin(), offered.end(), *password) == offered.end()) {
            offered.push_back(std::move(*password));
        }
        return offered.size() > n;
    };
    if (reached(GivenPassword()) || reached(KeyringPassword(address)) ||
        reached(TerminalPassword())) {
        return offered[n];
    }
    return std::nullopt;
}

fleet::PasswordAnswer CPasswords::PasswordFor(const fleet::Target& target) {
    if (const auto found = book_.find(target.address); found != book_.end()) {
        return fleet::CheckedPassword(found->second);
    }
    std::size_t refused = 0;
    {
        std::lock_guard guard(mutex_);
        if (const auto counted = refused_.find(target.address); counted != refused_.end()) {
            refused = counted->second;
        }
    }
    std::optional<std::string> password = NthPassword(target.address, refused);
    if (!password) {
        return {std::nullopt, fleet::PasswordProblem::kUnknown, 0};
    }
    // The keyring's password, however it came, is kept for one projector.
    std::string keptFor;
    const bool kept = KeyringPassword(target.address, &keptFor) == password;
    fleet::PasswordAnswer answer = fleet::CheckedPassword(std::move(*password));
    if (kept) {
        answer.keptFor = std::move(keptFor);
    }
    return answer;
}

bool CPasswords::Refused(const fleet::Target& target, const std::string&) {
    if (book_.contains(target.address)) {
        return false;
    }
    std::size_t refused = 0;
    {
        std::lock_guard guard(mutex_);
        refused = ++refused_[target.address];
    }
    return NthPassword(target.address, refused).has_value();
}

std::optional<std::string> CPasswords::Lookup(const std::string& address, std::string& problem) {
    fleet::PasswordAnswer answer = PasswordFor(fleet::Target{address, std::nullopt, {}});
    if (!answer.password) {
        problem = ProblemText(address, answer.problem, answer.length);
    }
    return std::move(answer.password);
}

std::string CPasswords::ProblemText(const std::string& address, fleet::PasswordProblem problem,
                                    std::size_t length) const {
    if (problem != fleet::PasswordProblem::kTooLong) {
        return Words(kStringNeedsPassword, {variable_});
    }
    return TooLongText(length, book_.contains(address)
                                   ? Words(kStringPasswordOfIn, {address, bookPath_})
                                   : Words(kStringPasswordGiven));
}

}  // namespace lanterna::cli
