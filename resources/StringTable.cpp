#include "resources/StringTable.h"

#include <algorithm>

namespace lanterna {

std::string_view LoadString(int id) {
    return LoadString(id, UserLanguage());
}

std::string_view LoadString(int id, Language language) {
    const std::span<const StringEntry> entries = StringTableEntries();
    const auto found =
        std::lower_bound(entries.begin(), entries.end(), id,
                         [](const StringEntry& entry, int wanted) { return entry.id < wanted; });
    if (found == entries.end() || found->id != id) {
        return std::string_view("");
    }
    return found->Text(language);
}

}  // namespace lanterna
