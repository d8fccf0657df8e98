#include "discovery/SearchController.h"

#include <memory>
#include <new>
#include <system_error>
#include <utility>

#include "discovery/FoundRecord.h"
#include "discovery/PjlinkSide.h"

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

std::uint8_t FinderOf(SearchKind kind) {
    switch (kind) {
        case SearchKind::kHello:
            return kFinderHello;
        case SearchKind::kSecondary:
            return kFinderSecondary;
        case SearchKind::kPjlink:
            return kFinderPjlink;
    }
    return 0;
}

pjlink::SearchOptions PjlinkSearchOptions(const PjlinkSearchTarget& target,
                                          const std::atomic<bool>& cancelled) {
    pjlink::SearchOptions options;
    options.destinations = {target.address.empty() ? std::string(pjlink::kBroadcastAddress)
                                                   : target.address};
    options.port = target.port;
    options.localPort = target.localPort;
    options.localAddress = target.localAddress;
    options.waitMs = target.listenMs != 0 ? target.listenMs
                                          : static_cast<std::uint32_t>(kSecondaryWaitSeconds) * 1000;
    options.maxAnswers = kSecondaryRecordCapacity * kSecondaryDatagramsPerSlot;
    options.cancel = &cancelled;
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
      secondary(std::move(targets.secondary)),
      pjlinkTarget(std::move(targets.pjlink)) {}

CSearchController::~CSearchController() {
    Cancel();
    if (helloThread.joinable()) {
        helloThread.join();
    }
    if (secondaryThread.joinable()) {
        secondaryThread.join();
    }
    if (pjlinkThread.joinable()) {
        pjlinkThread.join();
    }
}

int CSearchController::Start() {
    {
        std::lock_guard guard(mutex);
        if (started) {
            return 0;
        }
        started = true;
        pjlinkDone = !pjlinkTarget.enabled;
    }
    if (pjlinkTarget.enabled) {
        try {
            pjlinkThread = std::thread([this] { RunPjlink(); });
        } catch (const std::system_error&) {
            std::lock_guard guard(mutex);
            pjlinkResult = -1;
            pjlinkDone = true;
        }
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
    pjlinkCancelled = true;
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

int CSearchController::PjlinkResult() const {
    std::lock_guard guard(mutex);
    return pjlinkResult;
}

std::vector<pjlink::SearchAnswer> CSearchController::PjlinkAnswers() const {
    std::lock_guard guard(mutex);
    return pjlinkAnswers;
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

void CSearchController::RunPjlink() {
    pjlink::SearchResult result = pjlink::Search(PjlinkSearchOptions(pjlinkTarget, pjlinkCancelled));
    std::lock_guard guard(mutex);
    pjlinkResult = result.ran ? static_cast<int>(result.answers.size()) : -1;
    pjlinkAnswers = std::move(result.answers);
    pjlinkDone = true;
    if (heldReport) {
        const auto [message, wParam] = *heldReport;
        heldReport.reset();
        JoinPjlinkAnswers();
        Deliver(message, wParam);
    }
}

void CSearchController::JoinPjlinkAnswers() {
    const std::vector<ProjectorRecord*> others = ownRecords;
    for (const pjlink::SearchAnswer& answer : pjlinkAnswers) {
        bool known = false;
        for (ProjectorRecord* record : others) {
            if (IsPjlinkSideOf(*record, answer)) {
                JoinPjlinkSide(*record, answer);
                known = true;
            }
        }
        if (known || appended.size() >= kSecondaryRecordCapacity) {
            continue;
        }
        // Its name is PJLink's to tell; the hardware address its search reported stays on its
        // PJLink side, and only a read of a network module fills macAddress.
        try {
            auto owned = std::make_unique<ProjectorRecord>(MakeFoundRecord("", answer.address, 0));
            owned->foundBy = kFinderPjlink;
            CopyText(owned->pjlinkMacAddress, answer.hardwareAddress);
            appended.reserve(appended.size() + 1);
            ownRecords.reserve(ownRecords.size() + 1);
            ProjectorRecord* kept = owned.get();
            projectors.Append(std::move(owned));
            appended.push_back({kept, SearchKind::kPjlink});
            ownRecords.push_back(kept);
        } catch (const std::bad_alloc&) {
            return;
        }
    }
}

bool CSearchController::Append(ProjectorRecord record, SearchKind foundBy) {
    record.foundBy = FinderOf(foundBy);
    try {
        auto owned = std::make_unique<ProjectorRecord>(record);
        ProjectorRecord* kept = owned.get();
        std::lock_guard guard(mutex);
        appended.reserve(appended.size() + 1);
        ownRecords.reserve(ownRecords.size() + 1);
        projectors.Append(std::move(owned));
        appended.push_back({kept, foundBy});
        ownRecords.push_back(kept);
        return true;
    } catch (const std::bad_alloc&) {
        return false;  // out of memory: this search stops adding records
    }
}

void CSearchController::Report(int message, int wParam) {
    std::lock_guard guard(mutex);
    if (++reportsSeen == 2) {
        if (!pjlinkDone) {
            heldReport = std::pair(message, wParam);
            return;
        }
        JoinPjlinkAnswers();
    }
    Deliver(message, wParam);
}

void CSearchController::Deliver(int message, int wParam) {
    if (sink) {
        sink(message, wParam);
    }
    if (completion.OnSearchReport(wParam)) {
        ended.notify_all();
    }
}

}  // namespace lanterna
