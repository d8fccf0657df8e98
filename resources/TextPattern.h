#pragma once
// Texts of the string table with values in them. "{1}" to "{9}" stand for the values in the order
// the caller gives them, so that a translation may put them in the order its language needs.

#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/UserLanguage.h"

namespace lanterna {

// `pattern` with every "{N}" (N from 1 to 9) replaced by the N-th of `values`. A "{N}" without a
// value and every other character stay as they are; a value is never searched for placeholders.
std::string FillPattern(std::string_view pattern, std::initializer_list<std::string_view> values);

// The text of string `id` in `language`, filled with `values`.
std::string FormatString(int id, Language language,
                         std::initializer_list<std::string_view> values = {});

}  // namespace lanterna
