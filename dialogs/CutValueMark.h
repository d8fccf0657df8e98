#pragma once
// The sign on a text box whose value the projector reported longer than the record holds it:
// the box shows the value's start, and its tooltip and accessible description say it was cut
// and is sent only once the user enters a value.

#include <cstdint>

#include "ui/Dialog.h"

namespace lanterna::dialogs {

// Marks the box `controlId` as holding a cut value when `state` is kStateCut, else unmarks it.
void ShowCutMark(ui::CDialog& dialog, int controlId, std::int32_t state);

}  // namespace lanterna::dialogs
