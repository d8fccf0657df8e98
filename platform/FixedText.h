#pragma once
// Fixed-size, zero-terminated byte texts as the record and the application state hold them.
// Every copy into such a field goes through CopyText, which cuts the text to the field and
// zero-fills the rest, so a field always ends with at least one zero byte.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace lanterna {

template <std::size_t N>
using FixedText = std::array<char, N>;

// The text up to the first zero byte (or the whole field if it has none).
template <std::size_t N>
std::string_view TextOf(const FixedText<N>& field) {
    const auto* end = std::find(field.begin(), field.end(), '\0');
    return std::string_view(field.data(), static_cast<std::size_t>(end - field.begin()));
}

// Copies at most min(N - 1, limit) bytes of `text` into `field` and zero-fills behind it.
template <std::size_t N>
void CopyText(FixedText<N>& field, std::string_view text, std::size_t limit = N - 1) {
    static_assert(N > 0);
    const std::size_t count = std::min({text.size(), N - 1, limit});
    if (count > 0) {  // an empty view may carry a null pointer, which memcpy must not see
        std::memcpy(field.data(), text.data(), count);
    }
    std::memset(field.data() + count, 0, N - count);
}

template <std::size_t N>
bool IsEmptyText(const FixedText<N>& field) {
    return field[0] == '\0';
}

// The same cut-and-fill for a raw byte buffer of `size` bytes (size 0 writes nothing).
inline void CopyTextToBuffer(char* buffer, std::size_t size, std::string_view text) {
    if (buffer == nullptr || size == 0) {
        return;
    }
    const std::size_t count = std::min(text.size(), size - 1);
    if (count > 0) {
        std::memcpy(buffer, text.data(), count);
    }
    std::memset(buffer + count, 0, size - count);
}

}  // namespace lanterna
