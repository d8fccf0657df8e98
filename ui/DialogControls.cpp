// Control access by id: the part of CDialog that reads and sets its controls.
#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/Controls.h"
#include "ui/Dialog.h"
#include "ui/IpAddressControl.h"
#include "ui/ListView.h"
#include "ui/Text.h"

namespace ui {

const CDialog::Control* CDialog::FindControl(int controlId) const {
    for (const Control& control : controls_) {
        if (control.id == controlId) {
            return &control;
        }
    }
    return nullptr;
}

int CDialog::ControlIdOf(const QWidget* widget) const {
    // The control is the ancestor of `widget` that sits directly on the client area.
    while (widget != nullptr && widget->parentWidget() != ClientArea()) {
        widget = widget->parentWidget();
    }
    if (widget == nullptr) {
        return 0;
    }
    for (const Control& control : controls_) {
        if (control.widget == widget) {
            return control.id;
        }
    }
    return 0;
}

void CDialog::OnFocusChanged(QWidget* previous, QWidget* current) {
    const int before = ControlIdOf(previous);
    const int after = ControlIdOf(current);
    if (before == after) {
        return;  // e.g. from one field of an address control to the next
    }
    if (before != 0) {
        Dispatch(before, Notify::FocusLost);
    }
    if (after != 0) {
        Dispatch(after, Notify::FocusGained);
    }
}

QWidget* CDialog::GetDlgItem(int controlId) const {
    const Control* control = FindControl(controlId);
    return control != nullptr ? control->widget : nullptr;
}

CEdit* CDialog::Edit(int controlId) const {
    return GetDlgItemAs<CEdit>(controlId);
}

CIpAddressControl* CDialog::IpAddress(int controlId) const {
    return GetDlgItemAs<CIpAddressControl>(controlId);
}

CListView* CDialog::ListView(int controlId) const {
    return GetDlgItemAs<CListView>(controlId);
}

CProgressBar* CDialog::ProgressBar(int controlId) const {
    return GetDlgItemAs<CProgressBar>(controlId);
}

std::vector<int> CDialog::ControlIds() const {
    std::vector<int> ids;
    for (const Control& control : controls_) {
        ids.push_back(control.id);
    }
    return ids;
}

std::string CDialog::GetDlgItemText(int controlId) const {
    const QWidget* widget = GetDlgItem(controlId);
    if (const auto* edit = dynamic_cast<const QLineEdit*>(widget)) {
        return ToUtf8(edit->text());
    }
    if (const auto* label = dynamic_cast<const QLabel*>(widget)) {
        return ToUtf8(label->text());
    }
    if (const auto* button = dynamic_cast<const QAbstractButton*>(widget)) {
        return ToUtf8(button->text());
    }
    if (const auto* address = dynamic_cast<const CIpAddressControl*>(widget)) {
        return ToUtf8(address->Text());
    }
    if (const auto* combo = dynamic_cast<const QComboBox*>(widget)) {
        return ToUtf8(combo->currentText());
    }
    if (const auto* box = dynamic_cast<const QGroupBox*>(widget)) {
        return ToUtf8(box->title());
    }
    return {};
}

void CDialog::SetDlgItemText(int controlId, std::string_view text) {
    QWidget* widget = GetDlgItem(controlId);
    const QString value = ToQString(text);
    if (auto* edit = dynamic_cast<CEdit*>(widget)) {
        edit->SetTextFromProgram(value);
    } else if (auto* line = dynamic_cast<QLineEdit*>(widget)) {
        line->setText(value);
    } else if (auto* label = dynamic_cast<QLabel*>(widget)) {
        label->setText(value);
        RenameControlsOf(label);
    } else if (auto* button = dynamic_cast<QAbstractButton*>(widget)) {
        button->setText(value);
    } else if (auto* address = dynamic_cast<CIpAddressControl*>(widget)) {
        address->SetText(value);
    } else if (auto* combo = dynamic_cast<QComboBox*>(widget)) {
        combo->setCurrentIndex(combo->findText(value));
    } else if (auto* box = dynamic_cast<QGroupBox*>(widget)) {
        box->setTitle(value);
    }
}

int CDialog::IsDlgButtonChecked(int controlId) const {
    const QWidget* widget = GetDlgItem(controlId);
    if (const auto* box = dynamic_cast<const CCheckBox*>(widget)) {
        return box->CheckState();
    }
    if (const auto* button = dynamic_cast<const QAbstractButton*>(widget)) {
        return button->isChecked() ? 1 : 0;
    }
    return 0;
}

void CDialog::CheckDlgButton(int controlId, int state) {
    QWidget* widget = GetDlgItem(controlId);
    if (auto* box = dynamic_cast<CCheckBox*>(widget)) {
        box->SetCheckState(state);
    } else if (auto* button = dynamic_cast<QAbstractButton*>(widget);
               button != nullptr && button->isCheckable()) {
        button->setChecked(state != 0);
    }
}

void CDialog::CheckRadioButton(int firstId, int lastId, int checkId) {
    for (const Control& control : controls_) {
        if (control.id >= firstId && control.id <= lastId) {
            CheckDlgButton(control.id, control.id == checkId ? 1 : 0);
        }
    }
}

int CDialog::GetCheckedRadioButton(int firstId, int lastId) const {
    for (int id = firstId; id <= lastId; ++id) {
        if (FindControl(id) != nullptr && IsDlgButtonChecked(id) != 0) {
            return id;
        }
    }
    return 0;
}

int CDialog::GetCheckedInGroup(int memberId) const {
    const Control* member = FindControl(memberId);
    if (member == nullptr) {
        return 0;
    }
    for (const Control& control : controls_) {
        const auto* radio = dynamic_cast<const CRadioButton*>(control.widget);
        if (radio != nullptr && control.group == member->group && radio->isChecked()) {
            return control.id;
        }
    }
    return 0;
}

void CDialog::EnableDlgItem(int controlId, bool enable) {
    if (QWidget* widget = GetDlgItem(controlId)) {
        widget->setEnabled(enable);
    }
}

bool CDialog::IsDlgItemEnabled(int controlId) const {
    const QWidget* widget = GetDlgItem(controlId);
    return widget != nullptr && widget->isEnabled();
}

void CDialog::ShowDlgItem(int controlId, bool show) {
    if (QWidget* widget = GetDlgItem(controlId)) {
        widget->setHidden(!show);
    }
}

bool CDialog::IsDlgItemVisible(int controlId) const {
    const QWidget* widget = GetDlgItem(controlId);
    return widget != nullptr && !widget->isHidden();
}

void CDialog::GotoDlgCtrl(int controlId) {
    QWidget* widget = GetDlgItem(controlId);
    if (widget == nullptr) {
        return;
    }
    if (auto* address = dynamic_cast<CIpAddressControl*>(widget)) {
        address->SetFieldFocus(0);
        return;
    }
    widget->setFocus(Qt::OtherFocusReason);
    if (auto* edit = dynamic_cast<QLineEdit*>(widget)) {
        edit->selectAll();
    }
}

int CDialog::GetFocusId() const {
    return ControlIdOf(focusWidget());
}

void CDialog::SetTextLimit(int controlId, int bytes) {
    if (CEdit* edit = Edit(controlId)) {
        edit->SetTextLimit(bytes);
    }
}

void CDialog::SetPasswordStyle(int controlId, bool password) {
    if (CEdit* edit = Edit(controlId)) {
        edit->SetPassword(password);
    }
}

void CDialog::ClickButton(int controlId) {
    auto* button = dynamic_cast<QAbstractButton*>(GetDlgItem(controlId));
    if (button != nullptr && button->isEnabled() && !button->isHidden()) {
        button->click();
    }
}

void CDialog::SetDefaultButton(int controlId) {
    if (auto* previous = dynamic_cast<QPushButton*>(GetDlgItem(defaultId_))) {
        previous->setDefault(false);
    }
    defaultId_ = controlId;
    if (auto* next = dynamic_cast<QPushButton*>(GetDlgItem(controlId))) {
        next->setDefault(true);
    }
}

void CDialog::SetWindowText(std::string_view text) {
    setWindowTitle(ToQString(text));
}

std::string CDialog::GetWindowText() const {
    return ToUtf8(windowTitle());
}

}  // namespace ui
