#include "resources/TextPattern.h"

#include "resources/StringTable.h"

namespace lanterna {

std::string FillPattern(std::string_view pattern, std::initializer_list<std::string_view> values) {
    std::string text;
    text.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const bool placeholder = pattern[i] == '{' && i + 2 < pattern.size() &&
                                 pattern[i + 1] >= '1' && pattern[i + 1] <= '9' &&
                                 pattern[i + 2] == '}';
        const auto index = placeholder ? static_cast<std::size_t>(pattern[i + 1] - '1') : 0;
        if (placeholder && index < values.size()) {
            text += *(values.begin() + index);
            i += 2;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

std::string FormatString(int id, Language language,
                         std::initializer_list<std::string_view> values) {
    return FillPattern(LoadString(id, language), values);
}

}  // namespace lanterna
