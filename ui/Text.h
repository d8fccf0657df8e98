#pragma once
// Texts cross between the core and the widgets here: the core holds UTF-8 byte strings whose
// lengths are byte counts, the widgets hold QString.

#include <QString>
#include <cstddef>
#include <string>
#include <string_view>

namespace ui {

QString ToQString(std::string_view utf8);
std::string ToUtf8(const QString& text);

// Number of bytes `text` takes in UTF-8.
std::size_t Utf8Length(const QString& text);

// The longest prefix of `text` whose UTF-8 form fits in `limit` bytes, never ending inside a
// character (a surrogate pair stays whole).
QString TruncateToUtf8Bytes(const QString& text, std::size_t limit);

// Bytes that the character starting at `text[index]` takes in UTF-8 (a surrogate pair counts as
// one character of 4 bytes), and how many QChar it spans.
std::size_t Utf8LengthAt(const QString& text, qsizetype index, qsizetype* span = nullptr);

}  // namespace ui
