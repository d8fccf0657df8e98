#include <gtest/gtest.h>

#include "tests/support/cli/CliHarness.h"

namespace lanterna::cli {
namespace {

using test::RunCli;

TEST(Lanternactl, HelpListsEveryCommandAndExitStatus) {
    const test::CliRun run = RunCli({"--help"});
    EXPECT_EQ(run.status, kExitOk);
    for (const CliCommand& command : AllCommands()) {
        EXPECT_NE(run.out.find(command.usage), std::string::npos) << command.name;
    }
    EXPECT_NE(run.out.find("Exit status"), std::string::npos);
}

TEST(Lanternactl, UnknownOrMissingCommandIsAUsageError) {
    EXPECT_EQ(RunCli({}).status, kExitUsage);
    const test::CliRun run = RunCli({"frobnicate"});
    EXPECT_EQ(run.status, kExitUsage);
    EXPECT_NE(run.err.find("frobnicate"), std::string::npos);
}

}  // namespace
}  // namespace lanterna::cli
