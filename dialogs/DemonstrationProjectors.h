#pragma once
// The five projectors that every refresh lists first in debug mode ("/debug"), so the window
// can be shown and tried without any projector on the network.

#include "record/ProjectorList.h"

namespace lanterna::dialogs {

inline constexpr int kDemonstrationProjectorCount = 5;

// Appends the five demonstration records (172.20.28.100 to .104) to `projectors`.
void AppendDemonstrationProjectors(ProjectorList& projectors);

}  // namespace lanterna::dialogs
