#include <gtest/gtest.h>

#include "pjlink/Reading.h"
#include "tools/projector-sim/SimulatedProjector.h"

namespace lanterna::pjlink {
namespace {

// A simulated projector speaking PJLink on a free port of `address`.
std::unique_ptr<sim::SimulatedProjector> Projector(const std::string& address,
                                                   const sim::PjlinkConfig& pjlink) {
    sim::SimulatorConfig config;
    config.address = address;
    config.port = 0;
    config.secondaryPort = 0;
    config.name = "ROOM-201";
    config.pjlink = pjlink;
    config.pjlink.enabled = true;
    config.pjlink.port = 0;
    auto projector = std::make_unique<sim::SimulatedProjector>(config);
    EXPECT_TRUE(projector->Start());
    return projector;
}

ClientOptions OptionsFor(sim::SimulatedProjector& projector) {
    ClientOptions options;
    options.port = projector.Pjlink()->Port();
    options.replyTimeoutMs = 400;
    return options;
}

TEST(PjlinkSimulator, ReadsAndSwitchesPowerWithAPassword) {
    sim::PjlinkConfig pjlink;
    pjlink.password = "secret";
    pjlink.errors = "002000";
    const auto projector = Projector("127.43.7.1", pjlink);
    const HealthRead read = ReadHealth("127.43.7.1", "secret", OptionsFor(*projector));
    ASSERT_EQ(read.error, LinkError::kNone) << LinkErrorKey(read.error);
    EXPECT_EQ(read.health.name, "ROOM-201");
    EXPECT_EQ(read.health.errors, (ErrorLevels{0, 0, 2, 0, 0, 0}));
    EXPECT_EQ(MostLampHours(read.health), 1520);
    EXPECT_EQ(read.health.inputNames.size(), 3u);
    EXPECT_EQ(SetPower("127.43.7.1", "secret", false, OptionsFor(*projector)).result,
              PowerResult::kDone);
    EXPECT_EQ(projector->Pjlink()->Config().power, "0");
    // A new link: the digest goes in front of its first command again.
    EXPECT_TRUE(projector->Pjlink()->Log().back().ends_with("%1POWR 0"));
    EXPECT_EQ(projector->Pjlink()->Log().back().size(), 32u + 8u);
}

// Each fault of the simulator as the client sees it.
TEST(PjlinkSimulator, Faults) {
    struct Case {
        std::string name;
        std::function<void(sim::PjlinkConfig&)> fault;
        LinkError expected;
    };
    const Case cases[] = {
        {"wrong digest", [](sim::PjlinkConfig& c) { c.faults.wrongDigest = true; },
         LinkError::kPasswordRefused},
        {"garbage", [](sim::PjlinkConfig& c) { c.faults.garbage = true; }, LinkError::kGarbage},
        {"silence", [](sim::PjlinkConfig& c) { c.faults.silent = true; }, LinkError::kTimeout},
        {"trickle", [](sim::PjlinkConfig& c) { c.faults.trickle = std::chrono::milliseconds(60); },
         LinkError::kTimeout},
        {"lamp unavailable", [](sim::PjlinkConfig& c) { c.faults.errors["LAMP"] = "ERR3"; },
         LinkError::kNone},
    };
    int n = 0;
    for (const Case& c : cases) {
        sim::PjlinkConfig pjlink;
        pjlink.password = "secret";
        c.fault(pjlink);
        const auto projector = Projector("127.43.8." + std::to_string(++n), pjlink);
        const HealthRead read =
            ReadHealth(projector->Address(), "secret", OptionsFor(*projector));
        EXPECT_EQ(read.error, c.expected) << c.name;
        EXPECT_FALSE(read.health.lamps) << c.name;
    }
}

}  // namespace
}  // namespace lanterna::pjlink
