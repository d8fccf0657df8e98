// Control access by id on a created (not running) dialog.
#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include "KitTestSupport.h"
#include "ui/Controls.h"
#include "ui/DialogCodes.h"
#include "ui/IpAddressControl.h"

namespace kittest {
namespace {

using ui::CDialog;
using ui::Notify;

class DialogControls : public SessionTest {
  protected:
    void SetUp() override {
        SessionTest::SetUp();
        ASSERT_TRUE(dialog_.Create());
    }
    CDialog dialog_{kTestTemplate};
};

// ---------------------------------------------------------------- texts

TEST_F(DialogControls, TextsOfEveryKindReadAndWrite) {
    EXPECT_EQ(dialog_.GetDlgItemText(kLabel), "라벨");
    EXPECT_EQ(dialog_.GetDlgItemText(ui::IDOK), "확인");
    dialog_.SetDlgItemText(kLabel, "새 라벨");
    dialog_.SetDlgItemText(kAction, "누름");
    dialog_.SetDlgItemText(kPasswordEdit, "비밀");
    dialog_.SetDlgItemText(kAddress, "10.0.0.7");
    dialog_.SetDlgItemText(kCombo, "둘");
    EXPECT_EQ(dialog_.GetDlgItemText(kLabel), "새 라벨");
    EXPECT_EQ(dialog_.GetDlgItemText(kAction), "누름");
    EXPECT_EQ(dialog_.GetDlgItemText(kPasswordEdit), "비밀");
    EXPECT_EQ(dialog_.GetDlgItemText(kAddress), "10.0.0.7");
    EXPECT_EQ(dialog_.GetDlgItemText(kCombo), "둘");
    EXPECT_EQ(dialog_.GetDlgItemAs<QComboBox>(kCombo)->currentIndex(), 1);
    dialog_.SetWindowText("제목");
    EXPECT_EQ(dialog_.GetWindowText(), "제목");
}

TEST_F(DialogControls, UnknownIdsAreHarmless) {
    EXPECT_EQ(dialog_.GetDlgItem(4242), nullptr);
    EXPECT_EQ(dialog_.GetDlgItemText(4242), "");
    dialog_.SetDlgItemText(4242, "x");
    dialog_.CheckDlgButton(4242, 1);
    dialog_.EnableDlgItem(4242, false);
    dialog_.ShowDlgItem(4242, false);
    dialog_.GotoDlgCtrl(4242);
    dialog_.ClickButton(4242);
    EXPECT_EQ(dialog_.IsDlgButtonChecked(4242), 0);
    EXPECT_FALSE(dialog_.IsDlgItemEnabled(4242));
    EXPECT_FALSE(dialog_.IsDlgItemVisible(4242));
    EXPECT_EQ(dialog_.IpAddress(kLabel), nullptr);  // wrong kind
}

TEST_F(DialogControls, ProgramTextIsNotCutByTheLimit) {
    dialog_.SetDlgItemText(kLimitedEdit, "0123456789");
    EXPECT_EQ(dialog_.GetDlgItemText(kLimitedEdit), "0123456789");
    dialog_.SetTextLimit(kPasswordEdit, 2);
    EXPECT_EQ(dialog_.Edit(kPasswordEdit)->TextLimit(), 2);
    EXPECT_TRUE(dialog_.Edit(kPasswordEdit)->IsPassword());
    dialog_.SetPasswordStyle(kPasswordEdit, false);
    EXPECT_FALSE(dialog_.Edit(kPasswordEdit)->IsPassword());
}

// ---------------------------------------------------------------- check boxes and radios

TEST_F(DialogControls, CheckBoxesStepThroughTheirStatesOnClicks) {
    std::vector<int> twoState;
    std::vector<int> threeState;
    for (int click = 0; click < 3; ++click) {
        dialog_.ClickButton(kCheck);
        twoState.push_back(dialog_.IsDlgButtonChecked(kCheck));
        dialog_.ClickButton(kThreeState);
        threeState.push_back(dialog_.IsDlgButtonChecked(kThreeState));
    }
    EXPECT_EQ(twoState, (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(threeState, (std::vector<int>{1, 2, 0}));
}

TEST_F(DialogControls, ManualCheckBoxChangesOnlyByProgram) {
    int clicks = 0;
    dialog_.OnCommand(kManualThreeState, Notify::Clicked, [&] { ++clicks; });
    dialog_.CheckDlgButton(kManualThreeState, 2);
    dialog_.ClickButton(kManualThreeState);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(dialog_.IsDlgButtonChecked(kManualThreeState), 2);
}

TEST_F(DialogControls, IndeterminateOnATwoStateBoxChecksIt) {
    dialog_.CheckDlgButton(kCheck, 2);
    EXPECT_EQ(dialog_.IsDlgButtonChecked(kCheck), 1);
    dialog_.CheckDlgButton(kThreeState, 2);
    EXPECT_EQ(dialog_.IsDlgButtonChecked(kThreeState), 2);
}

TEST_F(DialogControls, RadioClicksKeepTheirOwnGroupExclusive) {
    dialog_.ClickButton(kRadioA);
    dialog_.ClickButton(kRadioX);
    dialog_.ClickButton(kRadioB);
    EXPECT_EQ(dialog_.IsDlgButtonChecked(kRadioA), 0);
    EXPECT_EQ(dialog_.IsDlgButtonChecked(kRadioB), 1);
    EXPECT_EQ(dialog_.IsDlgButtonChecked(kRadioX), 1);  // another group
    dialog_.ClickButton(kRadioB);                       // clicking a checked radio keeps it
    EXPECT_EQ(dialog_.IsDlgButtonChecked(kRadioB), 1);
    EXPECT_EQ(dialog_.GetCheckedInGroup(kRadioC), kRadioB);
    EXPECT_EQ(dialog_.GetCheckedInGroup(kRadioY), kRadioX);
    EXPECT_EQ(dialog_.GetCheckedRadioButton(kRadioA, kRadioC), kRadioB);
}

TEST_F(DialogControls, CheckRadioButtonSetsOneOfARangeAndAllowsNone) {
    dialog_.CheckRadioButton(kRadioA, kRadioC, kRadioC);
    EXPECT_EQ(dialog_.GetCheckedRadioButton(kRadioA, kRadioC), kRadioC);
    dialog_.CheckDlgButton(kRadioC, 0);
    EXPECT_EQ(dialog_.GetCheckedRadioButton(kRadioA, kRadioC), 0);
    EXPECT_EQ(dialog_.GetCheckedInGroup(kRadioA), 0);
}

// ---------------------------------------------------------------- state of controls

TEST_F(DialogControls, TemplateStylesSetVisibilityAndEnabling) {
    EXPECT_FALSE(dialog_.IsDlgItemVisible(kHiddenButton));
    EXPECT_FALSE(dialog_.IsDlgItemEnabled(kDisabledButton));
    EXPECT_TRUE(dialog_.IsDlgItemVisible(kAction));
    EXPECT_TRUE(dialog_.IsDlgItemEnabled(kAction));
    dialog_.ShowDlgItem(kHiddenButton, true);
    dialog_.EnableDlgItem(kDisabledButton, true);
    EXPECT_TRUE(dialog_.IsDlgItemVisible(kHiddenButton));
    EXPECT_TRUE(dialog_.IsDlgItemEnabled(kDisabledButton));
}

TEST_F(DialogControls, HiddenOrDisabledButtonsIgnoreClicks) {
    int clicks = 0;
    dialog_.OnCommand(kHiddenButton, Notify::Clicked, [&] { ++clicks; });
    dialog_.OnCommand(kDisabledButton, Notify::Clicked, [&] { ++clicks; });
    dialog_.ClickButton(kHiddenButton);
    dialog_.ClickButton(kDisabledButton);
    EXPECT_EQ(clicks, 0);
    dialog_.EnableDlgItem(kDisabledButton, true);
    dialog_.ClickButton(kDisabledButton);
    EXPECT_EQ(clicks, 1);
}

TEST_F(DialogControls, FocusIsReportedByControlId) {
    dialog_.GotoDlgCtrl(kPasswordEdit);
    EXPECT_EQ(dialog_.GetFocusId(), kPasswordEdit);
    dialog_.GotoDlgCtrl(kAddress);
    EXPECT_EQ(dialog_.GetFocusId(), kAddress);
    EXPECT_EQ(dialog_.IpAddress(kAddress)->FocusedField(), 0);
    dialog_.IpAddress(kAddress)->SetFieldFocus(2);
    EXPECT_EQ(dialog_.GetFocusId(), kAddress);
}

TEST_F(DialogControls, FirstTabStopHasTheFocusAfterInitialisation) {
    EXPECT_EQ(dialog_.GetFocusId(), kLimitedEdit);
}

TEST_F(DialogControls, DefaultButtonMoves) {
    EXPECT_EQ(dialog_.DefaultButton(), ui::IDOK);
    dialog_.SetDefaultButton(kAction);
    EXPECT_EQ(dialog_.DefaultButton(), kAction);
    EXPECT_TRUE(dialog_.GetDlgItemAs<QPushButton>(kAction)->isDefault());
    EXPECT_FALSE(dialog_.GetDlgItemAs<QPushButton>(ui::IDOK)->isDefault());
}

TEST_F(DialogControls, ProgressStepsStopAtTheTop) {
    ui::CProgressBar* bar = dialog_.ProgressBar(kProgress);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 100);
    bar->SetStep(40);
    bar->StepIt();
    bar->StepIt();
    EXPECT_EQ(bar->value(), 80);
    bar->StepIt();
    EXPECT_EQ(bar->value(), 100);
}

TEST_F(DialogControls, ControlIdsFollowTemplateOrder) {
    const std::vector<int> ids = dialog_.ControlIds();
    ASSERT_FALSE(ids.empty());
    EXPECT_EQ(ids.front(), kLimitedEdit);
    EXPECT_EQ(ids.back(), ui::IDCANCEL);
}

}  // namespace
}  // namespace kittest
