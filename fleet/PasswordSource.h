#pragma once
// Where a fleet job gets a projector's password when the projector asks for one. lanternactl's
// source reads files, the environment and the terminal; the window's asks the user or what the
// session remembers.
//
// Threads: a job may ask from many threads at once; a source serialises what must not overlap
// (one question on the terminal at a time).

#include <cstddef>
#include <optional>
#include <string>

#include "fleet/Targets.h"

namespace lanterna::fleet {

// Longest password a projector takes (its field holds 15 bytes with the terminator).
inline constexpr std::size_t kMaxPasswordBytes = 14;

enum class PasswordProblem {
    kNone,
    kUnknown,  // the source has no password for the projector
    kTooLong,  // longer than kMaxPasswordBytes
};

struct PasswordAnswer {
    std::optional<std::string> password;  // none with a problem
    PasswordProblem problem = PasswordProblem::kNone;
    std::size_t length = 0;  // kTooLong: the length of the password the source had
    // The password is one kept for the projector with this hardware address (a keyring's
    // entry): the road stops right after it was sent when another answers. Empty: none.
    std::string keptFor{};
};

// A projector takes at most this many passwords on one road: one the source had (remembered,
// or given for many), then those asked again after a refusal.
inline constexpr int kMaxPasswordAttempts = 4;

class IPasswordSource {
  public:
    virtual ~IPasswordSource() = default;
    // The password for `target` (its address and, when known, its name).
    virtual PasswordAnswer PasswordFor(const Target& target) = 0;
    // The projector refused `password`: true when the source has another to try (PasswordFor
    // is then asked again, on the same thread), false to give up.
    virtual bool Refused(const Target& target, const std::string& password) {
        (void)target;
        (void)password;
        return false;
    }
    // The projector at the target's address, whose hardware address was read as
    // `hardwareAddress`, took `password`.
    virtual void Accepted(const Target& target, const std::string& password,
                          const std::string& hardwareAddress) {
        (void)target;
        (void)password;
        (void)hardwareAddress;
    }
    // A password kept for the projector with `keptFor` was sent to the one at the target's
    // address, which reported `found`: the source marks what it kept.
    virtual void ReachedOther(const Target& target, const std::string& keptFor,
                              const std::string& found) {
        (void)target;
        (void)keptFor;
        (void)found;
    }
};

// `password` as an answer: kTooLong (with its length) when a projector cannot take it.
PasswordAnswer CheckedPassword(std::string password);

}  // namespace lanterna::fleet
