#include "tools/lanternactl/TargetRoad.h"

#include "fleet/RecordFacts.h"
#include "platform/AsciiCase.h"
#include "resources/StringIds.h"
#include "tools/lanternactl/WorkerRunner.h"

namespace lanterna::cli {

namespace {

// A hardware address with colons, "(none)" when there is none.
std::string MacOrNone(std::string_view mac) {
    return mac.empty() ? "(none)" : fleet::MacText(mac);
}

void PutRecord(ApplicationState& state, const std::string& address, ProjectorRecord record) {
    record.origin = kOriginAddress;
    CopyText(record.address, address);
    state.projectors.Clear();
    state.projectors.Append(record);
    state.selectedIndex = 0;
    CopyText(state.currentAddress, address);
}

}  // namespace

int CQuietDriver::Run(WorkerMode mode, ApplicationState& state) {
    state.progressWindow = nullptr;
    state.messageService = this;
    const int result = RunWorker(mode, state);
    state.messageService = nullptr;
    return result;
}

int CQuietDriver::ShowMessage(IMessageTarget*, int stringId, int flags) {
    if (flags != kMessageYesNoQuestion) {
        shown_.push_back(MessageText(stringId));
        return kAnswerOk;
    }
    shown_.push_back(MessageText(stringId) + " " + (testMail_ ? "yes" : "no"));
    return testMail_ ? kAnswerYes : kAnswerNo;
}

std::unique_ptr<ApplicationState> StateFor(const CliNetwork& network) {
    StateOptions options;
    options.projectorPort = network.projectorPort;
    return std::make_unique<ApplicationState>(options);
}

std::vector<HelloAnswer> SweepAddresses(const CliNetwork& network,
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

void LearnModuleTypes(const CliNetwork& network, std::vector<Target>& targets,
                      std::vector<std::string>& notes, const std::vector<std::string>& alsoAsk,
                      std::vector<HelloAnswer>* alsoAnswers) {
    notes.assign(targets.size(), "");
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
        return;
    }
    const std::vector<HelloAnswer> answers = SweepAddresses(network, addresses, {});
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
            notes[asked[k]] = "no answer to the hello within " +
                              std::to_string(kHelloWaitMs / 1000) +
                              " seconds; worked on as module type 0";
        }
    }
}

void DescribeReadFailure(int result, const ProjectorRecord& record, const std::string& expectedMac,
                         TargetReport& report) {
    switch (result) {
        case 0:
            report.outcome = Outcome::kPasswordRefused;
            report.message = MessageText(kStringAuthenticationFailed);
            return;
        case -2:
            report.outcome = Outcome::kOtherProjector;
            report.message = "the projector at " + std::string(TextOf(record.address)) +
                             " has hardware address " + MacOrNone(TextOf(record.macAddress)) +
                             ", not " + MacOrNone(expectedMac);
            return;
        case -3:
            report.outcome = Outcome::kNotSupported;
            report.message = MessageText(kStringProjectorNotSupported);
            return;
        default:
            report.outcome = Outcome::kFailed;
            report.message = MessageText(kStringCannotContinue);
            return;
    }
}

bool OpenTarget(const CliNetwork& network, IWorkerDriver& driver, IPasswordSource& passwords,
                const Target& target, ApplicationState& state, int readAllSettings,
                const std::string& expectedMac, OpenedTarget& opened, TargetReport& report) {
    const std::optional<std::string> routed = network.RouteOf(target.address);
    if (!routed) {
        report.outcome = Outcome::kNotAnswering;
        report.message = MessageText(kStringConnectFailed);
        return false;
    }
    ProjectorRecord record{};
    ScanDottedInto(target.address, record.ipAddress);
    CopyText(record.projectorName, target.name);
    CopyText(record.macAddress, expectedMac);
    record.imType = target.imType.value_or(0);
    PutRecord(state, *routed, record);

    const int probe = driver.Run(WorkerMode::kProbe, state);
    if (probe != 1 && probe != 2) {
        report.outcome = Outcome::kNotAnswering;
        report.message = MessageText(probe == 0 ? kStringOtherLinkOpen : kStringConnectFailed);
        return false;
    }
    opened.passwordSet = probe == 2;
    if (opened.passwordSet) {
        std::string problem;
        const auto password = passwords.PasswordFor(target.address, problem);
        if (!password) {
            report.outcome = Outcome::kNeedsPassword;
            report.message = problem;
            return false;
        }
        opened.password = *password;
    }
    CopyText(state.SelectedRecord()->password, opened.password);
    state.readAllSettings = readAllSettings;
    const int read = driver.Run(WorkerMode::kRead, state);
    if (read != 1) {
        DescribeReadFailure(read, *state.SelectedRecord(), expectedMac, report);
        CloseLink(state);
        return false;
    }
    report.name = std::string(TextOf(state.SelectedRecord()->projectorName));
    return true;
}

bool ReadAgain(const CliNetwork& network, IWorkerDriver& driver, const ProjectorRecord& written,
               const std::string& address, const std::string& password, ProjectorRecord& readBack,
               TargetReport& report) {
    const std::optional<std::string> routed = network.RouteOf(address);
    if (!routed) {
        report.outcome = Outcome::kNotAtAddress;
        report.message = "could not be read back at " + address;
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
        DescribeReadFailure(read, *state->SelectedRecord(), std::string(TextOf(written.macAddress)),
                            report);
        report.message = "read back at " + address + ": " + report.message;
        CloseLink(*state);
        return false;
    }
    readBack = *state->SelectedRecord();
    CloseLink(*state);
    return true;
}

}  // namespace lanterna::cli
