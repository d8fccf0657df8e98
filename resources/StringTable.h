#pragma once
// The string table: every text the user reads, by id, in Korean (the system's own language) and
// in English. The texts are UTF-8 and come from resources/strings.tsv, compiled into the program
// at build time. The table is constant data, so every function here may be called from any
// thread.

#include <span>
#include <string_view>

#include "platform/UserLanguage.h"
#include "resources/StringIds.h"  // IWYU pragma: export

namespace lanterna {

struct StringEntry {
    int id;
    std::string_view korean;
    std::string_view english;

    std::string_view Text(Language language) const {
        return language == Language::Korean ? korean : english;
    }
};

// The text of `id` in the user's language (UserLanguage()), or the empty text for an id the
// table does not hold. The view stays valid for the life of the program, its data() is never
// null and is followed by a zero byte.
std::string_view LoadString(int id);

// The same in `language`.
std::string_view LoadString(int id, Language language);

// Every entry, in increasing order of id.
std::span<const StringEntry> StringTableEntries();

}  // namespace lanterna
