#include "discovery/SearchController.h"

#include <memory>
#include <new>
#include <system_error>
#include <utility>

#include "discovery/FoundRecord.h"

namespace lanterna {
namespace {

// The broadcast's socket holds the hello port, so the unicast hellos go from any free one; the
// projectors answer to the port a hello came from.
HelloSweepOptions OtherSubnetsSweepOptions(const HelloTarget& target) {
    HelloSweepOptions options;
    options.port = target.port;
    options.localPort = 0;
    options.quietMs = 0;
    options.limitMs = kOtherSubnetsWaitMs;
    options.resendMs = kOtherSubnetsResendMs;
    return options;
}

std::vector<std::string> FirstAddresses(std::vector<std::string> addresses) {
    if (addresses.size() > kOtherSubnetAddresses) {
        addresses.resize(kOtherSubnetAddresses);
    }
    return addresses;
}

}  // namespace

CSearchController::CSearchController(ProjectorList& projectorList, SearchReportSink reportSink,
                                     SearchTargets targets,
                                     std::vector<std::string> otherSubnets)
    : projectors(projectorList),
      sink(std::move(reportSink)),
      helloAddress(targets.hello.address),
      helloQuietMs(targets.hello.quietMs),
      hello(targets.hello.port, targets.hello.localPort),
      otherAddresses(FirstAddresses(std::move(otherSubnets))),
      sweep(OtherSubnetsSweepOptions(targets.hello)),
      secondary(std::move(targets.secondary)) {}

CSearchController::~CSearchController() {
    Cancel();
    if (helloThread.joinable()) {
        helloThread.join();
    }
    if (secondaryThread.joinable()) {
        secondaryThread.join();
    }
}

int CSearchController::Start() {
    {
        std::lock_guard guard(mutex);
        if (started) {
            return 0;
        }
        started = true;
    }
    try {
        helloThread = std::thread([this] { RunHello(); });
    } catch (const std::system_error&) {
        Report(kHelloSearchDoneMessage, 1);
    }
    try {
        secondaryThread = std::thread([this] { RunSecondary(); });
    } catch (const std::system_error&) {
        {
            std::lock_guard guard(mutex);
            secondaryResult = -1;
        }
        Report(kSecondarySearchDoneMessage, 0);
    }
    return 1;
}

void CSearchController::Cancel() {
    hello.Cancel();
    sweep.Cancel();
    secondary.Cancel();
}

int CSearchController::WaitForEnd() {
    std::unique_lock lock(mutex);
    if (!started) {
        return kSearchEndCancel;
    }
    ended.wait(lock, [this] { return completion.EndCode().has_value(); });
    return *completion.EndCode();
}

int CSearchController::HelloResult() const {
    std::lock_guard guard(mutex);
    return helloResult;
}

int CSearchController::SecondaryResult() const {
    std::lock_guard guard(mutex);
    return secondaryResult;
}

std::vector<AppendedRecord> CSearchController::Appended() const {
    std::lock_guard guard(mutex);
    return appended;
}

bool CSearchController::StartSweep() {
    if (otherAddresses.empty()) {
        return true;
    }
    try {
        sweepThread = std::thread([this] { sweep.Run(otherAddresses, swept); });
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

void CSearchController::RunHello() {
    const bool sweeping = StartSweep();
    std::vector<DiscoveredProjector> found;
    const int result = hello.Run(helloAddress, found, helloQuietMs);
    if (sweepThread.joinable()) {
        sweepThread.join();
    } else if (!sweeping) {
        sweep.Run(otherAddresses, swept);
    }
    {
        std::lock_guard guard(mutex);
        helloResult = result;
    }
    for (const HelloAnswer& answer : swept) {
        if (answer) {
            found.push_back(*answer);
        }
    }
    for (const DiscoveredProjector& projector : found) {
        if (!Append(MakeFoundRecord(TextOf(projector.name), TextOf(projector.address),
                                    projector.imType),
                    SearchKind::kHello)) {
            break;
        }
    }
    // The hello search reports 1 whatever happened: its failures only mean nothing was found.
    Report(kHelloSearchDoneMessage, 1);
}

void CSearchController::RunSecondary() {
    std::vector<SecondaryAnswer> answers;
    const int result = secondary.Run(answers, kSecondaryRecordCapacity);
    {
        std::lock_guard guard(mutex);
        secondaryResult = result;
    }
    bool complete = true;
    for (const SecondaryAnswer& answer : answers) {
        if (IsEmptyText(answer.name)) {
            break;
        }
        complete = Append(MakeFoundRecord(TextOf(answer.name), TextOf(answer.address), 0),
                          SearchKind::kSecondary);
        if (!complete) {
            break;
        }
    }
    Report(kSecondarySearchDoneMessage, result == -1 || !complete ? 0 : 1);
}

bool CSearchController::Append(const ProjectorRecord& record, SearchKind foundBy) {
    try {
        auto owned = std::make_unique<ProjectorRecord>(record);
        const ProjectorRecord* kept = owned.get();
        std::lock_guard guard(mutex);
        appended.reserve(appended.size() + 1);
        projectors.Append(std::move(owned));
        appended.push_back({kept, foundBy});
        return true;
    } catch (const std::bad_alloc&) {
        return false;  // out of memory: this search stops adding records
    }
}

void CSearchController::Report(int message, int wParam) {
    std::lock_guard guard(mutex);
    if (sink) {
        sink(message, wParam);
    }
    if (completion.OnSearchReport(wParam)) {
        ended.notify_all();
    }
}

}  // namespace lanterna
