#pragma once
// The debug-mode stand-ins of the workers: diagnostic lines and waits instead of traffic.

#include "state/ApplicationState.h"

namespace lanterna {

int SimulateProbe(ApplicationState& state);
int SimulateRead(ApplicationState& state);
int SimulateWrite(ApplicationState& state);
int SimulatePasswordChange(ApplicationState& state);

// What the read worker's trace prints in place of the projector password.
inline constexpr const char* kPasswordMask = "********";

}  // namespace lanterna
