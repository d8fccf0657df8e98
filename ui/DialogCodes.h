#pragma once
// Numbers that dialogs, the message service and posted messages share: end codes, message-box
// flags and the base of the application's own window messages. The values are those of the
// platform the dialogs were first written for, so that numbers stored in code keep their meaning.

#include <cstdint>

namespace ui {

// Parameters of a posted message. Both are signed so that results such as -1 travel unchanged.
using WParam = std::intptr_t;
using LParam = std::intptr_t;

// First number of the application's own messages; dialogs post WM_USER + n.
inline constexpr unsigned WM_USER = 0x0400;

// End codes of dialogs and message boxes (also the ids of the buttons that produce them).
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// Message-box flags: the lowest four bits choose the buttons, bits 0xF0 the icon.
inline constexpr unsigned MB_OK = 0x00;
inline constexpr unsigned MB_YESNO = 0x04;
inline constexpr unsigned MB_ICONSTOP = 0x10;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x30;
inline constexpr unsigned MB_ICONINFORMATION = 0x40;
inline constexpr unsigned MB_BUTTONMASK = 0x0F;
inline constexpr unsigned MB_ICONMASK = 0xF0;

}  // namespace ui
