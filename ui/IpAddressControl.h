#pragma once
// The address control that every dialog uses for IPv4 addresses: four octet fields.
//
// A field is blank or holds one to three digits. Typing behaves like the platform's control:
// only digits enter a field; '.' or a space after a digit moves to the next field; the third
// digit moves on unless the value had to be brought back to 255; Backspace or Left at the start
// of a field goes to the previous one, Right at its end to the next. A value above 255 becomes
// 255 as soon as it is entered.
// Filter shared by all dialogs: when a field's text changes (a paste, or text set by the
// program) and holds a character that is not a digit, the field becomes "0" and string 182 is
// shown with the warning icon through the message service (ui/MessageBox.h).
// Any change of a field emits changed(); the dialog reports it as Notify::TextChanged.
// The accessibility interface sees the control as one group (named by the dialog after its
// label) holding four editable texts named "1" to "4".

#include <QFrame>
#include <QString>
#include <array>

#include "record/DottedAddress.h"

class QLineEdit;

namespace ui {

class CIpAddressControl : public QFrame {
    Q_OBJECT

  public:
    static constexpr int kFieldCount = 4;
    // SetFieldFocus with this value focuses the first blank field, or the first field when
    // none is blank (the focus rule after a failed check).
    static constexpr int kFirstBlankField = 4;

    explicit CIpAddressControl(QWidget* parent = nullptr);
    ~CIpAddressControl() override;

    // Number of fields that are not blank (0 to 4).
    int FilledFieldCount() const;
    bool IsBlank() const { return FilledFieldCount() == 0; }
    // Index of the first blank field, -1 when all four are filled.
    int FirstBlankField() const;

    // Reads the four octets, blank fields as 0; returns FilledFieldCount().
    int GetAddress(lanterna::Octets& octets) const;
    // Fills all four fields.
    void SetAddress(const lanterna::Octets& octets);
    // Makes all four fields blank.
    void ClearAddress();

    // Focuses field 0..3 with its text selected; kFirstBlankField (or any value above 3) picks
    // the first blank field or, with none blank, the first field.
    void SetFieldFocus(int field);
    // The field holding the focus within this window, -1 when none does.
    int FocusedField() const;

    QString FieldText(int field) const;
    // Sets a field's text as a paste would arrive: the filter and the 255 limit apply.
    void SetFieldText(int field, const QString& text);
    QLineEdit* Field(int field) const;

    // The fields' texts joined by '.', e.g. "192.168.." for two filled fields.
    QString Text() const;
    // Splits `text` at '.' into the fields in order (through SetFieldText); missing parts blank.
    void SetText(const QString& text);

  signals:
    void changed();
    void fieldChanged(int field);

  private:
    class OctetField;
    friend class OctetField;

    void OnFieldTextChanged(int field);
    void MoveToField(int field, bool selectAll, bool caretAtEnd);
    bool ConstrainField(int field);

    std::array<OctetField*, kFieldCount> fields_{};
    bool constrained_ = false;  // set when a change was brought back to 255
};

}  // namespace ui
