#include "tools/projector-sim/ProjectorState.h"

namespace lanterna::sim {

ProjectorState::ProjectorState(const SimulatorConfig& config)
    : settings_(DefaultSettings(config)),
      faults_(config.faults),
      discovery_(config.discovery),
      logFile_(config.logFile, config.logPrefix) {}

ProjectorSettings ProjectorState::Settings() const {
    std::lock_guard lock(mutex_);
    return settings_;
}

void ProjectorState::SetSettings(const ProjectorSettings& settings) {
    std::lock_guard lock(mutex_);
    settings_ = settings;
}

std::optional<std::string> ProjectorState::Query(std::string_view command) const {
    std::lock_guard lock(mutex_);
    return QueryValue(settings_, command);
}

bool ProjectorState::Apply(std::string_view command, std::string_view argument) {
    std::lock_guard lock(mutex_);
    return ApplySet(settings_, command, argument);
}

FaultConfig ProjectorState::Faults() const {
    std::lock_guard lock(mutex_);
    return faults_;
}

void ProjectorState::SetFaults(const FaultConfig& faults) {
    std::lock_guard lock(mutex_);
    faults_ = faults;
}

DiscoveryConfig ProjectorState::Discovery() const {
    std::lock_guard lock(mutex_);
    return discovery_;
}

void ProjectorState::SetDiscovery(const DiscoveryConfig& discovery) {
    std::lock_guard lock(mutex_);
    discovery_ = discovery;
}

HandshakeAnswer ProjectorState::Handshake(const HandshakeRequest& request) {
    std::lock_guard lock(mutex_);
    HandshakeAnswer answer;
    if (faults_.handshakeStatus) {
        answer.status = *faults_.handshakeStatus;
        answer.authenticated =
            request.header.type == kPacketConnect && answer.status == kStatusAccepted;
    } else {
        answer = AnswerHandshake(request, settings_.password);
    }
    handshakeLog_.push_back({request.header.version, request.header.type,
                             request.header.headerCount, request.entries, answer.status});
    if (answer.authenticated) {
        ++counters_.sessionsOpened;
    }
    return answer;
}

CommandOutcome ProjectorState::Execute(std::string_view line, bool overlong) {
    std::lock_guard lock(mutex_);
    commandLog_.emplace_back(line);
    logFile_.Append(line);
    if (overlong) {
        return CommandOutcome{"ERR\r:"};
    }
    CommandOutcome outcome = ExecuteCommand(
        settings_, line, CommandOptions{&faults_.refusedCommands, faults_.answerSendOnlyCommands});
    counters_.testMails += outcome.testMail ? 1 : 0;
    counters_.resets += outcome.reset ? 1 : 0;
    const CommandLine command = ParseCommandLine(line);
    if (const auto fault = faults_.replyFaults.find(std::string(command.name));
        fault != faults_.replyFaults.end()) {
        ApplyReplyFault(settings_, command, fault->second, outcome);
    }
    return outcome;
}

std::vector<std::string> ProjectorState::CommandLog() const {
    std::lock_guard lock(mutex_);
    return commandLog_;
}

void ProjectorState::ClearCommandLog() {
    std::lock_guard lock(mutex_);
    commandLog_.clear();
}

std::vector<HandshakeRecord> ProjectorState::HandshakeLog() const {
    std::lock_guard lock(mutex_);
    return handshakeLog_;
}

ProjectorCounters ProjectorState::Counters() const {
    std::lock_guard lock(mutex_);
    return counters_;
}

void ProjectorState::CountConnection(bool served) {
    std::lock_guard lock(mutex_);
    ++(served ? counters_.connectionsServed : counters_.connectionsRefused);
}

void ProjectorState::CountConnectionEnded() {
    std::lock_guard lock(mutex_);
    ++counters_.connectionsEnded;
}

void ProjectorState::CountHello() {
    std::lock_guard lock(mutex_);
    ++counters_.helloAnswered;
}

void ProjectorState::CountSecondary() {
    std::lock_guard lock(mutex_);
    ++counters_.secondaryAnswered;
}

}  // namespace lanterna::sim
