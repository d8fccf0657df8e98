// The whole road of a projector: probe, read with the password, write, close.

#include "WorkerHarness.h"

namespace lanterna::test {
namespace {

TEST(Road, ProbeReadWriteAndCloseOnOneProjector) {
    auto config = ProjectorAt("127.86.8.1");
    config.password = "pw";
    CWorkerBench bench(config);
    CopyText(bench.Record().password, "");
    ASSERT_EQ(ProbeWorker(*bench.state), 2);

    CopyText(bench.Record().password, "pw");
    ASSERT_EQ(ReadWorker(*bench.state), 1);
    CopyText(bench.Record().projectorName, "ROAD-1");
    bench.Record().projectorNameState = kStateChanged;
    ASSERT_EQ(WriteWorker(*bench.state), 1);
    CloseLink(*bench.state);
    EXPECT_EQ(bench.state->link, nullptr);

    const Lines log = bench.LogAfterClose();
    ASSERT_EQ(log.size(), 23U);
    EXPECT_EQ(log.front(), "NWIF?");
    EXPECT_EQ(log[19], "NWPRIMIF?");
    EXPECT_EQ(
        (Lines(log.begin() + 20, log.end())),
        (Lines{"NWPNAME ROAD-1", "NWCNF OFF 127.86.8.1 255.255.255.0 127.86.8.254", "IMSTAT 31"}));
    EXPECT_EQ(bench.projector.HandshakeLog().size(), 2U);  // probe, then connect

    std::vector<PostedMessage> results;
    for (const auto& message : bench.window.TakeAll()) {
        if (message.message != kMessageProgress) {
            results.push_back(message);
        }
    }
    EXPECT_EQ(results,
              (std::vector<PostedMessage>{
                  {kMessageProbeResult, 2}, {kMessageReadResult, 1}, {kMessageWriteResult, 1}}));
}

}  // namespace
}  // namespace lanterna::test
