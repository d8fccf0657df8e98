#pragma once
// The main window's own settings, kept in the program's registry key beside the address book
// (key "Software\MIRAL VANTA\Lanterna\Window"): where the window was and how large when it last
// closed, and how often the listed projectors are greeted to see who is still there.
//
//   "Left", "Top", "Width", "Height" (DWORD, two's complement for negative positions),
//   "Maximized" (DWORD 0 or 1), "PresencePeriodMs" (DWORD), "DetailsView" (DWORD 0 or 1: the
//   table of details is shown rather than the icons), "ColumnWidths" (string: the table's
//   column widths in pixels, left to right, joined by commas).
//
// Results are 1 on success and 0 on failure; the window never shows them. A value that is
// missing, of another type or out of range is taken as not set.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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

// Most columns, and the widest column, taken from the hive.
inline constexpr std::size_t kMaxListColumns = 16;
inline constexpr std::int32_t kMaxColumnWidth = 4096;

// How the list is shown.
struct ListViewSettings {
    bool details = false;
    std::vector<std::int32_t> columnWidths;  // empty: none stored (the columns fit their content)
    // The column the table of details is sorted by, 0 to kMaxListColumns - 1; none: by name.
    std::optional<std::int32_t> sortColumn;
    bool sortDescending = false;

    friend bool operator==(const ListViewSettings&, const ListViewSettings&) = default;
};

struct WindowSettings {
    std::optional<WindowPlacement> placement;
    std::uint32_t presencePeriodMs = kDefaultPresencePeriodMs;
    ListViewSettings listView;
};

// "Software\MIRAL VANTA\Lanterna\Window".
std::string WindowSettingsKeyPath();

// Reads what is stored; what is not (or not usable) keeps the value `settings` had.
int LoadWindowSettings(WindowSettings& settings, const HiveFile& hive = HiveFile::UserDefault());

// Stores the placement in one save, leaving the key's other values as they are. A placement
// whose width or height is not above 0 is refused.
int SaveWindowPlacement(const WindowPlacement& placement,
                        const HiveFile& hive = HiveFile::UserDefault());

// Stores how the list is shown. Widths outside 1 to kMaxColumnWidth, more than kMaxListColumns
// of them, or a sort column outside 0 to kMaxListColumns - 1 are refused.
int SaveListView(const ListViewSettings& listView, const HiveFile& hive = HiveFile::UserDefault());

// Stores the presence period (clamped to its range).
int SavePresencePeriod(std::uint32_t periodMs, const HiveFile& hive = HiveFile::UserDefault());

}  // namespace lanterna
