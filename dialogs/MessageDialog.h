#pragma once
// CMessageDialog (template 146): the application's own message box. A text, OK alone or Yes
// and No, and one of four icons, chosen by a flag word laid out like the platform's
// message-box flags: the low four bits equal to 4 give Yes and No (Yes is always the default
// button), bits 0xF0 choose the icon (0x10 stop, 0x20 question, 0x30 exclamation, 0x40
// information); every other bit is ignored.
//
// Ends with 1 (OK), 6 (Yes), 7 (No), or 2 when closed by Escape or the close box.

#include <string>
#include <string_view>

#include "skin/SkinDialog.h"

namespace lanterna::dialogs {

class CMessageDialog : public skin::CSkinDialog {
  public:
    static constexpr int kTextControl = 1095;
    static constexpr int kExclamationControl = 1200;
    static constexpr int kInformationControl = 1201;
    static constexpr int kQuestionControl = 1202;
    static constexpr int kStopControl = 1203;

    // `owner` (may be null) is activated when the message opens.
    CMessageDialog(std::string_view text, std::string_view caption, unsigned flags,
                   QWidget* owner = nullptr);

    // Runs a message modally and returns its end code.
    static int Show(QWidget* owner, std::string_view text, std::string_view caption,
                    unsigned flags);

    // The icon control that `flags` select, 0 for none.
    static int IconControlOf(unsigned flags);
    static bool HasYesNo(unsigned flags);

  protected:
    bool OnInitDialog() override;

  private:
    std::string text_;
    std::string caption_;
    unsigned flags_;
};

}  // namespace lanterna::dialogs
