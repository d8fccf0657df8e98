#include "dialogs/MessageDialog.h"

#include <array>

#include "dialogs/DialogIds.h"
#include "ui/DialogCodes.h"

namespace lanterna::dialogs {

CMessageDialog::CMessageDialog(std::string_view text, std::string_view caption, unsigned flags,
                               QWidget* owner)
    : skin::CSkinDialog(kMessageTemplate, owner), text_(text), caption_(caption), flags_(flags) {
    OnCommand(ui::IDYES, ui::Notify::Clicked, [this] { EndDialog(ui::IDYES); });
    OnCommand(ui::IDNO, ui::Notify::Clicked, [this] { EndDialog(ui::IDNO); });
}

int CMessageDialog::Show(QWidget* owner, std::string_view text, std::string_view caption,
                         unsigned flags) {
    CMessageDialog dialog(text, caption, flags, owner);
    return dialog.DoModal();
}

int CMessageDialog::IconControlOf(unsigned flags) {
    switch (flags & ui::MB_ICONMASK) {
        case ui::MB_ICONSTOP:
            return kStopControl;
        case ui::MB_ICONQUESTION:
            return kQuestionControl;
        case ui::MB_ICONEXCLAMATION:
            return kExclamationControl;
        case ui::MB_ICONINFORMATION:
            return kInformationControl;
        default:
            return 0;
    }
}

bool CMessageDialog::HasYesNo(unsigned flags) {
    return (flags & ui::MB_BUTTONMASK) == ui::MB_YESNO;
}

bool CMessageDialog::OnInitDialog() {
    SetDlgItemText(kTextControl, text_);
    SetWindowText(caption_);
    const bool yesNo = HasYesNo(flags_);
    ShowDlgItem(ui::IDOK, !yesNo);
    ShowDlgItem(ui::IDYES, yesNo);
    ShowDlgItem(ui::IDNO, yesNo);
    // The default-button bits of the flags are ignored: Yes is the default of a question.
    SetDefaultButton(yesNo ? ui::IDYES : ui::IDOK);
    constexpr std::array kIconControls{kExclamationControl, kInformationControl, kQuestionControl,
                                       kStopControl};
    for (const int icon : kIconControls) {
        ShowDlgItem(icon, false);
    }
    if (const int icon = IconControlOf(flags_); icon != 0) {
        ShowDlgItem(icon, true);
    }
    if (QWidget* owner = Owner(); owner != nullptr) {
        owner->activateWindow();
    }
    raise();
    activateWindow();
    GotoDlgCtrl(DefaultButton());
    return false;
}

}  // namespace lanterna::dialogs
