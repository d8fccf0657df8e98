#include <gtest/gtest.h>

#include "link/LinkPacket.h"
#include "tests/integration/link/LinkTestSupport.h"
#include "tests/support/cli/CliHarness.h"
#include "tests/support/peer/ScriptedPeer.h"
#include "tests/support/port/ProcessPort.h"

namespace lanterna {
namespace {

using test::AsBytes;
using test::CScriptedPeer;
using test::RunCli;
using test::StatusReply;

// The command is pointed at the test process's own projector port; these tests stand on a
// loopback address of their own.
constexpr const char* kAddress = "127.83.29.1";

// The messages are read in English.
test::CliSetup English() {
    test::CliSetup setup;
    setup.environment["LANTERNA_LANG"] = "en";
    return setup;
}

TEST(QueryCommand, PrintsEachValueAfterAuthenticatingWithThePasswordFromTheEnvironment) {
    CScriptedPeer peer(kAddress, test::ProcessProjectorPort());
    peer.Expect(AsBytes(BuildConnectRequest("pw")))
        .Reply(StatusReply(0x20))
        .ExpectLine("NWPNAME?")
        .Reply("NWPNAME=ROOM-12\r:")
        .ExpectLine("NWIPADR?")
        .Reply("NWIPADR=10.0.0.5\r:");
    peer.Start();
    test::CliSetup setup;
    setup.environment["LANTERNA_PASSWORD"] = "pw";
    const auto run = RunCli({"query", kAddress, "NWPNAME", "NWIPADR"}, setup);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "NWPNAME=ROOM-12\nNWIPADR=10.0.0.5\n");
    EXPECT_TRUE(peer.Finish());
}

TEST(QueryCommand, UnsetPasswordMeansEmptyAndRefusalIsReported) {
    CScriptedPeer peer(kAddress, test::ProcessProjectorPort());
    peer.Expect(AsBytes(BuildConnectRequest(""))).Reply(StatusReply(0x43));
    peer.Start();
    const auto run = RunCli({"query", kAddress, "NWPNAME"}, English());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("authentication refused"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("-4"), std::string::npos) << run.err;
    EXPECT_TRUE(peer.Finish());
}

TEST(QueryCommand, FailedQueryStopsWithAnError) {
    CScriptedPeer peer(kAddress, test::ProcessProjectorPort());
    peer.Expect(AsBytes(BuildConnectRequest("")))
        .Reply(StatusReply(0x20))
        .ExpectLine("NWPNAME?")
        .Reply("NWPNAME=A\r:")
        .ExpectLine("NWBOGUS?")
        .Reply("ERR\r:");
    peer.Start();
    const auto run = RunCli({"query", kAddress, "NWPNAME", "NWBOGUS", "NWIPADR"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "NWPNAME=A\n");
    EXPECT_NE(run.err.find("NWBOGUS"), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_TRUE(peer.Finish());
}

TEST(QueryCommand, ConnectFailureIsReported) {
    const auto run = RunCli({"query", "127.83.29.2", "NWPNAME"}, English());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("connect"), std::string::npos) << run.err;
}

TEST(QueryCommand, CommandWithAControlByteIsRefusedBeforeConnecting) {
    // Nothing listens there: a command line that went out would first fail to connect.
    const auto run = RunCli({"query", "127.83.29.3", "NWPNAME", "NWCNAME HACKED\rNWCNAME"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("'NWCNAME HACKED\\x0dNWCNAME' holds a control byte; nothing was sent"),
              std::string::npos)
        << run.err;
}

TEST(QueryCommand, MissingArgumentsAreAUsageError) {
    EXPECT_EQ(RunCli({"query"}).status, 2);
    EXPECT_EQ(RunCli({"query", kAddress}).status, 2);
}

}  // namespace
}  // namespace lanterna
