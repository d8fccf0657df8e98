#include "settings/WindowSettings.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace lanterna {
namespace {

constexpr std::string_view kWindowSubKey = "\\Window";
constexpr std::string_view kLeft = "Left";
constexpr std::string_view kTop = "Top";
constexpr std::string_view kWidth = "Width";
constexpr std::string_view kHeight = "Height";
constexpr std::string_view kMaximized = "Maximized";
constexpr std::string_view kPresencePeriod = "PresencePeriodMs";
constexpr std::string_view kDetailsView = "DetailsView";
constexpr std::string_view kColumnWidths = "ColumnWidths";
constexpr std::string_view kSortColumn = "SortColumn";
constexpr std::string_view kSortDescending = "SortDescending";
constexpr std::size_t kColumnWidthsLimit = kMaxListColumns * 6;

// Largest width or height taken from the hive: no desktop is wider.
constexpr std::int32_t kLargestSide = 32767;

RegistryValue DwordValue(std::string_view name, std::uint32_t value) {
    std::string data(sizeof value, '\0');
    for (std::size_t i = 0; i < sizeof value; ++i) {
        data[i] = static_cast<char>((value >> (8 * i)) & 0xFF);  // little-endian, as stored
    }
    return RegistryValue{std::string(name), kRegistryDword, std::move(data)};
}

std::optional<std::int32_t> ReadSigned(const RegistryKey& key, std::string_view name) {
    std::uint32_t value = 0;
    if (key.GetDword(name, value) != 1) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

// "120,80,64" as widths; none when any is not a width in range.
std::optional<std::vector<std::int32_t>> ParseWidths(std::string_view text) {
    std::vector<std::int32_t> widths;
    while (!text.empty() && widths.size() < kMaxListColumns) {
        const std::size_t comma = std::min(text.find(','), text.size());
        const std::string_view number = text.substr(0, comma);
        std::int32_t width = 0;
        if (number.empty() || number.size() > 4 ||
            number.find_first_not_of("0123456789") != std::string_view::npos) {
            return std::nullopt;
        }
        for (const char digit : number) {
            width = width * 10 + (digit - '0');
        }
        if (width < 1 || width > kMaxColumnWidth) {
            return std::nullopt;
        }
        widths.push_back(width);
        text = comma < text.size() ? text.substr(comma + 1) : std::string_view();
    }
    return text.empty() ? std::optional(widths) : std::nullopt;
}

// The key's values with `changes` set over them, in their order.
std::vector<RegistryValue> MergedValues(const RegistryKey& key,
                                        const std::vector<RegistryValue>& changes) {
    RegistryKeyEntry merged("");
    if (const RegistryKeyEntry* entry = key.OpenEntry()) {
        for (const RegistryValue& value : entry->Values()) {
            merged.Set(value);
        }
    }
    for (const RegistryValue& value : changes) {
        merged.Set(value);
    }
    return merged.Values();
}

int StoreValues(const std::vector<RegistryValue>& changes, const HiveFile& hive) {
    RegistryKey key(hive);
    if (key.OpenOrCreate(RegistryRoot::CurrentUser, WindowSettingsKeyPath()) != 1) {
        return 0;
    }
    return key.ReplaceValues(MergedValues(key, changes));
}

}  // namespace

std::string WindowSettingsKeyPath() {
    return std::string(kProgramKeyPath) + std::string(kWindowSubKey);
}

int LoadWindowSettings(WindowSettings& settings, const HiveFile& hive) {
    RegistryKey key(hive);
    if (key.OpenOrCreate(RegistryRoot::CurrentUser, WindowSettingsKeyPath()) != 1) {
        return 0;
    }
    const auto left = ReadSigned(key, kLeft);
    const auto top = ReadSigned(key, kTop);
    const auto width = ReadSigned(key, kWidth);
    const auto height = ReadSigned(key, kHeight);
    if (left && top && width && height && *width > 0 && *height > 0 && *width <= kLargestSide &&
        *height <= kLargestSide) {
        std::uint32_t maximized = 0;
        key.GetDword(kMaximized, maximized);
        settings.placement = WindowPlacement{*left, *top, *width, *height, maximized != 0};
    }
    std::uint32_t period = 0;
    if (key.GetDword(kPresencePeriod, period) == 1 && period >= kMinPresencePeriodMs &&
        period <= kMaxPresencePeriodMs) {
        settings.presencePeriodMs = period;
    }
    std::uint32_t details = 0;
    if (key.GetDword(kDetailsView, details) == 1) {
        settings.listView.details = details != 0;
    }
    std::string widths;
    if (key.GetString(kColumnWidths, widths, kColumnWidthsLimit) == 1) {
        settings.listView.columnWidths = ParseWidths(widths).value_or(std::vector<std::int32_t>{});
    }
    if (const auto column = ReadSigned(key, kSortColumn);
        column && *column >= 0 && *column < static_cast<std::int32_t>(kMaxListColumns)) {
        std::uint32_t descending = 0;
        key.GetDword(kSortDescending, descending);
        settings.listView.sortColumn = *column;
        settings.listView.sortDescending = descending != 0;
    }
    return 1;
}

int SaveListView(const ListViewSettings& listView, const HiveFile& hive) {
    std::string widths;
    for (const std::int32_t width : listView.columnWidths) {
        if (width < 1 || width > kMaxColumnWidth) {
            return 0;
        }
        widths += (widths.empty() ? "" : ",") + std::to_string(width);
    }
    if (listView.columnWidths.size() > kMaxListColumns) {
        return 0;
    }
    widths.push_back('\0');
    std::vector<RegistryValue> values{
        DwordValue(kDetailsView, listView.details ? 1 : 0),
        RegistryValue{std::string(kColumnWidths), kRegistryString, widths}};
    if (const auto column = listView.sortColumn) {
        if (*column < 0 || *column >= static_cast<std::int32_t>(kMaxListColumns)) {
            return 0;
        }
        values.push_back(DwordValue(kSortColumn, static_cast<std::uint32_t>(*column)));
        values.push_back(DwordValue(kSortDescending, listView.sortDescending ? 1 : 0));
    }
    return StoreValues(values, hive);
}

int SaveWindowPlacement(const WindowPlacement& placement, const HiveFile& hive) {
    if (placement.width <= 0 || placement.height <= 0) {
        return 0;
    }
    return StoreValues({DwordValue(kLeft, static_cast<std::uint32_t>(placement.left)),
                        DwordValue(kTop, static_cast<std::uint32_t>(placement.top)),
                        DwordValue(kWidth, static_cast<std::uint32_t>(placement.width)),
                        DwordValue(kHeight, static_cast<std::uint32_t>(placement.height)),
                        DwordValue(kMaximized, placement.maximized ? 1 : 0)},
                       hive);
}

int SavePresencePeriod(std::uint32_t periodMs, const HiveFile& hive) {
    const std::uint32_t period = std::clamp(periodMs, kMinPresencePeriodMs, kMaxPresencePeriodMs);
    return StoreValues({DwordValue(kPresencePeriod, period)}, hive);
}

}  // namespace lanterna
