// The application object: start-up order, "/debug", the second start, exit, and ShowMessage
// from the user-interface thread and from a worker thread.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <atomic>
#include <thread>

#include "app/Application.h"
#include "dialogs/DialogIds.h"
#include "dialogs/MessageDialog.h"
#include "resources/StringTable.h"
#include "ui/Dialog.h"
#include "ui/DialogCodes.h"
#include "ui/TestHooks.h"

namespace lanterna {
namespace {

class Application : public ::testing::Test {
  protected:
    ApplicationOptions Options() const {
        ApplicationOptions options;
        options.instanceFolder = folder_.path();
        return options;
    }
    void TearDown() override { EXPECT_THAT(ui::test::TakeProblems(), ::testing::IsEmpty()); }

    QTemporaryDir folder_;
    ui::test::Session session_;
};

TEST_F(Application, StartUpNamesTheProgramAndReadsDebug) {
    const char* argv[] = {"lanterna", "\"/DEBUG\"", nullptr};
    CApplication application(2, argv, Options());
    EXPECT_EQ(CApplication::Instance(), &application);
    ASSERT_TRUE(application.InitInstance());
    EXPECT_EQ(QCoreApplication::applicationName().toStdString(), "Lanterna");
    EXPECT_EQ(application.DebugMode(), 1);
    EXPECT_TRUE(application.IsInstanceHeld());
}

TEST_F(Application, UnknownWordsStartNormallyWithoutDebug) {
    const char* argv[] = {"lanterna", "-debug", "/debugx", "   ", nullptr};
    CApplication application(4, argv, Options());
    ASSERT_TRUE(application.InitInstance());
    EXPECT_EQ(application.DebugMode(), 0);
    EXPECT_TRUE(ui::test::ShownMessages().empty());
}

TEST_F(Application, SecondStartEndsSilentlyAndRaisesTheFirstWindow) {
    const char* argv[] = {"lanterna", nullptr};
    CApplication first(1, argv, Options());
    ASSERT_TRUE(first.InitInstance());
    QDialog window;
    window.show();
    first.SetMainWindow(&window);
    QSignalSpy raised(&first, &CApplication::raiseRequested);
    {
        CApplication second(1, argv, Options());
        EXPECT_FALSE(second.InitInstance());
        EXPECT_FALSE(second.IsInstanceHeld());
        EXPECT_EQ(second.ExitInstance(), 0);
    }
    EXPECT_TRUE(ui::test::PumpUntil([&] { return raised.count() > 0; }));
    EXPECT_TRUE(ui::test::ShownMessages().empty());
    // After the first has ended, a new start runs normally.
    first.ExitInstance();
    CApplication third(1, argv, Options());
    EXPECT_TRUE(third.InitInstance());
}

TEST_F(Application, MainWindowRunsAsStepEightAndIsForgottenAfter) {
    const char* argv[] = {"lanterna", nullptr};
    CApplication application(1, argv, Options());
    ASSERT_TRUE(application.InitInstance());
    QWidget* seen = nullptr;
    const int code = application.RunMainWindow([&](CApplication& app) {
        QDialog window;
        app.SetMainWindow(&window);
        seen = app.MainWindow();
        return 5;
    });
    EXPECT_EQ(code, 5);
    EXPECT_NE(seen, nullptr);
    EXPECT_EQ(application.MainWindow(), nullptr);
}

// ---------------------------------------------------------------- ShowMessage

TEST_F(Application, ShowMessageUsesTheStringTableAndTheApplicationCaption) {
    ui::test::AnswerNextMessage(ui::IDYES);
    EXPECT_EQ(CApplication::ShowMessage(nullptr, kStringSendTestMailQuestion, 292), ui::IDYES);
    const auto shown = ui::test::ShownMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, LoadString(kStringSendTestMailQuestion));
    EXPECT_EQ(shown[0].caption, "Lanterna");
    EXPECT_EQ(shown[0].flags, 292u);
}

TEST_F(Application, WorkerThreadWaitsForTheAnswerOfTheMessageDialog) {
    const char* argv[] = {"lanterna", nullptr};
    CApplication application(1, argv, Options());
    ASSERT_TRUE(application.InitInstance());
    ui::test::ScriptMessageDialogs(true);
    std::atomic<bool> scriptRan{false};
    std::atomic<bool> workerDone{false};
    std::atomic<bool> doneBeforeAnswer{false};
    ui::test::ScriptNextDialog(dialogs::kMessageTemplate, [&](ui::CDialog& dialog) {
        EXPECT_EQ(dialog.GetDlgItemText(dialogs::CMessageDialog::kTextControl),
                  LoadString(kStringSendTestMailQuestion));
        EXPECT_EQ(dialog.GetWindowText(), "Lanterna");
        doneBeforeAnswer = workerDone.load();
        scriptRan = true;
        dialog.ClickButton(ui::IDNO);
    });
    int answer = 0;
    std::thread worker([&] {
        answer = CApplication::ShowMessage(nullptr, kStringSendTestMailQuestion, 292);
        workerDone = true;
    });
    EXPECT_TRUE(ui::test::PumpUntil([&] { return workerDone.load(); }, 20000));
    worker.join();
    EXPECT_TRUE(scriptRan);
    EXPECT_FALSE(doneBeforeAnswer);
    EXPECT_EQ(answer, ui::IDNO);
}

}  // namespace
}  // namespace lanterna
