// The probe worker and the password worker against a simulated projector.

#include "WorkerHarness.h"
#include "link/NetworkCommands.h"
#include "workers/PasswordResults.h"

namespace lanterna::test {
namespace {

using Progress = std::vector<std::intptr_t>;
using Results = std::vector<PostedMessage>;

// ---- probe ------------------------------------------------------------------------------------

TEST(ProbeWorker, ProjectorWithoutPasswordGivesOne) {
    CWorkerBench bench(ProjectorAt("127.86.1.1"));
    EXPECT_EQ(ProbeWorker(*bench.state), 1);
    const auto posted = bench.TakePosted();
    EXPECT_EQ(posted.progress, (Progress{10, 50, 40}));
    EXPECT_EQ(posted.results, (Results{{kMessageProbeResult, 1}}));
    EXPECT_EQ(bench.state->link, nullptr);
    EXPECT_EQ(bench.projector.HandshakeLog().size(), 1U);
    EXPECT_TRUE(bench.LogAfterClose().empty());
}

TEST(ProbeWorker, ProjectorWithPasswordGivesTwo) {
    auto config = ProjectorAt("127.86.1.2");
    config.password = "secret";
    CWorkerBench bench(config);
    EXPECT_EQ(ProbeWorker(*bench.state), 2);
    EXPECT_EQ(bench.TakePosted().results, (Results{{kMessageProbeResult, 2}}));
    EXPECT_EQ(bench.state->link, nullptr);
}

TEST(ProbeWorker, ConnectsToTheCurrentAddress) {
    CWorkerBench bench(ProjectorAt("127.86.1.3"));
    CopyText(bench.state->currentAddress, "127.86.1.4");  // nobody there
    EXPECT_EQ(ProbeWorker(*bench.state), -1);
    const auto posted = bench.TakePosted();
    EXPECT_EQ(posted.progress, (Progress{10}));
    EXPECT_EQ(posted.results, (Results{{kMessageProbeResult, -1}}));
    EXPECT_EQ(bench.state->link, nullptr);
    EXPECT_TRUE(bench.projector.HandshakeLog().empty());
}

TEST(ProbeWorker, AnotherLinkOpenIsClosedAndGivesZero) {
    CWorkerBench bench(ProjectorAt("127.86.1.5"));
    bench.ReadAll();
    ASSERT_NE(bench.state->link, nullptr);
    EXPECT_EQ(ProbeWorker(*bench.state), 0);
    EXPECT_EQ(bench.state->link, nullptr);
    EXPECT_EQ(bench.TakePosted().results, (Results{{kMessageProbeResult, 0}}));
}

TEST(ProbeWorker, UnansweredProbeFails) {
    auto config = ProjectorAt("127.86.1.6");
    config.faults.handshakeStatus = 0x99;  // neither "needed" nor "not needed"
    CWorkerBench bench(config);
    EXPECT_EQ(ProbeWorker(*bench.state), -1);
    EXPECT_EQ(bench.state->link, nullptr);
    EXPECT_EQ(bench.TakePosted().progress, (Progress{10, 50}));
}

// ---- password change --------------------------------------------------------------------------

TEST(PasswordWorker, ChangesThePasswordOfTheRecordsAddress) {
    auto config = ProjectorAt("127.86.2.1");
    config.password = "old";
    CWorkerBench bench(config);
    CopyText(bench.state->currentAddress, "127.86.2.99");  // not used by this worker
    CopyText(bench.state->currentPassword, "old");
    CopyText(bench.state->newPassword, "fresh-one");
    EXPECT_EQ(PasswordWorker(*bench.state), 1);
    const auto posted = bench.TakePosted();
    EXPECT_EQ(posted.progress, (Progress{10, 20, 60, 10}));
    EXPECT_EQ(posted.results, (Results{{kMessagePasswordResult, 1}}));
    EXPECT_EQ(bench.projector.Settings().password, "fresh-one");
    EXPECT_EQ(bench.state->link, nullptr);
}

// A wrong current password (0x41) is told apart from the projector refusing with another status
// (its byte kept) and from an address nobody answers at.
TEST(PasswordWorker, WrongCurrentPasswordIsToldApartFromAFailureAndDropsTheLink) {
    struct Case {
        const char* address;
        std::optional<std::uint8_t> status;  // every handshake answered with it
        bool nobodyThere;
        int result;
        Progress progress;
    };
    const Case cases[] = {
        {"127.86.2.2", std::nullopt, false, kPasswordChangeRefused, {10, 20}},
        {"127.86.2.4", 0x55, false, PasswordDeclinedResult(0x55), {10, 20}},
        {"127.86.2.7", 0x40, false, PasswordDeclinedResult(0x40), {10, 20}},
        {"127.86.2.5", std::nullopt, true, -1, {10}},
    };
    for (const Case& c : cases) {
        auto config = ProjectorAt(c.address);
        config.password = "old";
        config.faults.handshakeStatus = c.status;
        CWorkerBench bench(config);
        if (c.nobodyThere) {
            CopyText(bench.state->projectors.At(0)->address, "127.86.2.6");
        }
        CopyText(bench.state->currentPassword, "guess");
        CopyText(bench.state->newPassword, "fresh");
        EXPECT_EQ(PasswordWorker(*bench.state), c.result) << c.address;
        const auto posted = bench.TakePosted();
        EXPECT_EQ(posted.progress, c.progress) << c.address;
        EXPECT_EQ(posted.results, (Results{{kMessagePasswordResult, c.result}})) << c.address;
        EXPECT_EQ(bench.projector.Settings().password, "old");
        EXPECT_EQ(bench.state->link, nullptr);
    }
}

TEST(PasswordWorker, AnotherLinkOpenIsLeftUntouched) {
    CWorkerBench bench(ProjectorAt("127.86.2.3"));
    bench.ReadAll();
    CProjectorLink* open = bench.state->link.get();
    EXPECT_EQ(PasswordWorker(*bench.state), 0);
    EXPECT_EQ(bench.state->link.get(), open);
    EXPECT_EQ(bench.TakePosted().results, (Results{{kMessagePasswordResult, 0}}));
    // The link still works.
    std::string name;
    EXPECT_EQ(QueryText(*bench.state->link, commands::kProjectorName, name), 1);
    EXPECT_EQ(name, "SIMPROJ");
}

}  // namespace
}  // namespace lanterna::test
