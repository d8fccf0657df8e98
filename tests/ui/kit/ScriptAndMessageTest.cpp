// The message service: one road for every message box, answered by tests, shown on the
// user-interface thread even when a worker asks.
#include <QApplication>
#include <QThread>
#include <atomic>
#include <thread>

#include "KitTestSupport.h"
#include "resources/StringIds.h"
#include "ui/DialogCodes.h"
#include "ui/MessageBox.h"

namespace kittest {
namespace {

using ::testing::HasSubstr;

using MessageService = SessionTest;

TEST_F(MessageService, MessagesAreRecordedAndAnsweredInOrder) {
    ui::CDialog owner(146);
    ASSERT_TRUE(owner.Create());
    ui::test::AnswerNextMessage(ui::IDYES);
    ui::test::AnswerNextMessage(ui::IDNO);
    EXPECT_EQ(ui::ShowMessageBox(&owner, "적용?", "Lanterna", 292), ui::IDYES);
    EXPECT_EQ(ui::ShowMessageBox(nullptr, "다시?", "Lanterna", 292), ui::IDNO);
    EXPECT_EQ(ui::ShowMessageBox(nullptr, "경고", "Lanterna", 48), ui::IDOK);  // no answer queued
    const std::vector<ui::test::ShownMessage> shown = ui::test::ShownMessages();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text, "적용?");
    EXPECT_EQ(shown[0].caption, "Lanterna");
    EXPECT_EQ(shown[0].flags, 292u);
    EXPECT_EQ(shown[0].ownerTemplateId, 146);
    EXPECT_EQ(shown[1].ownerTemplateId, 0);
    EXPECT_EQ(shown[2].flags, 48u);
    ui::test::ClearShownMessages();
    EXPECT_TRUE(ui::test::ShownMessages().empty());
}

TEST_F(MessageService, UnansweredQuestionsSayNoAndAreReported) {
    EXPECT_EQ(ui::ShowMessageBox(nullptr, "설정?", "Lanterna", ui::MB_YESNO | ui::MB_ICONQUESTION),
              ui::IDNO);
    const std::vector<std::string> problems = ui::test::TakeProblems();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_THAT(problems[0], HasSubstr("설정?"));
}

TEST_F(MessageService, AnswersAMessageCannotGiveAreReported) {
    ui::test::AnswerNextMessage(ui::IDYES);
    ui::ShowMessageBox(nullptr, "확인만", "Lanterna", ui::MB_ICONEXCLAMATION);
    EXPECT_EQ(ui::test::TakeProblems().size(), 1u);
    ui::test::AnswerNextMessage(ui::IDOK);
    EXPECT_EQ(ui::test::TakeProblems().size(), 1u);  // never used
}

TEST_F(MessageService, StringMessagesUseTheLoaderAndTheApplicationCaption) {
    ui::ShowStringMessage(nullptr, lanterna::kStringAddressFieldRange, ui::MB_ICONEXCLAMATION);
    ui::SetStringLoader([](int id) { return "string " + std::to_string(id); });
    ui::ShowStringMessage(nullptr, 129, ui::MB_ICONEXCLAMATION);
    ui::SetStringLoader(nullptr);
    const std::vector<ui::test::ShownMessage> shown = ui::test::ShownMessages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "IP는, 0-255의 범위에서 입력하십시오.");
    EXPECT_EQ(shown[0].caption, "Lanterna");
    EXPECT_EQ(shown[0].stringId, 182);
    EXPECT_EQ(shown[1].text, "string 129");
    EXPECT_EQ(shown[1].caption, "string 110");
    EXPECT_EQ(shown[1].stringId, 129);
}

TEST_F(MessageService, WorkersAreAnsweredFromTheQueueToo) {
    ui::test::AnswerNextMessage(ui::IDYES);
    std::atomic<int> answer{0};
    std::thread worker([&] { answer = ui::ShowMessageBox(nullptr, "메일?", "Lanterna", 292); });
    worker.join();
    EXPECT_EQ(answer.load(), ui::IDYES);
}

// Without a session the application's handler shows the message, always on the
// user-interface thread.
TEST(MessageHandler, RunsOnTheUserInterfaceThreadWhileAWorkerWaits) {
    std::vector<std::string> seen;
    bool onUiThread = true;
    ui::SetMessageBoxHandler(
        [&](QWidget*, const std::string& text, const std::string& caption, unsigned flags) {
            onUiThread = onUiThread && QThread::currentThread() == qApp->thread();
            seen.push_back(text + "|" + caption + "|" + std::to_string(flags));
            return flags == 292 ? ui::IDYES : ui::IDOK;
        });
    EXPECT_EQ(ui::ShowMessageBox(nullptr, "직접", "Lanterna", 64), ui::IDOK);
    std::atomic<int> answer{0};
    std::atomic<bool> done{false};
    std::thread worker([&] {
        answer = ui::ShowMessageBox(nullptr, "작업자", "Lanterna", 292);
        done = true;
    });
    EXPECT_TRUE(ui::test::PumpUntil([&] { return done.load(); }));
    worker.join();
    ui::SetMessageBoxHandler(nullptr);
    EXPECT_EQ(answer.load(), ui::IDYES);
    EXPECT_TRUE(onUiThread);
    EXPECT_EQ(seen, (std::vector<std::string>{"직접|Lanterna|64", "작업자|Lanterna|292"}));
}

}  // namespace
}  // namespace kittest
