// A refresh's searches side by side against simulated projectors on loopback: the records
// appended, the reports and how the wait ends.

#include <gtest/gtest.h>

#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "discovery/RemoveDuplicates.h"
#include "discovery/SearchController.h"
#include "tests/integration/discovery/DiscoveryTestSupport.h"

namespace lanterna::test {
namespace {

using Report = std::pair<int, int>;

// Collects the reports as a window would receive them.
class CReportLog {
  public:
    SearchReportSink Sink() {
        return [this](int message, int wParam) {
            std::lock_guard guard(mutex);
            reports.emplace_back(message, wParam);
        };
    }
    std::vector<Report> Reports() {
        std::lock_guard guard(mutex);
        return reports;
    }

  private:
    std::mutex mutex;
    std::vector<Report> reports;
};

// ---- both searches ------------------------------------------------------------------------------

TEST(SearchController, BothSearchesAppendAndReportAndTheDuplicateGoes) {
    SimulatorConfig config = TestConfig("127.93.2.1");
    config.name = "ROOM-W";
    config.imType = 22;
    auto projector = StartProjector(config);
    ProjectorList projectors;
    CReportLog log;
    CSearchController search(projectors, log.Sink(), TargetsAt(*projector));
    const Stopwatch watch;
    ASSERT_EQ(search.Start(), 1);
    EXPECT_EQ(search.Start(), 0) << "one run per controller";
    EXPECT_EQ(search.WaitForEnd(), kSearchEndOk);
    EXPECT_GE(watch.Elapsed(), 4900ms) << "the hello waits 5 s after the last reply";

    // The secondary search ends after 2 s, the hello search 5 s after its reply.
    EXPECT_EQ(log.Reports(), (std::vector<Report>{{kSecondarySearchDoneMessage, 1},
                                                  {kHelloSearchDoneMessage, 1}}));
    EXPECT_EQ(search.HelloResult(), 1);
    EXPECT_EQ(search.SecondaryResult(), 1);
    const auto appended = search.Appended();
    ASSERT_EQ(appended.size(), 2U);
    EXPECT_EQ(appended[0].foundBy, SearchKind::kSecondary);
    EXPECT_EQ(appended[1].foundBy, SearchKind::kHello);
    ASSERT_EQ(projectors.Size(), 2U);
    EXPECT_EQ(projectors.At(0), appended[0].record);
    EXPECT_EQ(projectors.At(0)->imType, 0) << "the secondary search learns no type";
    EXPECT_EQ(projectors.At(1)->imType, 22);
    for (std::ptrdiff_t i = 0; i < 2; ++i) {
        EXPECT_EQ(TextOf(projectors.At(i)->projectorName), "ROOM-W");
        EXPECT_EQ(TextOf(projectors.At(i)->address), "127.93.2.1");
        EXPECT_EQ(projectors.At(i)->ipAddress, (Octets{127, 93, 2, 1}));
        EXPECT_EQ(projectors.At(i)->origin, kOriginSearch);
    }

    EXPECT_EQ(RemoveDuplicates(projectors), 1U);
    ASSERT_EQ(projectors.Size(), 1U);
    EXPECT_EQ(projectors.At(0)->imType, 22);
}

// ---- the PJLink search beside them ---------------------------------------------------------

// A projector all three searches find is one row found by all three; one only PJLink finds is
// a row of its own, marked so, with nothing the network module would have told.
TEST(SearchController, PjlinkAnswersJoinTheOthersByAddressOrStandAlone) {
    struct Case {
        const char* address;
        bool module;  // answers the hello and the secondary search
        std::size_t appended;
        std::uint8_t foundBy;
        const char* name;
    };
    const Case cases[] = {
        {"127.93.2.60", true, 2, kFinderHello | kFinderSecondary | kFinderPjlink, "HALL-1F"},
        {"127.93.2.61", false, 1, kFinderPjlink, ""},
    };
    for (const Case& c : cases) {
        SimulatorConfig config = TestConfig(c.address);
        config.name = "HALL-1F";
        config.discovery.answerHello = c.module;
        config.discovery.answerSecondary = c.module;
        config.pjlink.enabled = true;
        config.mac = "02000A5D023C";
        auto projector = StartProjector(config);
        ProjectorList projectors;
        CReportLog log;
        CSearchController search(projectors, log.Sink(), TargetsAt(*projector));
        ASSERT_EQ(search.Start(), 1);
        EXPECT_EQ(search.WaitForEnd(), kSearchEndOk) << c.address;
        EXPECT_EQ(log.Reports().size(), 2U) << "the PJLink search adds no report of its own";
        EXPECT_EQ(search.PjlinkResult(), 1) << c.address;
        EXPECT_EQ(search.Appended().size(), c.appended) << c.address;
        RemoveDuplicates(projectors);
        ASSERT_EQ(projectors.Size(), 1U) << c.address;
        const ProjectorRecord& record = *projectors.At(0);
        EXPECT_EQ(record.foundBy, c.foundBy) << c.address;
        EXPECT_EQ(OnlyPjlinkFound(record), !c.module) << c.address;
        EXPECT_EQ(TextOf(record.projectorName), c.name) << c.address;
        EXPECT_EQ(TextOf(record.address), c.address);
        EXPECT_TRUE(IsEmptyText(record.macAddress)) << "only a read of the module tells it";
        EXPECT_EQ(TextOf(record.pjlinkMacAddress), "02:00:0A:5D:02:3C") << "PJLink's claim, apart";
    }
}

// ---- replies that never reach the list --------------------------------------------------------

struct FaultCase {
    const char* address;
    void (*shape)(SimulatorConfig&);
};

TEST(SearchController, OtherSubnetsAreGreetedOneByOneBesideTheBroadcast) {
    SimulatorConfig local = TestConfig("127.93.2.40");
    local.name = "ROOM-201";
    auto localProjector = StartProjector(local);
    SimulatorConfig beyond = TestConfig("127.93.2.41");
    beyond.name = "HALL-1F";
    beyond.imType = 30;
    beyond.port = localProjector->HelloPort();  // one port for every projector, as on a site
    auto beyondProjector = StartProjector(beyond);
    ProjectorList projectors;
    CSearchController search(projectors, nullptr, TargetsAt(*localProjector),
                             {"127.93.2.41", "127.93.2.42"});  // the second one is silent
    ASSERT_EQ(search.Start(), 1);
    EXPECT_EQ(search.WaitForEnd(), kSearchEndOk);

    std::vector<std::string> byHello;
    for (const AppendedRecord& appended : search.Appended()) {
        if (appended.foundBy == SearchKind::kHello) {
            byHello.emplace_back(TextOf(appended.record->projectorName));
            EXPECT_EQ(appended.record->origin, kOriginSearch);
        }
    }
    EXPECT_EQ(byHello, (std::vector<std::string>{"ROOM-201", "HALL-1F"}));
    EXPECT_EQ(projectors.At(static_cast<std::ptrdiff_t>(projectors.Size()) - 1)->imType, 30);
}

TEST(SearchController, FaultyAnswersNeverReachTheList) {
    const std::vector<FaultCase> faults{
        {"127.93.2.11", [](SimulatorConfig& c) { c.imType = 20; }},
        {"127.93.2.12", [](SimulatorConfig& c) { c.discovery.helloHeaderCount = 2; }},
        {"127.93.2.13", [](SimulatorConfig& c) { c.discovery.helloFromOtherPort = true; }},
        {"127.93.2.14", [](SimulatorConfig& c) { c.discovery.helloStatus = 0; }},
        {"127.93.2.15", [](SimulatorConfig& c) { c.discovery.secondaryEmptyName = true; }},
    };
    // Each fault against a projector of its own, all at once: the hello waits are shared.
    std::vector<std::unique_ptr<SimulatedProjector>> projectors;
    std::vector<std::future<std::size_t>> found;
    for (const FaultCase& fault : faults) {
        SimulatorConfig config = TestConfig(fault.address);
        fault.shape(config);
        // Only the faulty search answers: the other would list the projector.
        if (config.discovery.secondaryEmptyName) {
            config.discovery.answerHello = false;
        } else {
            config.discovery.answerSecondary = false;
        }
        projectors.push_back(StartProjector(config));
        found.push_back(std::async(std::launch::async, [&target = *projectors.back()] {
            ProjectorList list;
            CSearchController search(list, nullptr, TargetsAt(target));
            search.Start();
            EXPECT_EQ(search.WaitForEnd(), kSearchEndOk);
            return list.Size();
        }));
    }
    for (std::size_t i = 0; i < faults.size(); ++i) {
        EXPECT_EQ(found[i].get(), 0U) << faults[i].address;
        const auto counters = projectors[i]->Counters();
        EXPECT_EQ(counters.helloAnswered + counters.secondaryAnswered, 1U)
            << faults[i].address << " was asked and answered";
    }
}

// ---- failures and cancel ------------------------------------------------------------------------

TEST(SearchController, HelloPortTakenStillReportsAndTheSecondaryResultDecides) {
    auto projector = StartProjector(TestConfig("127.93.2.21"));
    const int holder = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    ASSERT_EQ(bind(holder, reinterpret_cast<sockaddr*>(&local), sizeof local), 0);
    socklen_t size = sizeof local;
    getsockname(holder, reinterpret_cast<sockaddr*>(&local), &size);

    SearchTargets targets = TargetsAt(*projector);
    targets.hello.localPort = ntohs(local.sin_port);
    ProjectorList projectors;
    CReportLog log;
    CSearchController search(projectors, log.Sink(), targets);
    search.Start();
    EXPECT_EQ(search.WaitForEnd(), kSearchEndOk);
    close(holder);
    EXPECT_EQ(search.HelloResult(), -1);
    EXPECT_EQ(log.Reports(), (std::vector<Report>{{kHelloSearchDoneMessage, 1},
                                                  {kSecondarySearchDoneMessage, 1}}));
    ASSERT_EQ(projectors.Size(), 1U) << "the secondary search still found it";
    EXPECT_EQ(search.Appended()[0].foundBy, SearchKind::kSecondary);
}

TEST(SearchController, CancelEndsBothSearchesSoonAndBothStillReport) {
    auto projector = StartProjector(TestConfig("127.93.2.31"));
    ProjectorList projectors;
    CReportLog log;
    CSearchController search(projectors, log.Sink(), TargetsAt(*projector));
    search.Start();
    std::this_thread::sleep_for(300ms);
    const Stopwatch watch;
    search.Cancel();
    search.WaitForEnd();
    EXPECT_LT(watch.Elapsed(), 1500ms);
    EXPECT_EQ(log.Reports().size(), 2U);
    EXPECT_EQ(projectors.Size(), 2U) << "what was found before the cancel stays";
}

TEST(SearchController, DestroyingARunningSearchWaitsForItsThreads) {
    auto projector = StartProjector(TestConfig("127.93.2.41"));
    ProjectorList projectors;
    CReportLog log;
    const Stopwatch watch;
    {
        CSearchController search(projectors, log.Sink(), TargetsAt(*projector));
        search.Start();
        std::this_thread::sleep_for(100ms);
    }
    EXPECT_LT(watch.Elapsed(), 1500ms);
    EXPECT_EQ(log.Reports().size(), 2U) << "no report arrives after destruction";
    CSearchController neverStarted(projectors, log.Sink(), TargetsAt(*projector));
    EXPECT_EQ(neverStarted.WaitForEnd(), kSearchEndCancel);
}

}  // namespace
}  // namespace lanterna::test
