#pragma once
// Text that crosses the command line's borders: values a projector sent, before they reach a
// terminal, and words of the command line, before they reach a projector.

#include <cstddef>
#include <string>
#include <string_view>

#include "tools/lanternactl/CliContext.h"

namespace lanterna::cli {

// `text` as it may be printed: control bytes (C0, DEL and the C1 controls), bytes that are not
// UTF-8 and the backslash itself are written as \xNN (the backslash as \\), so that nothing a
// projector sends can move the cursor, retitle the window or otherwise drive the terminal.
std::string TerminalText(std::string_view text);

// The columns a terminal gives `text` (UTF-8, as TerminalText leaves it): two for a Hangul or
// other East Asian wide character, one for any other character or stray byte.
std::size_t TerminalColumns(std::string_view text);

// Whether every word may travel in a command line (no control byte). When one may not, writes
// "lanternactl COMMAND: 'WORD' holds a control byte; nothing was sent" and returns false.
bool CheckCommandWords(CliContext& context, std::string_view command, CliArgs words);

}  // namespace lanterna::cli
