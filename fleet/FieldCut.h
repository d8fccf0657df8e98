#pragma once
// Whether a setting of the record was reported longer than its field (see record/CutState.h).

#include <string_view>

#include "record/ProjectorRecord.h"

namespace lanterna::fleet {

// Whether the projector reported `field` (a name of the field table) longer than the record
// holds it: what the record holds is its start.
bool IsFieldCut(std::string_view field, const ProjectorRecord& record);

}  // namespace lanterna::fleet
