#pragma once
// Pieces of a write that the one-target form shares with today's window: the answer to the
// write worker's test-mail question, and the printed outcome of a write.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "tools/lanternactl/CliContext.h"

namespace lanterna::cli {

// Answers the write worker's test-mail question: `testMail` when given, else asked on the
// terminal, else No. The question and the answer are written to standard error.
std::function<int(int)> TestMailAnswer(CliContext& context, std::optional<bool> testMail);

// Reads "--test-mail yes|no" (given as `value`) into `testMail`. False, with a message, for
// another value.
bool ParseTestMail(CliContext& context, std::string_view command,
                   const std::optional<std::string>& value, std::optional<bool>& testMail);

// What came of a write in words: the window's message for the result (on standard output for
// success, standard error else, or `failure` in its place when it says more), after the command
// groups the projector refused ("the projector refused: trap address 2"). The result and its
// bits are --json's alone. The exit status.
int PrintWriteResult(CliContext& context, std::string_view command, int result,
                     std::uint32_t writeErrors, std::string_view failure = {});

}  // namespace lanterna::cli
