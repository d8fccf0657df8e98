#pragma once
// The settings of one projector as a person reads them: grouped (projector, wired or wireless
// LAN addresses, mail, SNMP, wireless security), each setting labelled in words, no state words
// or list bookkeeping; a setting the projector did not report says so, and keys are masked
// unless asked for. Texts from the projector are escaped for the terminal.

#include <iosfwd>
#include <string_view>

#include "record/ProjectorRecord.h"

namespace lanterna::cli {

// What a setting never read shows instead of a value.
inline constexpr std::string_view kNotReported = "(not reported)";
// Behind a value the projector reported longer than its field: what is shown is its start.
inline constexpr std::string_view kCutMark = "(cut)";

void PrintSettingsListing(std::ostream& out, const ProjectorRecord& record, bool showSecrets);

}  // namespace lanterna::cli
