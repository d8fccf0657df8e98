#pragma once
// What the commands that speak PJLink share: the PJLink passwords of --pjlink-passwords and the
// keyring's PJLink entries (never the network module's password) and the health of the targets.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fleet/HealthReport.h"
#include "tools/lanternactl/Options.h"
#include "tools/lanternactl/Passwords.h"

namespace lanterna::cli {

// The book of --pjlink-passwords, empty without it, and with --keyring the keyring's PJLink
// entries after it. Null after a message.
std::unique_ptr<CPasswords> LoadPjlinkPasswords(CliContext& context, std::string_view command,
                                                const CParsedArgs& parsed);

// The PJLink password of `address`: the book's line, else the keyring's PJLink entry; none (the
// projector is asked without one) otherwise. Never a network module's password.
std::optional<std::string> PjlinkPasswordOf(const CPasswords& book, const std::string& address);

// Reads the health of `addresses` with the passwords of `book`.
std::vector<fleet::HealthOfTarget> ReadHealthWith(CliContext& context, const CPasswords& book,
                                                  const std::vector<std::string>& addresses,
                                                  long jobs);

}  // namespace lanterna::cli
