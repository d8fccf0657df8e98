#include "watch/WatchPasswords.h"

#include <algorithm>

#include "fleet/Targets.h"
#include "watch/WatchFiles.h"

namespace lanterna::watch {

namespace {

std::string FirstLine(const std::string& text) {
    std::string line = text.substr(0, text.find('\n'));
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

}  // namespace

std::optional<std::string> ReadCredential(const std::optional<std::string>& credentialsFolder,
                                          const std::string& name, std::string& problem) {
    const auto path = CredentialPath(credentialsFolder, name);
    if (!path) {
        problem = "credential " + name + ": no $CREDENTIALS_DIRECTORY or not a plain name";
        return std::nullopt;
    }
    auto content = ReadSecretFile(*path, problem);
    if (!content) {
        problem = "credential " + name + ": " + problem;
    }
    return content;
}

bool CWatchPasswords::TakeBook(const std::string& text, std::string& problem) {
    std::size_t number = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        std::string line = text.substr(at, end - at);
        at = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const auto blank = line.find(' ');
        const auto address = fleet::CanonicalAddress(line.substr(0, blank));
        if (blank == std::string::npos || !address || book_.contains(*address)) {
            problem = "line " + std::to_string(number) + " is not \"ADDRESS PASSWORD\" of an "
                      "address not listed before";
            return false;
        }
        book_[*address] = line.substr(blank + 1);
    }
    return true;
}

PasswordFiles ModulePasswordFiles(const WatchConfig& config) {
    return {config.passwordBook, config.passwordFile, config.passwordCredential};
}

PasswordFiles PjlinkPasswordFiles(const WatchConfig& config) {
    return {config.pjlinkBook, config.pjlinkFile, config.pjlinkCredential};
}

std::optional<CWatchPasswords> CWatchPasswords::Load(
    const PasswordFiles& files, const std::optional<std::string>& credentialsFolder,
    std::string& problem) {
    CWatchPasswords passwords;
    std::optional<std::string> text;
    std::string what;
    if (!files.book.empty()) {
        what = files.book;
        text = ReadSecretFile(files.book, problem);
    } else if (!files.file.empty()) {
        what = files.file;
        text = ReadSecretFile(files.file, problem);
    } else if (!files.credential.empty()) {
        text = ReadCredential(credentialsFolder, files.credential, problem);
    } else {
        return passwords;  // projectors without a password
    }
    if (!text) {
        problem = what.empty() ? problem : what + ": " + problem;
        return std::nullopt;
    }
    if (!files.file.empty()) {
        passwords.TakeOne(FirstLine(*text));
        return passwords;
    }
    if (!passwords.TakeBook(*text, problem)) {
        problem = (what.empty() ? "credential " + files.credential : what) + ": " + problem;
        return std::nullopt;
    }
    return passwords;
}

std::optional<std::string> CWatchPasswords::Lookup(const std::string& address) const {
    if (const auto found = book_.find(address); found != book_.end()) {
        return found->second;
    }
    return one_;
}

fleet::PasswordAnswer CWatchPasswords::PasswordFor(const fleet::Target& target) {
    if (const auto found = book_.find(target.address); found != book_.end()) {
        return fleet::CheckedPassword(found->second);
    }
    if (one_) {
        return fleet::CheckedPassword(*one_);
    }
    return {std::nullopt, fleet::PasswordProblem::kUnknown, 0};
}

}  // namespace lanterna::watch
