// Posted messages: any thread may post; handlers run on the user-interface thread in order;
// posting to a dialog that has ended or is gone does no harm.
#include <QApplication>
#include <QThread>
#include <atomic>
#include <memory>
#include <thread>

#include "KitTestSupport.h"
#include "ui/DialogCodes.h"

namespace kittest {
namespace {

using ui::CDialog;
using ui::WM_USER;

constexpr unsigned kProgress = WM_USER + 0x127;
constexpr unsigned kResult = WM_USER + 0x125;

class Receiver : public CDialog {
  public:
    Receiver() : CDialog(kTestTemplate) {
        OnMessage(kProgress, [this](ui::WParam w, ui::LParam l) {
            values.push_back(w);
            lParams += l;
            onUiThread = onUiThread && QThread::currentThread() == qApp->thread();
        });
        OnMessage(kResult, [this](ui::WParam w, ui::LParam) { EndDialog(static_cast<int>(w)); });
    }
    std::vector<ui::WParam> values;
    ui::LParam lParams = 0;
    bool onUiThread = true;
    std::vector<unsigned> unhandled;

  protected:
    void OnUnhandledMessage(unsigned message, ui::WParam, ui::LParam) override {
        unhandled.push_back(message);
    }
};

using Posting = SessionTest;

TEST_F(Posting, WorkerMessagesArriveInOrderOnTheUserInterfaceThread) {
    Receiver dialog;
    std::thread worker;
    ui::test::ScriptNextDialog(kTestTemplate, [&](CDialog& d) {
        worker = std::thread([target = d.Target()] {
            for (int step = 0; step < 500; ++step) {
                target.Post(kProgress, step, 1);
            }
            target.Post(kResult, 2, 0);
        });
    });
    EXPECT_EQ(dialog.DoModal(), 2);
    worker.join();
    ASSERT_EQ(dialog.values.size(), 500u);
    for (int step = 0; step < 500; ++step) {
        ASSERT_EQ(dialog.values[step], step);
    }
    EXPECT_EQ(dialog.lParams, 500);
    EXPECT_TRUE(dialog.onUiThread);
}

TEST_F(Posting, NegativeResultsTravelUnchanged) {
    Receiver dialog;
    EXPECT_EQ(ui::test::RunModal(dialog, [](CDialog& d) { d.PostMessage(kResult, -1); }), -1);
}

TEST_F(Posting, MessagesQueuedBehindTheEndAreDropped) {
    Receiver dialog;
    ui::test::RunModal(dialog, [](CDialog& d) {
        d.PostMessage(kResult, 1);
        for (int step = 0; step < 10; ++step) {
            EXPECT_TRUE(d.PostMessage(kProgress, step));
        }
    });
    EXPECT_TRUE(dialog.values.empty());
    EXPECT_FALSE(dialog.PostMessage(kProgress, 99));
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialog.values.empty());
}

TEST_F(Posting, AHandleServesOnlyItsOwnRun) {
    Receiver dialog;
    ui::MessageTarget firstRun;
    ui::test::RunModal(dialog, [&](CDialog& d) {
        firstRun = d.Target();
        EXPECT_TRUE(firstRun.IsOpen());
        d.EndDialog(1);
    });
    EXPECT_FALSE(firstRun.IsOpen());
    ui::MessageTarget taken_before_second_run = dialog.Target();
    ui::test::RunModal(dialog, [&](CDialog&) {
        EXPECT_FALSE(firstRun.Post(kProgress, 7));  // a late worker of the first run
        EXPECT_TRUE(taken_before_second_run.Post(kProgress, 8));
        taken_before_second_run.Post(kResult, 3);
    });
    EXPECT_EQ(dialog.values, (std::vector<ui::WParam>{8}));
}

TEST_F(Posting, PostingToADestroyedDialogIsHarmless) {
    ui::MessageTarget target;
    {
        Receiver dialog;
        ui::test::RunModal(dialog, [&](CDialog& d) {
            target = d.Target();
            d.EndDialog(1);
        });
    }
    EXPECT_FALSE(target.Post(kProgress, 1));
    EXPECT_FALSE(target.IsOpen());
    EXPECT_FALSE(ui::MessageTarget().Post(kProgress, 1));
}

TEST_F(Posting, AWorkerMayKeepPostingWhileItsDialogEndsAndIsDestroyed) {
    std::atomic<bool> stop{false};
    std::atomic<int> accepted{0};
    std::thread worker;
    {
        auto dialog = std::make_unique<Receiver>();
        ui::test::ScriptNextDialog(kTestTemplate, [&](CDialog& d) {
            worker = std::thread([&, target = d.Target()] {
                while (!stop) {
                    accepted += target.Post(kProgress, 1) ? 1 : 0;
                }
            });
            ui::test::PumpUntil([&] { return accepted.load() > 100; });
            d.EndDialog(4);
        });
        EXPECT_EQ(dialog->DoModal(), 4);
        QCoreApplication::processEvents();
        dialog.reset();
        QCoreApplication::processEvents();
    }
    stop = true;
    worker.join();
    EXPECT_GT(accepted.load(), 100);
}

TEST_F(Posting, MessagesWithoutHandlerGoToTheOverridable) {
    Receiver dialog;
    ui::test::RunModal(dialog, [](CDialog& d) {
        d.PostMessage(WM_USER + 0x999, 0, 0);
        d.PostMessage(kResult, 1);
    });
    EXPECT_EQ(dialog.unhandled, (std::vector<unsigned>{WM_USER + 0x999}));
}

}  // namespace
}  // namespace kittest
