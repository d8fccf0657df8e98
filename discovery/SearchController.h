#pragma once
// A refresh's search: the hello search, the secondary search and the class-2 PJLink search side
// by side, each on a thread of its own, appending a record (origin 0) per projector found to one
// projector list and reporting once when done. What the PJLink search finds is joined to the
// others' records once both have appended theirs: a projector one of them found too (the same
// hardware address, else the same address) is marked found by PJLink as well, the others are
// appended; the last of the two reports waits for that, so the wait rules stay those of two
// searches. The hello search also greets the addresses of other subnets, one
// unicast hello each, beside its broadcast and within the same time. Qt-free; a window shows the wait and reacts to the reports, the
// command line simply waits.
//
//     ProjectorList projectors;
//     CSearchController search(projectors, [&](int message, int wParam) { post(message, wParam);
//     }); search.Start();
//     ... each report arrives on a search thread; feed them to a CSearchCompletion ...
//     // or: const int endCode = search.WaitForEnd();
//
// Threads: Start, Cancel, WaitForEnd and the destructor may be called from any thread. The
// list takes its own lock on every append, so the two searches never change it at the same
// moment; nothing else should change it while a search runs. Every record carries the searches
// that found it in `foundBy`.

#include <atomic>
#include <condition_variable>
#include <optional>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "discovery/HelloRun.h"
#include "discovery/HelloSweep.h"
#include "discovery/SearchCompletion.h"
#include "discovery/SearchTargets.h"
#include "discovery/SecondarySearch.h"
#include "pjlink/Search.h"
#include "record/ProjectorList.h"

namespace lanterna {

// Secondary answers turned into records at most: as many as the list holds.
inline constexpr std::size_t kSecondaryRecordCapacity = ProjectorList::kDisplayLimit;
// Other subnets' addresses greeted at most, and how long they are waited for (as long as the
// broadcast waits after its last reply); the silent ones are greeted again in between.
inline constexpr std::size_t kOtherSubnetAddresses = ProjectorList::kDisplayLimit;
inline constexpr std::uint32_t kOtherSubnetsWaitMs = 5000;
inline constexpr std::uint32_t kOtherSubnetsResendMs = 1000;

enum class SearchKind { kHello, kSecondary, kPjlink };

struct AppendedRecord {
    const ProjectorRecord* record;  // owned by the list; valid until removed from it
    SearchKind foundBy;
};

// Receives the reports: kHelloSearchDoneMessage with 1, kSecondarySearchDoneMessage with 1
// (ran) or 0 (could not run). Called on a search thread after that search's last append, one
// call at a time; it must not block nor call back into the controller.
using SearchReportSink = std::function<void(int message, int wParam)>;

class CSearchController {
  public:
    // `projectors` must outlive the controller.
    // The addresses of `otherSubnets` (at most kOtherSubnetAddresses; the rest are not greeted)
    // each get a hello of their own at the hello target's port, beside the broadcast.
    explicit CSearchController(ProjectorList& projectors, SearchReportSink sink = nullptr,
                               SearchTargets targets = {},
                               std::vector<std::string> otherSubnets = {});
    // Cancels and waits for both threads, so no report arrives afterwards.
    ~CSearchController();
    CSearchController(const CSearchController&) = delete;
    CSearchController& operator=(const CSearchController&) = delete;

    // Starts both searches. 1 started; 0 when already started. A thread that cannot be started
    // counts as a search that found nothing (the secondary one reports 0).
    int Start();

    // Ends both searches early; what they appended stays and both still report.
    void Cancel();

    // Blocks until both searches have reported; the end code the wait dialog ends with.
    int WaitForEnd();

    // After the end: the hello run's result (1, or -1 when it could not run), the count of
    // secondary answers (or -1), the count of PJLink answers (or -1; 0 when it was not asked
    // for), and the records appended, in the order they were appended.
    int HelloResult() const;
    int SecondaryResult() const;
    int PjlinkResult() const;
    std::vector<AppendedRecord> Appended() const;
    // After the end: the PJLink answers as they came, each source address once.
    std::vector<pjlink::SearchAnswer> PjlinkAnswers() const;

  private:
    void RunHello();
    // Greets the other subnets on a thread of its own while the broadcast runs; false when no
    // thread could be made (they are greeted afterwards then).
    bool StartSweep();
    void RunSecondary();
    void RunPjlink();
    bool Append(ProjectorRecord record, SearchKind foundBy);
    // Under the lock: the PJLink answers joined to the list.
    void JoinPjlinkAnswers();
    void Report(int message, int wParam);
    // Under the lock: hands a report on.
    void Deliver(int message, int wParam);

    ProjectorList& projectors;
    SearchReportSink sink;
    const std::string helloAddress;
    const std::uint32_t helloQuietMs;
    CHelloRun hello;
    const std::vector<std::string> otherAddresses;
    CHelloSweep sweep;
    std::vector<HelloAnswer> swept;  // written by the sweep thread, read after it has ended
    std::thread sweepThread;
    CSecondarySearch secondary;
    const PjlinkSearchTarget pjlinkTarget;
    std::atomic<bool> pjlinkCancelled{false};

    std::thread helloThread;
    std::thread secondaryThread;
    std::thread pjlinkThread;
    bool started = false;

    mutable std::mutex mutex;
    std::condition_variable ended;
    CSearchCompletion completion;
    std::vector<AppendedRecord> appended;
    std::vector<ProjectorRecord*> ownRecords;  // the same records, for the PJLink mark
    int helloResult = 0;
    int secondaryResult = 0;
    int pjlinkResult = 0;
    std::vector<pjlink::SearchAnswer> pjlinkAnswers;
    bool pjlinkDone = false;
    int reportsSeen = 0;
    // The last report, held until the PJLink answers are joined.
    std::optional<std::pair<int, int>> heldReport;
};

}  // namespace lanterna
