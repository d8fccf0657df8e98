#pragma once
// The standard controls of the kit and the factory that makes them from a template. A skin
// that draws controls itself derives from these classes (or from the Qt class named for a kind)
// and returns its own objects from CDialog::CreateControl, so the behaviour below stays.
//
// Kind          class made here            class a replacement must derive from
// button        QPushButton                QAbstractButton
// defbutton     QPushButton (default)      QAbstractButton
// label         QLabel (plain text, wraps) QLabel
// edit          CEdit                      CEdit
// check         CCheckBox                  CCheckBox
// radio         CRadioButton               CRadioButton
// group         QGroupBox                  QGroupBox
// icon          QLabel holding the icon    QLabel
// ipaddress     CIpAddressControl          CIpAddressControl
// listview      CListView                  CListView
// progress      CProgressBar               CProgressBar
// hline         QFrame (sunken line)       QFrame
// combo         QComboBox                  QComboBox

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "ui/DialogTemplate.h"

namespace ui {

// A single-line edit whose text limit counts UTF-8 bytes. Typing or pasting past the limit
// keeps only the whole characters that fit; text set by the program is not cut, as with the
// platform's edits. With digits only, input other than the ASCII digits is refused.
class CEdit : public QLineEdit {
  public:
    explicit CEdit(QWidget* parent = nullptr);
    ~CEdit() override;

    void SetTextLimit(int bytes);  // 0 removes the limit
    int TextLimit() const { return limitBytes_; }
    void SetDigitsOnly(bool digitsOnly);
    bool DigitsOnly() const { return digitsOnly_; }
    void SetPassword(bool password);
    bool IsPassword() const;

    // Sets the text without the limit and digit checks (the program's own texts).
    void SetTextFromProgram(const QString& text);

  private:
    class InputValidator;
    friend class InputValidator;
    void RememberText(const QString& text);

    int limitBytes_ = 0;
    bool digitsOnly_ = false;
    bool settingFromProgram_ = false;
    QString accepted_;  // the text before the edit under validation
    InputValidator* validator_ = nullptr;
};

// Check box with the platform's states: 0 unchecked, 1 checked, 2 indeterminate. A click steps
// a two-state box 0 -> 1 -> 0 and a three-state box 0 -> 1 -> 2 -> 0; a manual box keeps its
// state, which only the program changes.
class CCheckBox : public QCheckBox {
  public:
    explicit CCheckBox(QWidget* parent = nullptr);
    void SetThreeState(bool threeState);
    void SetManual(bool manual) { manual_ = manual; }
    int CheckState() const;
    void SetCheckState(int state);  // 2 on a two-state box checks it

  protected:
    void nextCheckState() override;

  private:
    bool manual_ = false;
};

// Radio button that a click only ever checks; the dialog unchecks the others of its group
// (the controls from one "group" style to the next, in template order). A manual radio button
// keeps its state on a click.
class CRadioButton : public QRadioButton {
  public:
    explicit CRadioButton(QWidget* parent = nullptr);
    void SetManual(bool manual) { manual_ = manual; }
    bool IsManual() const { return manual_; }

  protected:
    void nextCheckState() override;

  private:
    bool manual_ = false;
};

// Progress bar with a step: StepIt advances by the step and stops at the top of the range.
class CProgressBar : public QProgressBar {
  public:
    explicit CProgressBar(QWidget* parent = nullptr);
    void SetStep(int step) { step_ = step; }
    int Step() const { return step_; }
    void StepIt();

  private:
    int step_ = 10;
};

// Makes the control of `control` as a child of `parent`, set up from the template's text and
// kind-specific styles (the dialog applies position, visibility, enabling and tab stops).
QWidget* CreateStandardControl(const ControlTemplate& control, QWidget* parent);

// The set-up CreateStandardControl gives a control of each kind (text, styles, icon), for a
// skin's own subclasses: a control it makes and sets up this way behaves as the kit's own.
void SetUpButton(QPushButton& button, const ControlTemplate& control);
void SetUpLabel(QLabel& label, const ControlTemplate& control);
void SetUpCheckBox(CCheckBox& box, const ControlTemplate& control);
void SetUpRadioButton(CRadioButton& radio, const ControlTemplate& control);
void SetUpIcon(QLabel& label, const ControlTemplate& control);

}  // namespace ui
