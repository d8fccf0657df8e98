#pragma once
// The road of opening a projector from the command line, shared by read, set and apply:
// an entry for the address, the probe worker, the password when the projector asks for one,
// the read worker.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "state/ApplicationState.h"
#include "tools/lanternactl/CliContext.h"
#include "tools/lanternactl/WorkerRunner.h"

namespace lanterna::cli {

// Options common to the commands that open a projector.
struct SessionOptions {
    std::string address;
    std::optional<std::string> passwordFile;  // --password-file FILE
};

// Takes "--password-file FILE" out of `args` into `options`; the rest stays in `rest`. False,
// with a message on standard error, when the option lacks its file.
bool TakeSessionOptions(CliContext& context, std::string_view command, CliArgs args,
                        SessionOptions& options, std::vector<std::string>& rest);

// Puts a record for `address` (a dotted IPv4 address, as typed into the address entry) into
// the list and selects it. False, with a message, for an address that is not one.
bool SelectAddress(CliContext& context, std::string_view command, ApplicationState& state,
                   const std::string& address);

// The projector password: from --password-file, else LANTERNA_PASSWORD, else asked on the
// terminal without echo. None, with a message, when there is none or it is too long.
std::optional<std::string> TakePassword(CliContext& context, std::string_view command,
                                        const SessionOptions& options);

// Probe, password and read (readAllSettings as given) of the selected entry; the link stays
// open on success. Returns kExitOk, or kExitFailed after printing the outcome's message.
int OpenProjector(CliContext& context, std::string_view command, ApplicationState& state,
                  CWorkerRunner& runner, const SessionOptions& options, int readAllSettings);

// The string-table message the progress window shows for a read result other than 1.
int ReadFailureMessage(int result);

// Answers the write worker's test-mail question: `testMail` when given, else asked on the
// terminal, else No. The question and the answer are written to standard error.
std::function<int(int)> TestMailAnswer(CliContext& context, std::optional<bool> testMail);

// Takes "--test-mail yes|no" out of `args`. False, with a message, for another value.
bool TakeTestMailOption(CliContext& context, std::string_view command,
                        std::vector<std::string>& args, std::optional<bool>& testMail);

// Runs the write worker on the opened projector (`writeAll` as the record's flag), prints its
// result and the refused commands, and closes the link; the exit status.
int WriteAndClose(CliContext& context, std::string_view command, CWorkerRunner& runner,
                  ApplicationState& state, std::int32_t writeAll);

// Longest password a projector takes (its field holds 15 bytes with the terminator).
inline constexpr std::size_t kMaxPasswordBytes = 14;

}  // namespace lanterna::cli
