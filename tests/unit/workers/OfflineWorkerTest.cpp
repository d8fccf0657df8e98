// The worker paths that end before any traffic, and the debug-mode simulation.

#include <gtest/gtest.h>

#include <vector>

#include "state/DebugTrace.h"
#include "state/MessageQueue.h"
#include "workers/Workers.h"

namespace lanterna {
namespace {

struct Fixture {
    explicit Fixture(bool withRecord = true) : state(Options()) {
        state.progressWindow = &window;
        if (withRecord) {
            ProjectorRecord record{};
            CopyText(record.address, "10.0.0.5");
            record.ipAddress = {10, 0, 0, 5};
            CopyText(record.password, "secret");
            state.projectors.Append(record);
            state.selectedIndex = 0;
        }
    }
    StateOptions Options() {
        StateOptions options;
        options.sleep = [this](std::uint32_t ms) { waits.push_back(ms); };
        return options;
    }
    std::vector<std::uint32_t> waits;
    CMessageQueue window;
    ApplicationState state;
};

using Messages = std::vector<PostedMessage>;

// ---- guards -----------------------------------------------------------------------------------

TEST(OfflineWorkers, ProbeWithAnOpenLinkClosesItAndReportsZero) {
    Fixture f;
    f.state.link = f.state.CreateLink();
    EXPECT_EQ(ProbeWorker(f.state), 0);
    EXPECT_EQ(f.state.link, nullptr);
    EXPECT_EQ(f.window.TakeAll(), (Messages{{kMessageProbeResult, 0}}));
}

TEST(OfflineWorkers, ProbeWithoutSelectionFails) {
    Fixture f(false);
    EXPECT_EQ(ProbeWorker(f.state), -1);
    EXPECT_EQ(f.window.TakeAll(), (Messages{{kMessageProbeResult, -1}}));
}

TEST(OfflineWorkers, ReadWithALinkLeftOpenDestroysItAndFails) {
    Fixture f;
    f.state.link = f.state.CreateLink();
    EXPECT_EQ(ReadWorker(f.state), -1);
    EXPECT_EQ(f.state.link, nullptr);
    EXPECT_EQ(f.window.TakeAll(), (Messages{{kMessageReadResult, -1}}));
}

TEST(OfflineWorkers, ReadOfAMissingEntryFails) {
    Fixture f;
    f.state.selectedIndex = 4;
    EXPECT_EQ(ReadWorker(f.state), -1);
    EXPECT_EQ(f.state.link, nullptr);
    EXPECT_EQ(f.window.TakeAll(), (Messages{{kMessageReadResult, -1}}));
}

TEST(OfflineWorkers, WriteWithoutLinkReportsZeroAndClearsTheErrors) {
    Fixture f;
    f.state.writeErrors = 0x44;
    EXPECT_EQ(WriteWorker(f.state), 0);
    EXPECT_EQ(f.state.writeErrors, 0U);
    EXPECT_EQ(f.window.TakeAll(), (Messages{{kMessageWriteResult, 0}}));
}

TEST(OfflineWorkers, WriteWithoutSelectionDestroysTheLink) {
    Fixture f(false);
    f.state.link = f.state.CreateLink();
    EXPECT_EQ(WriteWorker(f.state), 0);
    EXPECT_EQ(f.state.link, nullptr);
    EXPECT_EQ(f.window.TakeAll(), (Messages{{kMessageWriteResult, 0}}));
}

TEST(OfflineWorkers, PasswordChangeLeavesAnOpenLinkUntouched) {
    Fixture f;
    f.state.link = f.state.CreateLink();
    CProjectorLink* open = f.state.link.get();
    EXPECT_EQ(PasswordWorker(f.state), 0);
    EXPECT_EQ(f.state.link.get(), open);
    EXPECT_EQ(f.window.TakeAll(), (Messages{{kMessagePasswordResult, 0}}));
}

TEST(OfflineWorkers, PasswordChangeWithoutSelectionFails) {
    Fixture f(false);
    EXPECT_EQ(PasswordWorker(f.state), -1);
    EXPECT_EQ(f.window.TakeAll(), (Messages{{kMessagePasswordResult, -1}}));
}

TEST(OfflineWorkers, CloseLinkWithoutLinkDoesNothing) {
    Fixture f;
    CloseLink(f.state);
    EXPECT_EQ(f.state.link, nullptr);
    f.state.link = f.state.CreateLink();
    CloseLink(f.state);
    EXPECT_EQ(f.state.link, nullptr);
    EXPECT_TRUE(f.waits.empty());
}

TEST(OfflineWorkers, RunWorkerPicksTheWorkerOfTheMode) {
    Fixture f(false);
    EXPECT_EQ(RunWorker(WorkerMode::kProbe, f.state), -1);
    EXPECT_EQ(RunWorker(WorkerMode::kWrite, f.state), 0);
    EXPECT_EQ(f.window.TakeAll(), (Messages{{kMessageProbeResult, -1}, {kMessageWriteResult, 0}}));
    EXPECT_EQ(ResultMessageOf(WorkerMode::kRead), 0x526U);
    EXPECT_EQ(ResultMessageOf(WorkerMode::kPassword), 0x529U);
}

// ---- debug mode -------------------------------------------------------------------------------

TEST(DebugMode, ProbeTracesTheAddressesAndAnswersByTheIndex) {
    Fixture f;
    f.state.debugMode = 1;
    CopyText(f.state.currentAddress, "10.0.0.5");
    CDebugTraceCapture capture;
    EXPECT_EQ(ProbeWorker(f.state), 1);
    EXPECT_EQ(capture.Lines(),
              (std::vector<std::string>{"TcpConnectThread : 10.0.0.5\r\n", "Proj Ip : 10.0.0.5\r\n",
                                        "Proj Ip : 10.0.0.5\r\n"}));
    EXPECT_EQ(f.waits, (std::vector<std::uint32_t>{1000, 1000}));
    EXPECT_EQ(f.window.TakeAll(), (Messages{{kMessageProgress, 100}, {kMessageProbeResult, 1}}));

    ProjectorRecord second{};
    f.state.projectors.Append(second);
    f.state.selectedIndex = 1;
    EXPECT_EQ(ProbeWorker(f.state), 2);
}

TEST(DebugMode, ReadTracesAMaskInsteadOfThePassword) {
    Fixture f;
    f.state.debugMode = 1;
    CDebugTraceCapture capture;
    EXPECT_EQ(ReadWorker(f.state), 1);
    const auto lines = capture.Lines();
    ASSERT_EQ(lines.size(), 3U);
    EXPECT_EQ(lines[0], "ConnectThread : ********\r\n");
    for (const auto& line : lines) {
        EXPECT_EQ(line.find("secret"), std::string::npos) << line;
    }
    EXPECT_EQ(f.waits, (std::vector<std::uint32_t>{3000, 1000}));
    EXPECT_EQ(f.window.TakeAll(), (Messages{{kMessageProgress, 100}, {kMessageReadResult, 1}}));
    EXPECT_EQ(f.state.link, nullptr);
}

TEST(DebugMode, WriteAndPasswordChangeSimulateSuccess) {
    Fixture f;
    f.state.debugMode = 1;
    CDebugTraceCapture capture;
    EXPECT_EQ(WriteWorker(f.state), 1);
    EXPECT_EQ(capture.Lines().size(), 2U);
    EXPECT_EQ(PasswordWorker(f.state), 1);
    EXPECT_EQ(capture.Lines().size(), 2U);
    EXPECT_EQ(f.waits, (std::vector<std::uint32_t>{3000, 1000, 3000, 1000}));
    EXPECT_EQ(f.window.TakeAll(), (Messages{{kMessageProgress, 100},
                                            {kMessageWriteResult, 1},
                                            {kMessageProgress, 100},
                                            {kMessagePasswordResult, 1}}));
}

TEST(DebugMode, CloseLinkWaitsInsteadOfClosing) {
    Fixture f;
    f.state.debugMode = 1;
    f.state.link = f.state.CreateLink();
    CloseLink(f.state);
    EXPECT_EQ(f.state.link, nullptr);
    EXPECT_EQ(f.waits, (std::vector<std::uint32_t>{1000}));
}

}  // namespace
}  // namespace lanterna
