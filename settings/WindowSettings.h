#pragma once
// The main window's own settings, kept in the program's registry key beside the address book
// (key "Software\MIRAL VANTA\Lanterna\Window"): where the window was and how large when it last
// closed, and how often the listed projectors are greeted to see who is still there.
//
//   "Left", "Top", "Width", "Height" (DWORD, two's complement for negative positions),
//   "Maximized" (DWORD 0 or 1), "PresencePeriodMs" (DWORD).
//
// Results are 1 on success and 0 on failure; the window never shows them. A value that is
// missing, of another type or out of range is taken as not set.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/RegistryKey.h"

namespace lanterna {

// How often the listed projectors are greeted, and the range a stored value must lie in.
inline constexpr std::uint32_t kDefaultPresencePeriodMs = 30000;
inline constexpr std::uint32_t kMinPresencePeriodMs = 200;
inline constexpr std::uint32_t kMaxPresencePeriodMs = 24 * 3600 * 1000;

// The window's outer rectangle in desktop pixels, and whether it was maximised (the rectangle
// is then the one it returns to).
struct WindowPlacement {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool maximized = false;

    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

struct WindowSettings {
    std::optional<WindowPlacement> placement;
    std::uint32_t presencePeriodMs = kDefaultPresencePeriodMs;
};

// "Software\MIRAL VANTA\Lanterna\Window".
std::string WindowSettingsKeyPath();

// Reads what is stored; what is not (or not usable) keeps the value `settings` had.
int LoadWindowSettings(WindowSettings& settings, const HiveFile& hive = HiveFile::UserDefault());

// Stores the placement in one save, leaving the key's other values as they are. A placement
// whose width or height is not above 0 is refused.
int SaveWindowPlacement(const WindowPlacement& placement,
                        const HiveFile& hive = HiveFile::UserDefault());

// Stores the presence period (clamped to its range).
int SavePresencePeriod(std::uint32_t periodMs, const HiveFile& hive = HiveFile::UserDefault());

}  // namespace lanterna
