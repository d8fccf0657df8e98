#include "fleet/TargetRoad.h"

#include "fleet/Credentials.h"
#include "workers/Workers.h"

namespace lanterna::fleet {

namespace {

void PutRecord(ApplicationState& state, const std::string& address, ProjectorRecord record) {
    record.origin = kOriginAddress;
    CopyText(record.address, address);
    state.projectors.Clear();
    state.projectors.Append(record);
    state.selectedIndex = 0;
    CopyText(state.currentAddress, address);
}

// Where a read worker's result other than 1 ends the road.
RoadFailure ReadFailureOf(int result, const ApplicationState& state,
                          const std::string& expectedMac) {
    const ProjectorRecord& record = *state.SelectedRecord();
    RoadFailure failure;
    failure.workerResult = result;
    switch (result) {
        case kReadLinkLost:
            failure.stop = RoadStop::kReadFailed;
            failure.readProgress = state.readProgress;
            break;
        case 0:
            failure.stop = RoadStop::kPasswordRefused;
            break;
        case -2:
            failure.stop = RoadStop::kOtherProjector;
            failure.at = std::string(TextOf(record.address));
            failure.foundMac = std::string(TextOf(record.macAddress));
            failure.expectedMac = expectedMac;
            break;
        case -3:
            failure.stop = RoadStop::kNotSupported;
            break;
        default:
            failure.stop = RoadStop::kCannotContinue;
            break;
    }
    return failure;
}

}  // namespace

Outcome OutcomeOf(const RoadFailure& failure) {
    switch (failure.stop) {
        case RoadStop::kNone:
            return Outcome::kRead;
        case RoadStop::kNoRoute:
        case RoadStop::kNotAnswering:
        case RoadStop::kOtherLinkOpen:
            return Outcome::kNotAnswering;
        case RoadStop::kNoPassword:
            return Outcome::kNeedsPassword;
        case RoadStop::kPasswordRefused:
            return Outcome::kPasswordRefused;
        case RoadStop::kOtherProjector:
            return Outcome::kOtherProjector;
        case RoadStop::kNotSupported:
            return Outcome::kNotSupported;
        case RoadStop::kReadFailed:
            return Outcome::kReadFailed;
        case RoadStop::kCannotContinue:
            return Outcome::kFailed;
    }
    return Outcome::kFailed;
}

std::unique_ptr<ApplicationState> StateFor(const FleetNetwork& network) {
    StateOptions options;
    options.projectorPort = network.projectorPort;
    return std::make_unique<ApplicationState>(options);
}

std::vector<HelloAnswer> SweepAddresses(const FleetNetwork& network,
                                        const std::vector<std::string>& addresses,
                                        const HelloSweepOptions& base) {
    std::vector<std::string> routed;
    routed.reserve(addresses.size());
    for (const std::string& address : addresses) {
        routed.push_back(network.RouteOf(address).value_or(""));
    }
    HelloSweepOptions options = base;
    options.port = network.helloPort;
    options.localPort = network.helloLocalPort;
    std::vector<HelloAnswer> answers;
    CHelloSweep(options).Run(routed, answers);
    return answers;
}

std::vector<bool> LearnModuleTypes(const FleetNetwork& network, std::vector<Target>& targets,
                                   const std::vector<std::string>& alsoAsk,
                                   std::vector<HelloAnswer>* alsoAnswers) {
    std::vector<bool> unanswered(targets.size(), false);
    std::vector<std::size_t> asked;
    std::vector<std::string> addresses;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        if (!targets[i].imType) {
            asked.push_back(i);
            addresses.push_back(targets[i].address);
        }
    }
    addresses.insert(addresses.end(), alsoAsk.begin(), alsoAsk.end());
    if (addresses.empty()) {
        return unanswered;
    }
    HelloSweepOptions sweep;
    sweep.quietMs = network.helloQuietMs;
    const std::vector<HelloAnswer> answers = SweepAddresses(network, addresses, sweep);
    if (alsoAnswers != nullptr) {
        alsoAnswers->assign(answers.begin() + static_cast<std::ptrdiff_t>(asked.size()),
                            answers.end());
    }
    for (std::size_t k = 0; k < asked.size(); ++k) {
        Target& target = targets[asked[k]];
        if (answers[k]) {
            target.imType = answers[k]->imType;
            target.name = std::string(TextOf(answers[k]->name));
        } else {
            target.imType = 0;
            unanswered[asked[k]] = true;
        }
    }
    return unanswered;
}

namespace {

enum class Attempt { kOpen, kFailed, kAgain };

// One probe, password and read; kAgain when the projector refused a password and the source has
// another to try.
Attempt TryOpen(IWorkerDriver& driver, IPasswordSource& passwords, const Target& target,
                ApplicationState& state, int readAllSettings, const std::string& expectedMac,
                OpenedTarget& opened, RoadFailure& failure) {
    const int probe = driver.Run(WorkerMode::kProbe, state);
    if (probe != 1 && probe != 2) {
        failure.stop = probe == 0 ? RoadStop::kOtherLinkOpen : RoadStop::kNotAnswering;
        failure.workerResult = probe;
        return Attempt::kFailed;
    }
    opened.passwordSet = probe == 2;
    opened.password.clear();
    std::string keptFor;
    if (opened.passwordSet) {
        PasswordAnswer answer = passwords.PasswordFor(target);
        if (!answer.password) {
            failure.stop = RoadStop::kNoPassword;
            failure.passwordProblem = answer.problem;
            failure.passwordLength = answer.length;
            CloseLink(state);
            return Attempt::kFailed;
        }
        opened.password = std::move(*answer.password);
        keptFor = std::move(answer.keptFor);
    }
    // A kept password is for one projector: the read stops right after the hardware address
    // when another answered (the one expected is checked once the read is done).
    if (!keptFor.empty()) {
        CopyText(state.SelectedRecord()->macAddress, keptFor);
    }
    CopyText(state.SelectedRecord()->password, opened.password);
    state.readAllSettings = readAllSettings;
    int read = driver.Run(WorkerMode::kRead, state);
    const std::string found = KeptHardwareAddress(TextOf(state.SelectedRecord()->macAddress));
    if (read == 1 && !keptFor.empty() && !expectedMac.empty() &&
        found != KeptHardwareAddress(expectedMac)) {
        read = -2;
    }
    if (read == 1) {
        if (opened.passwordSet) {
            passwords.Accepted(target, opened.password,
                               std::string(TextOf(state.SelectedRecord()->macAddress)));
        }
        return Attempt::kOpen;
    }
    failure = ReadFailureOf(read, state, expectedMac.empty() ? keptFor : expectedMac);
    CloseLink(state);
    if (failure.stop == RoadStop::kOtherProjector && !keptFor.empty() && found != keptFor) {
        failure.keptPasswordSent = true;
        failure.expectedMac = keptFor;
        passwords.ReachedOther(target, keptFor, failure.foundMac);
        return Attempt::kFailed;
    }
    const bool again = failure.stop == RoadStop::kPasswordRefused && opened.passwordSet &&
                       passwords.Refused(target, opened.password);
    return again ? Attempt::kAgain : Attempt::kFailed;
}

}  // namespace

bool OpenTarget(const FleetNetwork& network, IWorkerDriver& driver, IPasswordSource& passwords,
                const Target& target, ApplicationState& state, int readAllSettings,
                const std::string& expectedMac, OpenedTarget& opened, RoadFailure& failure) {
    const std::optional<std::string> routed = network.RouteOf(target.address);
    if (!routed) {
        failure.stop = RoadStop::kNoRoute;
        return false;
    }
    ProjectorRecord record{};
    ScanDottedInto(target.address, record.ipAddress);
    CopyText(record.projectorName, target.name);
    CopyText(record.macAddress, expectedMac);
    record.imType = target.imType.value_or(0);
    for (int attempt = 0; attempt < kMaxPasswordAttempts; ++attempt) {
        PutRecord(state, *routed, record);
        failure = RoadFailure{};
        switch (TryOpen(driver, passwords, target, state, readAllSettings, expectedMac, opened,
                        failure)) {
            case Attempt::kOpen:
                return true;
            case Attempt::kFailed:
                return false;
            case Attempt::kAgain:
                break;
        }
    }
    return false;
}

bool ReadAgain(const FleetNetwork& network, IWorkerDriver& driver, const ProjectorRecord& written,
               const std::string& address, const std::string& password, ProjectorRecord& readBack,
               RoadFailure& failure) {
    const std::optional<std::string> routed = network.RouteOf(address);
    if (!routed) {
        failure.stop = RoadStop::kNoRoute;
        return false;
    }
    const auto state = StateFor(network);
    ProjectorRecord record{};
    ScanDottedInto(address, record.ipAddress);
    record.imType = written.imType;
    record.macAddress = written.macAddress;
    CopyText(record.password, password);
    PutRecord(*state, *routed, record);
    state->readAllSettings = 1;
    const int read = driver.Run(WorkerMode::kRead, *state);
    if (read != 1) {
        failure = ReadFailureOf(read, *state, std::string(TextOf(written.macAddress)));
        CloseLink(*state);
        return false;
    }
    readBack = *state->SelectedRecord();
    CloseLink(*state);
    return true;
}

}  // namespace lanterna::fleet
