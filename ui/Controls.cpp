#include "ui/Controls.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QValidator>
#include <algorithm>

#include "ui/IpAddressControl.h"
#include "ui/ListView.h"
#include "ui/TableView.h"
#include "ui/ResourceImages.h"
#include "ui/Text.h"

namespace ui {

// Judges every user edit of a CEdit. QLineEdit applies the text this returns, so an
// over-long insertion is cut here to the characters that fit.
class CEdit::InputValidator : public QValidator {
  public:
    explicit InputValidator(CEdit& edit) : QValidator(&edit), edit_(edit) {}

    State validate(QString& input, int& position) const override {
        if (edit_.settingFromProgram_) {
            return Acceptable;
        }
        // The inserted run is what lies between the parts shared with the text before.
        const QString& before = edit_.accepted_;
        qsizetype prefix = 0;
        const qsizetype shorter = std::min(before.size(), input.size());
        while (prefix < shorter && before.at(prefix) == input.at(prefix)) {
            ++prefix;
        }
        qsizetype suffix = 0;
        while (suffix < shorter - prefix &&
               before.at(before.size() - 1 - suffix) == input.at(input.size() - 1 - suffix)) {
            ++suffix;
        }
        const qsizetype insertStart = prefix;
        qsizetype insertEnd = input.size() - suffix;
        if (edit_.digitsOnly_) {
            for (qsizetype index = insertStart; index < insertEnd; ++index) {
                if (input.at(index) < QLatin1Char('0') || input.at(index) > QLatin1Char('9')) {
                    return Invalid;
                }
            }
        }
        if (edit_.limitBytes_ <= 0) {
            return Acceptable;
        }
        const auto limit = static_cast<std::size_t>(edit_.limitBytes_);
        std::size_t length = Utf8Length(input);
        if (length <= limit || length <= Utf8Length(before)) {
            return Acceptable;  // within the limit, or not growing (deleting stays possible)
        }
        // Drop whole characters from the end of the inserted run until the text fits.
        while (length > limit && insertEnd > insertStart) {
            qsizetype start = insertEnd - 1;
            if (start > insertStart && QChar::isLowSurrogate(input.at(start).unicode()) &&
                QChar::isHighSurrogate(input.at(start - 1).unicode())) {
                --start;
            }
            length -= Utf8LengthAt(input, start);
            input.remove(start, insertEnd - start);
            insertEnd = start;
        }
        if (insertEnd == insertStart || length > limit) {
            return Invalid;  // nothing fits: the edit stays as it was, selection included
        }
        position = static_cast<int>(insertEnd);
        return Acceptable;
    }

  private:
    CEdit& edit_;
};

CEdit::CEdit(QWidget* parent) : QLineEdit(parent) {
    validator_ = new InputValidator(*this);  // owned by this edit as its QObject parent
    setValidator(validator_);
    connect(this, &QLineEdit::textChanged, this,
            [this](const QString& text) { RememberText(text); });
}

CEdit::~CEdit() = default;

void CEdit::RememberText(const QString& text) {
    accepted_ = text;
}

void CEdit::SetTextLimit(int bytes) {
    limitBytes_ = bytes < 0 ? 0 : bytes;
}

void CEdit::SetDigitsOnly(bool digitsOnly) {
    digitsOnly_ = digitsOnly;
}

void CEdit::SetPassword(bool password) {
    setEchoMode(password ? QLineEdit::Password : QLineEdit::Normal);
}

bool CEdit::IsPassword() const {
    return echoMode() == QLineEdit::Password;
}

void CEdit::SetTextFromProgram(const QString& text) {
    settingFromProgram_ = true;
    setText(text);
    settingFromProgram_ = false;
    accepted_ = this->text();
}

CCheckBox::CCheckBox(QWidget* parent) : QCheckBox(parent) {}

void CCheckBox::SetThreeState(bool threeState) {
    setTristate(threeState);
}

int CCheckBox::CheckState() const {
    switch (checkState()) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        default:
            return 0;
    }
}

void CCheckBox::SetCheckState(int state) {
    if (state == 2 && isTristate()) {
        setCheckState(Qt::PartiallyChecked);
    } else {
        setCheckState(state != 0 ? Qt::Checked : Qt::Unchecked);
    }
}

void CCheckBox::nextCheckState() {
    if (manual_) {
        return;
    }
    if (!isTristate()) {
        SetCheckState(CheckState() == 0 ? 1 : 0);
        return;
    }
    SetCheckState((CheckState() + 1) % 3);
}

CRadioButton::CRadioButton(QWidget* parent) : QRadioButton(parent) {
    setAutoExclusive(false);  // the dialog keeps groups exclusive by template order
}

void CRadioButton::nextCheckState() {
    if (!manual_) {
        setChecked(true);
    }
}

CProgressBar::CProgressBar(QWidget* parent) : QProgressBar(parent) {
    setTextVisible(false);
    setRange(0, 100);
    setValue(0);
}

void CProgressBar::StepIt() {
    const long long next = static_cast<long long>(value()) + step_;
    setValue(static_cast<int>(std::clamp<long long>(next, minimum(), maximum())));
}

namespace {

Qt::Alignment LabelAlignment(const ControlTemplate& control) {
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (control.Has(ControlStyle::Center)) {
        horizontal = Qt::AlignHCenter;
    } else if (control.Has(ControlStyle::Right)) {
        horizontal = Qt::AlignRight;
    }
    return horizontal | Qt::AlignTop;
}

}  // namespace

void SetUpButton(QPushButton& button, const ControlTemplate& control) {
    button.setText(ToQString(control.text));
    button.setAutoDefault(false);  // the dialog, not the button, decides what Enter does
    button.setDefault(control.Has(ControlStyle::Default));
    button.setFlat(control.Has(ControlStyle::Flat));
}

void SetUpLabel(QLabel& label, const ControlTemplate& control) {
    label.setText(ToQString(control.text));
    label.setTextFormat(Qt::PlainText);
    label.setWordWrap(true);
    label.setAlignment(LabelAlignment(control));
}

void SetUpCheckBox(CCheckBox& box, const ControlTemplate& control) {
    box.setText(ToQString(control.text));
    box.SetThreeState(control.Has(ControlStyle::ThreeState));
    box.SetManual(control.Has(ControlStyle::Manual));
}

void SetUpRadioButton(CRadioButton& radio, const ControlTemplate& control) {
    radio.setText(ToQString(control.text));
    radio.SetManual(control.Has(ControlStyle::Manual));
}

void SetUpIcon(QLabel& label, const ControlTemplate& control) {
    label.setPixmap(LoadIconPixmap(control.image, kIconSize));
    label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

namespace {

template <class Control, class SetUp>
QWidget* Make(const ControlTemplate& control, QWidget* parent, SetUp setUp) {
    auto* widget = new Control(parent);
    setUp(*widget, control);
    return widget;
}

QWidget* MakeEdit(const ControlTemplate& control, QWidget* parent) {
    auto* edit = new CEdit(parent);
    edit->SetTextLimit(control.textLimit);
    edit->SetDigitsOnly(control.Has(ControlStyle::Digits));
    edit->SetPassword(control.Has(ControlStyle::Password));
    edit->setReadOnly(control.Has(ControlStyle::ReadOnly));
    edit->SetTextFromProgram(ToQString(control.text));
    return edit;
}

QWidget* MakeGroupBox(const ControlTemplate& control, QWidget* parent) {
    auto* box = new QGroupBox(ToQString(control.text), parent);
    // Controls inside a group box are its siblings; the box must never cover or catch them.
    box->setAttribute(Qt::WA_TransparentForMouseEvents);
    return box;
}

QWidget* MakeSeparator(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QWidget* MakeComboBox(const ControlTemplate& control, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    for (const std::string& item : control.items) {
        combo->addItem(ToQString(item));
    }
    combo->setCurrentIndex(-1);
    return combo;
}

}  // namespace

QWidget* CreateStandardControl(const ControlTemplate& control, QWidget* parent) {
    switch (control.kind) {
        case ControlKind::Button:
        case ControlKind::DefaultButton:
            return Make<QPushButton>(control, parent, SetUpButton);
        case ControlKind::Label:
            return Make<QLabel>(control, parent, SetUpLabel);
        case ControlKind::Edit:
            return MakeEdit(control, parent);
        case ControlKind::CheckBox:
            return Make<CCheckBox>(control, parent, SetUpCheckBox);
        case ControlKind::RadioButton:
            return Make<CRadioButton>(control, parent, SetUpRadioButton);
        case ControlKind::GroupBox:
            return MakeGroupBox(control, parent);
        case ControlKind::Icon:
            return Make<QLabel>(control, parent, SetUpIcon);
        case ControlKind::IpAddress:
            return new CIpAddressControl(parent);
        case ControlKind::ListView:
            return new CListView(parent);
        case ControlKind::ProgressBar:
            return new CProgressBar(parent);
        case ControlKind::Separator:
            return MakeSeparator(parent);
        case ControlKind::ComboBox:
            return MakeComboBox(control, parent);
        case ControlKind::Table:
            return new CTableView(parent);
    }
    return nullptr;
}

}  // namespace ui
