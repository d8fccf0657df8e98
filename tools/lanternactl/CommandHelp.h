#pragma once
// The help of every command in one table: its usage, what it does, its options (the same table
// the parser takes them from) and the sections that belong to it. `lanternactl --help`,
// `lanternactl COMMAND --help`, the usage lines of errors, and the manual page and completion
// made from them all come from here.

#include <iosfwd>
#include <span>
#include <string_view>

#include "tools/lanternactl/Options.h"

namespace lanterna::cli {

struct CommandHelp {
    std::string_view name;
    std::string_view usage;        // the synopsis, one or more lines without "lanternactl "
    std::string_view summary;      // one line for the command list
    std::string_view description;  // paragraphs, lines of at most 78 columns
    std::span<const OptionEntry> options;
    // Further sections written from their own tables (fields, events, findings); may be null.
    void (*sections)(std::ostream& out) = nullptr;
};

// The help of `command`; null for a name the table does not hold.
const CommandHelp* FindHelp(std::string_view command);
// The help of a command that is known to exist.
const CommandHelp& HelpOf(std::string_view command);

// Every entry, in the order of the command list.
std::span<const CommandHelp> AllHelp();

// "Usage: lanternactl SYNOPSIS", one line per synopsis line.
void PrintUsageLines(std::ostream& out, const CommandHelp& help);

// "Usage: lanternactl ..." with every synopsis line, the description, the options and the
// further sections.
void PrintCommandHelp(std::ostream& out, const CommandHelp& help);

// The program's help: the commands with their summaries and the common conventions.
void PrintProgramHelp(std::ostream& out);

// "lanternactl COMMAND: usage: lanternactl SYNOPSIS" (first synopsis line) on `out`.
void PrintUsageError(std::ostream& out, std::string_view command);

}  // namespace lanterna::cli
