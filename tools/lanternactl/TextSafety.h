#pragma once
// Text that crosses the command line's borders: values a projector sent, before they reach a
// terminal (platform/DisplayText.h), and words of the command line, before they reach a
// projector.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/DisplayText.h"
#include "tools/lanternactl/CliContext.h"

namespace lanterna::cli {

using lanterna::TerminalColumns;
using lanterna::TerminalText;

// Whether every word may travel in a command line (no control byte). When one may not, writes
// "lanternactl COMMAND: 'WORD' holds a control byte; nothing was sent" and returns false.
bool CheckCommandWords(CliContext& context, std::string_view command, CliArgs words);

}  // namespace lanterna::cli
