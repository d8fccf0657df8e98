// The shared application state, its message queue and the diagnostic trace.

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "state/ApplicationState.h"
#include "state/DebugTrace.h"
#include "state/MessageQueue.h"

namespace lanterna {
namespace {

using namespace std::chrono_literals;

// ---- fields -----------------------------------------------------------------------------------

TEST(ApplicationState, StartsAsTheApplicationObjectDoes) {
    ApplicationState state;
    EXPECT_EQ(state.readAllSettings, 1);
    EXPECT_EQ(state.selectedIndex, -1);
    EXPECT_EQ(state.writeErrors, 0U);
    EXPECT_EQ(state.debugMode, 0);
    EXPECT_EQ(state.link, nullptr);
    EXPECT_EQ(state.progressWindow, nullptr);
    EXPECT_TRUE(state.projectors.Empty());
    EXPECT_TRUE(IsEmptyText(state.currentAddress));
    EXPECT_EQ(state.pendingAddress, (Octets{0, 0, 0, 0}));
}

TEST(ApplicationState, SelectedRecordIsNullForNoneOrAMissingEntry) {
    ApplicationState state;
    EXPECT_EQ(state.SelectedRecord(), nullptr);
    ProjectorRecord record{};
    CopyText(record.address, "10.0.0.5");
    state.projectors.Append(record);
    state.selectedIndex = 0;
    ASSERT_NE(state.SelectedRecord(), nullptr);
    EXPECT_EQ(TextOf(state.SelectedRecord()->address), "10.0.0.5");
    state.selectedIndex = 1;
    EXPECT_EQ(state.SelectedRecord(), nullptr);
    state.selectedIndex = -3;
    EXPECT_EQ(state.SelectedRecord(), nullptr);
}

TEST(ApplicationState, PostsOnlyWhenThereIsAWindow) {
    ApplicationState state;
    state.Post(kMessageProgress, 10);  // no window: nothing happens
    CMessageQueue window;
    state.progressWindow = &window;
    state.Post(kMessageProgress, 10);
    state.Post(kMessageReadResult, -2);
    EXPECT_EQ(window.TakeAll(), (std::vector<PostedMessage>{{0x527, 10}, {0x526, -2}}));
}

TEST(ApplicationState, QuestionsWithoutAServiceAreAnsweredNo) {
    ApplicationState state;
    EXPECT_EQ(state.ShowMessage(152, kMessageYesNoQuestion), kAnswerNo);
    EXPECT_EQ(state.ShowMessage(133, kMessageInformation), kAnswerOk);
}

TEST(ApplicationState, MessagesGoToTheServiceOwnedByTheProgressWindow) {
    struct Service : IMessageService {
        int ShowMessage(IMessageTarget* owner, int stringId, int flags) override {
            seenOwner = owner;
            seenId = stringId;
            seenFlags = flags;
            return kAnswerYes;
        }
        IMessageTarget* seenOwner = nullptr;
        int seenId = 0;
        int seenFlags = 0;
    } service;
    CMessageQueue window;
    ApplicationState state;
    state.messageService = &service;
    state.progressWindow = &window;
    EXPECT_EQ(state.ShowMessage(152, kMessageYesNoQuestion), kAnswerYes);
    EXPECT_EQ(service.seenOwner, &window);
    EXPECT_EQ(service.seenId, 152);
    EXPECT_EQ(service.seenFlags, 292);
}

TEST(ApplicationState, SleepGoesThroughTheSeam) {
    std::vector<std::uint32_t> waits;
    StateOptions options;
    options.sleep = [&waits](std::uint32_t ms) { waits.push_back(ms); };
    ApplicationState state(options);
    state.Sleep(3000);
    state.Sleep(1000);
    EXPECT_EQ(waits, (std::vector<std::uint32_t>{3000, 1000}));
}

// ---- message queue ----------------------------------------------------------------------------

TEST(MessageQueue, KeepsTheOrderOfPostsFromAnotherThread) {
    CMessageQueue queue;
    std::thread poster([&queue] {
        for (int i = 0; i < 100; ++i) {
            queue.PostMessage(kMessageProgress, i);
        }
    });
    for (int i = 0; i < 100; ++i) {
        const auto message = queue.Take(5s);
        ASSERT_TRUE(message.has_value());
        EXPECT_EQ(message->wParam, i);
    }
    poster.join();
    EXPECT_FALSE(queue.Take(1ms).has_value());
}

// ---- debug trace ------------------------------------------------------------------------------

TEST(DebugTrace, FormatsOneLineEndedByCarriageReturnLineFeed) {
    CDebugTraceCapture capture;
    DebugTrace("Proj Ip : %d.%d.%d.%d", 10, 0, 0, 5);
    DebugTrace("TcpConnectThread : %s", "10.0.0.5");
    EXPECT_EQ(capture.Lines(), (std::vector<std::string>{"Proj Ip : 10.0.0.5\r\n",
                                                         "TcpConnectThread : 10.0.0.5\r\n"}));
}

TEST(DebugTrace, OverlongTextIsCutTo4095Bytes) {
    CDebugTraceCapture capture;
    const std::string text(5000, 'x');
    DebugTrace("%s", text.c_str());
    ASSERT_EQ(capture.Lines().size(), 1U);
    EXPECT_EQ(capture.Lines()[0], std::string(4095, 'x') + "\r\n");
}

TEST(DebugTrace, LinesFromSeveralThreadsStayWhole) {
    CDebugTraceCapture capture;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < 50; ++i) {
                DebugTrace("thread %d line %d", t, i);
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    const auto lines = capture.Lines();
    EXPECT_EQ(lines.size(), 200U);
    for (const auto& line : lines) {
        EXPECT_EQ(line.rfind("thread ", 0), 0U) << line;
        EXPECT_EQ(line.substr(line.size() - 2), "\r\n");
    }
}

}  // namespace
}  // namespace lanterna
