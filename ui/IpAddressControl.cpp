#include "ui/IpAddressControl.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "resources/StringIds.h"
#include "ui/DialogCodes.h"
#include "ui/MessageBox.h"

namespace ui {
namespace {

bool IsAllDigits(const QString& text) {
    for (const QChar character : text) {
        if (character < QLatin1Char('0') || character > QLatin1Char('9')) {
            return false;
        }
    }
    return true;
}

// The control is one group of four fields for the accessibility interface (a plain frame would
// be reported as a border).
QAccessibleInterface* AccessibleAddressControl(const QString& className, QObject* object) {
    if (className != QLatin1String(CIpAddressControl::staticMetaObject.className()) ||
        !object->isWidgetType()) {
        return nullptr;
    }
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Grouping);
}

void InstallAccessibleFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(AccessibleAddressControl);
        return true;
    }();
    (void)installed;
}

}  // namespace

// One octet field: a frameless edit of at most three characters whose keys follow the
// platform control.
class CIpAddressControl::OctetField : public QLineEdit {
  public:
    OctetField(CIpAddressControl& control, int index)
        : QLineEdit(&control), control_(control), index_(index) {
        setFrame(false);
        setMaxLength(3);
        setAlignment(Qt::AlignCenter);
    }

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (HandleNavigation(*event)) {
            return;
        }
        const QString typed = event->text();
        const bool plainKey =
            (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) == 0;
        if (!plainKey || typed.isEmpty() || !typed.at(0).isPrint()) {
            QLineEdit::keyPressEvent(event);
            return;
        }
        if (typed == QLatin1String(".") || typed == QLatin1String(" ")) {
            if (!text().isEmpty() && !hasSelectedText() && cursorPosition() != 0 && index_ < 3) {
                control_.MoveToField(index_ + 1, true, false);
            }
            return;
        }
        if (typed.size() != 1 || !typed.at(0).isDigit() || typed.at(0).unicode() > '9') {
            return;  // only digits can be typed; other characters are dropped
        }
        TypeDigit(event);
    }

  private:
    void TypeDigit(QKeyEvent* event) {
        const bool atEnd = !hasSelectedText() && cursorPosition() == text().size();
        if (text().size() == 3 && atEnd) {
            if (index_ < 3) {
                control_.MoveToField(index_ + 1, true, false);
            }
            return;
        }
        if (text().size() == 3 && !hasSelectedText()) {
            return;  // a full field takes no more digits
        }
        const bool completes = text().size() == 2 && atEnd;
        control_.constrained_ = false;
        QLineEdit::keyPressEvent(event);
        if (completes && !control_.constrained_ && index_ < 3) {
            control_.MoveToField(index_ + 1, true, false);
        }
    }

    bool HandleNavigation(const QKeyEvent& event) {
        if (event.modifiers() != Qt::NoModifier && event.modifiers() != Qt::KeypadModifier) {
            return false;
        }
        const bool noSelection = !hasSelectedText();
        if ((event.key() == Qt::Key_Backspace || event.key() == Qt::Key_Left) && noSelection &&
            cursorPosition() == 0 && index_ > 0) {
            control_.MoveToField(index_ - 1, false, true);
            return true;
        }
        if (event.key() == Qt::Key_Right && noSelection && cursorPosition() == text().size() &&
            index_ < 3) {
            control_.MoveToField(index_ + 1, false, false);
            return true;
        }
        return false;
    }

    CIpAddressControl& control_;
    int index_;
};

CIpAddressControl::CIpAddressControl(QWidget* parent) : QFrame(parent) {
    InstallAccessibleFactory();
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(0);
    for (int field = 0; field < kFieldCount; ++field) {
        if (field > 0) {
            auto* dot = new QLabel(QStringLiteral("."), this);
            dot->setAlignment(Qt::AlignCenter);
            layout->addWidget(dot);
        }
        fields_[field] = new OctetField(*this, field);
        fields_[field]->setAccessibleName(QString::number(field + 1));
        layout->addWidget(fields_[field], 1);
        connect(fields_[field], &QLineEdit::textChanged, this,
                [this, field] { OnFieldTextChanged(field); });
    }
    setFocusProxy(fields_[0]);
    setFocusPolicy(Qt::StrongFocus);
}

CIpAddressControl::~CIpAddressControl() = default;

int CIpAddressControl::FilledFieldCount() const {
    int filled = 0;
    for (const OctetField* field : fields_) {
        filled += field->text().isEmpty() ? 0 : 1;
    }
    return filled;
}

int CIpAddressControl::FirstBlankField() const {
    for (int field = 0; field < kFieldCount; ++field) {
        if (fields_[field]->text().isEmpty()) {
            return field;
        }
    }
    return -1;
}

int CIpAddressControl::GetAddress(lanterna::Octets& octets) const {
    for (int field = 0; field < kFieldCount; ++field) {
        const int value = fields_[field]->text().toInt();  // blank reads as 0
        octets[field] = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
    }
    return FilledFieldCount();
}

void CIpAddressControl::SetAddress(const lanterna::Octets& octets) {
    for (int field = 0; field < kFieldCount; ++field) {
        fields_[field]->setText(QString::number(octets[field]));
    }
}

void CIpAddressControl::ClearAddress() {
    for (OctetField* field : fields_) {
        field->clear();
    }
}

void CIpAddressControl::SetFieldFocus(int field) {
    if (field < 0 || field >= kFieldCount) {
        const int blank = FirstBlankField();
        field = blank < 0 ? 0 : blank;
    }
    MoveToField(field, true, false);
}

int CIpAddressControl::FocusedField() const {
    const QWidget* focus = window()->focusWidget();
    for (int field = 0; field < kFieldCount; ++field) {
        if (fields_[field] == focus) {
            return field;
        }
    }
    return -1;
}

QString CIpAddressControl::FieldText(int field) const {
    return field >= 0 && field < kFieldCount ? fields_[field]->text() : QString();
}

void CIpAddressControl::SetFieldText(int field, const QString& text) {
    if (field >= 0 && field < kFieldCount) {
        fields_[field]->setText(text.left(3));
    }
}

QLineEdit* CIpAddressControl::Field(int field) const {
    return field >= 0 && field < kFieldCount ? fields_[field] : nullptr;
}

QString CIpAddressControl::Text() const {
    QStringList parts;
    for (const OctetField* field : fields_) {
        parts.push_back(field->text());
    }
    return parts.join(QLatin1Char('.'));
}

void CIpAddressControl::SetText(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('.'));
    for (int field = 0; field < kFieldCount; ++field) {
        SetFieldText(field, field < parts.size() ? parts[field] : QString());
    }
}

void CIpAddressControl::OnFieldTextChanged(int field) {
    const QString text = fields_[field]->text();
    if (!IsAllDigits(text)) {
        // The new text triggers this handler once more, with a digit.
        fields_[field]->setText(QStringLiteral("0"));
        ShowStringMessage(window(), lanterna::kStringAddressFieldRange, MB_ICONEXCLAMATION);
        return;
    }
    if (ConstrainField(field)) {
        return;  // the corrected text has been reported by the nested change
    }
    emit fieldChanged(field);
    emit changed();
}

bool CIpAddressControl::ConstrainField(int field) {
    const QString text = fields_[field]->text();
    if (text.isEmpty() || text.toInt() <= 255) {
        return false;
    }
    constrained_ = true;
    fields_[field]->setText(QStringLiteral("255"));
    return true;
}

void CIpAddressControl::MoveToField(int field, bool selectAll, bool caretAtEnd) {
    OctetField* target = fields_[field];
    target->setFocus(Qt::OtherFocusReason);
    if (selectAll) {
        target->selectAll();
    } else {
        target->setCursorPosition(caretAtEnd ? static_cast<int>(target->text().size()) : 0);
    }
}

}  // namespace ui
