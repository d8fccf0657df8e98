#pragma once
// Text from outside (what a projector names itself, its community, a mail address it reports),
// made safe to show: on a terminal nothing may drive the terminal, and nowhere may a
// bidirectional control character reorder what stands around it ("ROOM<U+202E>exe.1" shown as
// "ROOM1.exe", an address line shown backwards). The controls are the embeddings and overrides
// U+202A-U+202E, the isolates U+2066-U+2069, the marks U+200E, U+200F and U+061C. Qt-free, for
// the command line and the window alike.

#include <cstddef>
#include <string>
#include <string_view>

namespace lanterna {

// Whether `codePoint` is one of the bidirectional controls above.
bool IsBidiControl(char32_t codePoint);

// `text` as it may be printed on a terminal (and in CSV): control bytes (C0, DEL and the C1
// controls), bytes that are not UTF-8 and the backslash itself are written as \xNN (the
// backslash as \\), a bidirectional control as \uNNNN, so that nothing a projector sends can
// move the cursor, retitle the window or reorder a line.
std::string TerminalText(std::string_view text);

// The columns a terminal gives `text` (UTF-8, as TerminalText leaves it): two for a Hangul or
// other East Asian wide character, one for any other character or stray byte.
std::size_t TerminalColumns(std::string_view text);

// JSON text (UTF-8) with every bidirectional control written as a \uNNNN escape: the same JSON,
// with nothing in it that reorders a line where it is shown raw.
std::string JsonWithoutRawBidi(std::string_view json);

// `text` (UTF-8) with each bidirectional control shown as a visible mark ("[U+202E]").
std::string VisibleBidiMarks(std::string_view text);

// VisibleBidiMarks of `text` set apart from what stands around it (between FIRST STRONG
// ISOLATE and POP DIRECTIONAL ISOLATE), so that its own letters cannot reorder the line beside
// or below it: each projector's name above its address. A text that holds neither a control nor
// a right-to-left letter cannot reorder anything and comes back as it is.
std::string IsolatedForDisplay(std::string_view text);

}  // namespace lanterna
