// The life of a dialog: initialisation, end codes, keys, closing, nested modal runs and the
// test hook on the modal run.
#include <QTest>
#include <vector>

#include "KitTestSupport.h"
#include "ui/Controls.h"
#include "ui/DialogCodes.h"

namespace kittest {
namespace {

using ui::CDialog;
using ui::Notify;

class LifeDialog : public CDialog {
  public:
    explicit LifeDialog(int templateId = kTestTemplate) : CDialog(templateId) {}

    int initCalls = 0;
    int okCalls = 0;
    bool controlsAtInit = false;
    int endInInit = 0;  // nonzero: EndDialog(endInInit) from OnInitDialog
    bool ignoreCancel = false;
    ui::KeyRoute keyRoute = ui::KeyRoute::Default;

  protected:
    bool OnInitDialog() override {
        ++initCalls;
        controlsAtInit = GetDlgItem(kLimitedEdit) != nullptr && GetDlgItem(ui::IDOK) != nullptr;
        if (endInInit != 0) {
            EndDialog(endInInit);
        }
        return true;
    }
    void OnOK() override {
        ++okCalls;
        CDialog::OnOK();
    }
    void OnCancel() override {
        if (!ignoreCancel) {
            CDialog::OnCancel();
        }
    }
    ui::KeyRoute PreTranslateKeyPress(const QKeyEvent& event) override {
        const bool dialogKey = event.key() == Qt::Key_Return || event.key() == Qt::Key_Escape;
        return dialogKey ? keyRoute : ui::KeyRoute::Default;
    }
};

void PressKey(CDialog& dialog, Qt::Key key) {
    QWidget* target = dialog.focusWidget() != nullptr ? dialog.focusWidget() : &dialog;
    QTest::keyClick(target, key);
}

using DialogLife = SessionTest;

// ---------------------------------------------------------------- end codes

TEST_F(DialogLife, OkButtonEndsWithOkAfterInitialisation) {
    LifeDialog dialog;
    bool scriptSawRunningDialog = false;
    const int code = ui::test::RunModal(dialog, [&](CDialog& running) {
        scriptSawRunningDialog = running.IsRunning() && running.isVisible();
        running.ClickButton(ui::IDOK);
    });
    EXPECT_EQ(code, ui::IDOK);
    EXPECT_TRUE(scriptSawRunningDialog);
    EXPECT_EQ(dialog.initCalls, 1);
    EXPECT_TRUE(dialog.controlsAtInit);
    EXPECT_EQ(dialog.okCalls, 1);
    EXPECT_FALSE(dialog.IsRunning());
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(DialogLife, AnyEndCodeComesBackFromDoModal) {
    for (const int code : {ui::IDCANCEL, -1, 0, 1426, 1070}) {
        LifeDialog dialog;
        EXPECT_EQ(ui::test::RunModal(dialog, [code](CDialog& d) { d.EndDialog(code); }), code);
    }
}

TEST_F(DialogLife, CancelButtonAndEscapeEndWithCancel) {
    LifeDialog byButton;
    EXPECT_EQ(ui::test::RunModal(byButton, [](CDialog& d) { d.ClickButton(ui::IDCANCEL); }),
              ui::IDCANCEL);
    LifeDialog byEscape;
    EXPECT_EQ(ui::test::RunModal(byEscape, [](CDialog& d) { PressKey(d, Qt::Key_Escape); }),
              ui::IDCANCEL);
}

TEST_F(DialogLife, EndDialogDuringInitialisationEndsWithoutShowing) {
    LifeDialog dialog;
    dialog.endInInit = 1425;
    bool scriptRan = false;
    EXPECT_EQ(ui::test::RunModal(dialog, [&](CDialog&) { scriptRan = true; }), 1425);
    EXPECT_FALSE(scriptRan);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(DialogLife, MissingTemplateFailsWithMinusOne) {
    CDialog dialog(99999);
    ui::test::ScriptNextDialog(ui::test::kAnyTemplate, [](CDialog&) {});
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_FALSE(dialog.Create());
}

TEST_F(DialogLife, EveryRunStartsFromTheTemplate) {
    LifeDialog dialog;
    ui::test::RunModal(dialog, [](CDialog& d) {
        d.SetDlgItemText(kLimitedEdit, "abc");
        d.EndDialog(ui::IDOK);
    });
    std::string textInSecondRun = "unset";
    ui::test::RunModal(dialog, [&](CDialog& d) {
        textInSecondRun = d.GetDlgItemText(kLimitedEdit);
        d.EndDialog(ui::IDOK);
    });
    EXPECT_EQ(textInSecondRun, "");
    EXPECT_EQ(dialog.initCalls, 2);
}

// ---------------------------------------------------------------- keys and closing

TEST_F(DialogLife, EnterClicksTheDefaultButton) {
    LifeDialog dialog;
    EXPECT_EQ(ui::test::RunModal(dialog,
                                 [](CDialog& d) {
                                     d.GotoDlgCtrl(kLimitedEdit);
                                     PressKey(d, Qt::Key_Return);
                                 }),
              ui::IDOK);
    EXPECT_EQ(dialog.okCalls, 1);
}

TEST_F(DialogLife, EnterOnAFocusedButtonClicksThatButton) {
    LifeDialog dialog;
    int actions = 0;
    dialog.OnCommand(kAction, Notify::Clicked, [&] { ++actions; });
    ui::test::RunModal(dialog, [&](CDialog& d) {
        d.GotoDlgCtrl(kAction);
        EXPECT_EQ(d.GetFocusId(), kAction);
        PressKey(d, Qt::Key_Return);
        EXPECT_TRUE(d.IsRunning());
        d.EndDialog(ui::IDCANCEL);
    });
    EXPECT_EQ(actions, 1);
    EXPECT_EQ(dialog.okCalls, 0);
}

TEST_F(DialogLife, EnterDoesNothingWhileTheDefaultButtonIsDisabled) {
    LifeDialog dialog;
    ui::test::RunModal(dialog, [](CDialog& d) {
        d.EnableDlgItem(ui::IDOK, false);
        d.GotoDlgCtrl(kLimitedEdit);
        PressKey(d, Qt::Key_Return);
        EXPECT_TRUE(d.IsRunning());
        d.EndDialog(ui::IDCANCEL);
    });
    EXPECT_EQ(dialog.okCalls, 0);
}

TEST_F(DialogLife, SwallowedKeysNeitherCloseNorReachControls) {
    LifeDialog dialog;
    dialog.keyRoute = ui::KeyRoute::Swallow;
    ui::test::RunModal(dialog, [](CDialog& d) {
        d.GotoDlgCtrl(kLimitedEdit);
        PressKey(d, Qt::Key_Return);
        PressKey(d, Qt::Key_Escape);
        EXPECT_TRUE(d.IsRunning());
        d.EndDialog(5);
    });
    EXPECT_EQ(dialog.okCalls, 0);
}

TEST_F(DialogLife, ControlOnlyKeysReachTheControlButNotTheDialog) {
    LifeDialog dialog;
    dialog.keyRoute = ui::KeyRoute::ControlOnly;
    int actions = 0;
    dialog.OnCommand(kAction, Notify::Clicked, [&] { ++actions; });
    ui::test::RunModal(dialog, [&](CDialog& d) {
        d.GotoDlgCtrl(kLimitedEdit);
        PressKey(d, Qt::Key_Escape);
        PressKey(d, Qt::Key_Return);
        EXPECT_TRUE(d.IsRunning());
        d.EndDialog(5);
    });
    EXPECT_EQ(dialog.okCalls, 0);
    EXPECT_EQ(actions, 0);
}

TEST_F(DialogLife, AnOnCancelThatDoesNothingKeepsTheDialogOpen) {
    LifeDialog dialog;
    dialog.ignoreCancel = true;
    EXPECT_EQ(ui::test::RunModal(dialog,
                                 [](CDialog& d) {
                                     PressKey(d, Qt::Key_Escape);
                                     d.close();
                                     EXPECT_TRUE(d.IsRunning());
                                     d.EndDialog(1);
                                 }),
              1);
}

TEST_F(DialogLife, CloseBoxCancelsUnlessTheCancelButtonIsDisabled) {
    LifeDialog closable;
    EXPECT_EQ(ui::test::RunModal(closable, [](CDialog& d) { d.close(); }), ui::IDCANCEL);

    LifeDialog guarded;
    EXPECT_EQ(ui::test::RunModal(guarded,
                                 [](CDialog& d) {
                                     d.EnableDlgItem(ui::IDCANCEL, false);
                                     d.close();
                                     EXPECT_TRUE(d.IsRunning());
                                     d.EndDialog(9);
                                 }),
              9);
}

// ---------------------------------------------------------------- command handlers

TEST_F(DialogLife, RegisteredOkHandlerReplacesOnOk) {
    LifeDialog dialog;
    int handled = 0;
    dialog.OnCommand(ui::IDOK, Notify::Clicked, [&] {
        ++handled;
        dialog.EndDialog(77);
    });
    EXPECT_EQ(ui::test::RunModal(dialog, [](CDialog& d) { d.ClickButton(ui::IDOK); }), 77);
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(dialog.okCalls, 0);
}

TEST_F(DialogLife, TextChangeAndFocusNotifications) {
    LifeDialog dialog;
    std::vector<std::string> events;
    dialog.OnCommand(kLimitedEdit, Notify::TextChanged,
                     [&] { events.push_back("text:" + dialog.GetDlgItemText(kLimitedEdit)); });
    dialog.OnCommand(kPasswordEdit, Notify::FocusGained, [&] { events.push_back("focus"); });
    dialog.OnCommand(kLimitedEdit, Notify::FocusLost, [&] { events.push_back("left"); });
    dialog.OnCommand(kAddress, Notify::FocusGained, [&] { events.push_back("address"); });
    ui::test::RunModal(dialog, [&](CDialog& d) {
        d.GotoDlgCtrl(kLimitedEdit);
        QTest::keyClicks(d.focusWidget(), "ab");

        d.SetDlgItemText(kLimitedEdit, "xyz");
        d.GotoDlgCtrl(kPasswordEdit);
        d.GotoDlgCtrl(kAddress);
        EXPECT_EQ(d.GetFocusId(), kAddress);
        d.EndDialog(ui::IDOK);
    });
    EXPECT_EQ(events, (std::vector<std::string>{"text:a", "text:ab", "text:xyz", "left", "focus",
                                                "address"}));
}

// ---------------------------------------------------------------- scripting

TEST_F(DialogLife, NestedDialogsRunTheirOwnScripts) {
    LifeDialog outer;
    std::vector<std::string> steps;
    int innerCode = 0;
    outer.OnCommand(kAction, Notify::Clicked, [&] {
        steps.push_back("open inner");
        CDialog inner(146, &outer);
        innerCode = inner.DoModal();
        steps.push_back("inner ended");
    });
    ui::test::ScriptNextDialog(kTestTemplate, [&](CDialog& d) {
        steps.push_back("outer script");
        ui::test::ScriptNextDialog(146, [&](CDialog& inner) {
            steps.push_back("inner script");
            EXPECT_TRUE(inner.isVisible());
            inner.ClickButton(7);  // a button without handler does nothing
            inner.EndDialog(ui::IDNO);
        });
        d.ClickButton(kAction);
        steps.push_back("back in outer");
        d.ClickButton(ui::IDOK);
    });
    EXPECT_EQ(outer.DoModal(), ui::IDOK);
    EXPECT_EQ(innerCode, ui::IDNO);
    EXPECT_EQ(steps, (std::vector<std::string>{"outer script", "open inner", "inner script",
                                               "inner ended", "back in outer"}));
}

TEST_F(DialogLife, UnscriptedOrUnexpectedDialogsAreRefusedAndReported) {
    LifeDialog unscripted;
    EXPECT_EQ(unscripted.DoModal(), ui::IDCANCEL);
    EXPECT_EQ(unscripted.initCalls, 0);

    LifeDialog unexpected;
    ui::test::ScriptNextDialog(146, [](CDialog& d) { d.EndDialog(ui::IDOK); });
    EXPECT_EQ(unexpected.DoModal(), ui::IDCANCEL);
    EXPECT_EQ(ui::test::TakeProblems().size(), 2u);
}

TEST_F(DialogLife, AScriptThatNeverEndsItsDialogTimesOut) {
    LifeDialog dialog;
    EXPECT_EQ(ui::test::RunModal(
                  dialog, [](CDialog&) {}, 50),
              ui::IDCANCEL);
    const std::vector<std::string> problems = ui::test::TakeProblems();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_THAT(problems[0], ::testing::HasSubstr("timed out"));
}

TEST_F(DialogLife, LeftoverScriptsAreReported) {
    ui::test::ScriptNextDialog(146, [](CDialog&) {});
    EXPECT_EQ(ui::test::TakeProblems().size(), 1u);
}

}  // namespace
}  // namespace kittest
