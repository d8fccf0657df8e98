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
    return 1;
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
