#pragma once
// The state word of a setting the projector reported longer than its field: the field holds the
// value cut to it. Such a value is shown (marked as cut) but never sent, saved to a file or
// kept in a history entry, and a command that must carry it is not sent, until the user enters a
// value for the setting.

#include <cstdint>

#include "record/ProjectorRecord.h"

namespace lanterna {

inline constexpr std::int32_t kStateCut = 4;

// Whether the field holds the value the projector or a file gave, whole.
constexpr bool HoldsWholeValue(std::int32_t state) {
    return state != kStateUnknown && state != kStateCut;
}

}  // namespace lanterna
