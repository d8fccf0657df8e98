#pragma once
// The one road of every message box. The application sets the handler (its own message
// dialog) at start-up; until then a plain Qt message box stands in. Tests answer message boxes
// through ui/TestHooks.h without any window.

#include <QWidget>
#include <functional>
#include <string>
#include <string_view>

namespace ui {

// Shows `text` with `caption` and the buttons and icon that `flags` select (MB_* in
// DialogCodes.h) and returns the end code (IDOK, IDYES, IDNO, IDCANCEL). Runs on the
// user-interface thread.
using MessageBoxHandler = std::function<int(QWidget* owner, const std::string& text,
                                            const std::string& caption, unsigned flags)>;

// Replaces the handler; an empty function restores the stand-in. Call on the user-interface
// thread while no message box is open.
void SetMessageBoxHandler(MessageBoxHandler handler);

// Shows a message box owned by `owner` (may be null) and returns its end code. May be called
// from any thread: off the user-interface thread it waits until the user-interface thread has
// shown the box and the user has answered, so the user-interface thread must not wait for the
// caller meanwhile.
int ShowMessageBox(QWidget* owner, std::string_view text, std::string_view caption, unsigned flags);

// Texts by string-table id, from the program's string table (resources/StringTable.h, shared
// with lanternactl). A loader set here replaces the table (tests); an empty one restores it.
using StringLoader = std::function<std::string(int stringId)>;
void SetStringLoader(StringLoader loader);
std::string LoadUiString(int stringId);

// ShowMessageBox with the text of `stringId` and the application name as caption.
int ShowStringMessage(QWidget* owner, int stringId, unsigned flags);

// The same for a string whose details have been filled in: `text` is what string `stringId`
// became.
int ShowStringMessageWithText(QWidget* owner, int stringId, std::string_view text,
                              unsigned flags);

}  // namespace ui
