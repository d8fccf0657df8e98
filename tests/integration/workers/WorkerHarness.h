#pragma once
// A simulated projector on a loopback address of the test's own (ephemeral port), and an
// application state whose selected entry is that projector, with a queue as the progress
// window and a scripted message service.

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "state/ApplicationState.h"
#include "state/MessageQueue.h"
#include "tests/support/sim/SessionsEnded.h"
#include "tools/projector-sim/SimulatedProjector.h"
#include "workers/Workers.h"

namespace lanterna::test {

using Lines = std::vector<std::string>;

// Answers questions from a script (No when it runs out) and remembers every message shown.
class CScriptedMessages final : public IMessageService {
  public:
    struct Shown {
        int stringId;
        int flags;
        bool operator==(const Shown&) const = default;
    };

    int ShowMessage(IMessageTarget*, int stringId, int flags) override {
        shown.push_back({stringId, flags});
        if (flags != kMessageYesNoQuestion) {
            return kAnswerOk;
        }
        if (answers.empty()) {
            return kAnswerNo;
        }
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<int> answers;
    std::vector<Shown> shown;
};

inline sim::SimulatorConfig ProjectorAt(const std::string& address) {
    sim::SimulatorConfig config;
    config.address = address;
    config.port = 0;
    config.secondaryPort = 0;
    return config;
}

class CWorkerBench {
  public:
    explicit CWorkerBench(const sim::SimulatorConfig& config) : projector(config) {
        std::string reason;
        EXPECT_TRUE(projector.Start(&reason)) << reason;
        StateOptions options;
        options.projectorPort = projector.TcpPort();
        state = std::make_unique<ApplicationState>(options);
        state->progressWindow = &window;
        state->messageService = &messages;

        ProjectorRecord record{};
        record.origin = kOriginAddress;
        CopyText(record.address, config.address);
        ScanDottedInto(config.address, record.ipAddress);
        record.imType = config.imType;
        CopyText(record.password, config.password);
        state->projectors.Append(record);
        state->selectedIndex = 0;
        CopyText(state->currentAddress, config.address);
    }

    ProjectorRecord& Record() { return *state->SelectedRecord(); }
    // Closes the link (CloseLink) and returns the command lines received once the projector
    // has seen it go. Send-only commands (IMSTAT, NWRESET) get no reply, so the worker may
    // finish before the projector has read them.
    Lines LogAfterClose() {
        CloseLink(*state);
        EXPECT_TRUE(WaitUntilSessionsEnd(projector)) << "the projector still serves a link";
        return projector.CommandLog();
    }

    // The messages posted so far: the progress steps and the others.
    struct Posted {
        std::vector<std::intptr_t> progress;
        std::vector<PostedMessage> results;
        std::intptr_t ProgressTotal() const {
            std::intptr_t total = 0;
            for (const auto step : progress) {
                total += step;
            }
            return total;
        }
    };
    Posted TakePosted() {
        Posted posted;
        for (const PostedMessage& message : window.TakeAll()) {
            if (message.message == kMessageProgress) {
                posted.progress.push_back(message.wParam);
            } else {
                posted.results.push_back(message);
            }
        }
        return posted;
    }

    // Reads every setting (the road before a write) and forgets what that logged and posted.
    void ReadAll() {
        state->readAllSettings = 1;
        ASSERT_EQ(ReadWorker(*state), 1);
        projector.ClearCommandLog();
        window.TakeAll();
    }

    sim::SimulatedProjector projector;
    CMessageQueue window;
    CScriptedMessages messages;
    std::unique_ptr<ApplicationState> state;
};

}  // namespace lanterna::test
