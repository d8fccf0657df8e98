#pragma once
// The record a search makes of one projector it found.

#include <cstdint>
#include <string_view>

#include "record/ProjectorRecord.h"

namespace lanterna {

// A zero-filled record with `origin` 0, `projectorName` the name (at most 15 bytes, never
// splitting a UTF-8 character), `address` the address text (at most 20 bytes), `ipAddress`
// read from it as "%d.%d.%d.%d" reads it, and `imType`.
ProjectorRecord MakeFoundRecord(std::string_view name, std::string_view address,
                                std::uint8_t imType);

}  // namespace lanterna
