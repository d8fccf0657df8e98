#pragma once
// What the password dialogs accept: byte texts of at most 14 bytes, compared byte by byte.

#include <cstddef>
#include <string_view>

namespace lanterna::dialogs {

inline constexpr int kPasswordLimit = 14;

inline bool FitsPassword(std::string_view text) {
    return text.size() <= static_cast<std::size_t>(kPasswordLimit);
}

}  // namespace lanterna::dialogs
