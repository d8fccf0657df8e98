#pragma once
// The ESSID check of the wireless dialogs for an ESSID the user may have left as the projector
// reported it: that one is sent back as it was read, so the rules, which judge what is typed,
// do not judge it, whatever it holds (a reported ESSID may hold spaces).

#include <string_view>

#include "settings/EntryVerdict.h"

namespace lanterna {

// CheckEssidEntry when `essid` differs from `reference` or the reference was never read
// (`referenceRead` false); accepted otherwise.
EntryVerdict CheckEssidChange(std::string_view essid, std::string_view reference,
                              bool referenceRead, bool basic);

}  // namespace lanterna
