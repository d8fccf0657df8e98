#pragma once
// Sections of the help written from the engine's tables: the fields set knows, the mail events
// by name, the audit's findings.

#include <iosfwd>

namespace lanterna::cli {

// One entry per field: its name, where it applies, and its accepted forms and limits.
void PrintSettableFields(std::ostream& out);

// One line per event: name, bit value and the dialog's label in English.
void PrintEventNames(std::ostream& out);

// One entry per kind of finding: severity, name and meaning.
void PrintFindingHelp(std::ostream& out);

}  // namespace lanterna::cli
