#include "fleet/WriteFlow.h"

#include <algorithm>

#include "discovery/HelloSweep.h"
#include "fleet/History.h"
#include "fleet/WriteHistory.h"
#include "resources/StringIds.h"
#include "workers/WriteGroups.h"
#include "workers/Workers.h"

namespace lanterna::fleet {

namespace {

constexpr std::uint32_t kSettleResendMs = 1000;

// Whether `record` gives the projector other mail settings than it reported (or ones it did not
// report): only then is a test mail worth offering.
bool MailChanges(const ProjectorRecord& reported, const ProjectorRecord& record) {
    const auto differs = [](std::int32_t state, const auto& was, const auto& now) {
        return state == kStateUnknown || !(was == now);
    };
    const ProjectorRecord& a = reported;
    const ProjectorRecord& b = record;
    return differs(a.mailNotifyState, a.mailNotify, b.mailNotify) ||
           differs(a.smtpServerState, a.smtpServer, b.smtpServer) ||
           differs(a.smtpPortState, a.smtpPort, b.smtpPort) ||
           differs(a.mailTo1State, TextOf(a.mailTo1), TextOf(b.mailTo1)) ||
           differs(a.mailTo2State, TextOf(a.mailTo2), TextOf(b.mailTo2)) ||
           differs(a.mailTo3State, TextOf(a.mailTo3), TextOf(b.mailTo3)) ||
           differs(a.mailEvents1State, a.mailEvents1, b.mailEvents1) ||
           differs(a.mailEvents2State, a.mailEvents2, b.mailEvents2) ||
           differs(a.mailEvents3State, a.mailEvents3, b.mailEvents3);
}

}  // namespace

WriteJob TemplateJob(const ProjectorRecord& file) {
    WriteJob job;
    job.unsentRefuses = false;
    job.build = [&file](const Target&, ProjectorRecord& record) {
        TemplateMerge merge = MergeTemplate(file, record);
        BuiltRecord built;
        built.changed = std::move(merge.changed);
        built.leftAlone = std::move(merge.leftAlone);
        return built;
    };
    return job;
}

BuiltRecord BuildFromAssignments(const std::vector<FieldAssignment>& assignments,
                                 ProjectorRecord& record) {
    ApplyOutcome outcome = ApplyAssignments(assignments, record);
    BuiltRecord built;
    built.changed = std::move(outcome.changed);
    if (!outcome.ok) {
        built.refusal =
            BuildRefusal{outcome.field, outcome.value, outcome.messageId, outcome.rule};
    }
    return built;
}

std::optional<std::string> GivenAddress(const std::vector<FieldAssignment>& assignments) {
    std::optional<std::string> address;
    for (const FieldAssignment& assignment : assignments) {
        if (assignment.field == "dhcp") {
            ProjectorRecord probe{};
            if (ApplyAssignments({assignment}, probe).ok && probe.dhcp != 0) {
                return std::nullopt;
            }
        } else if (assignment.field == "ipAddress") {
            address = CanonicalAddress(assignment.value);
        }
    }
    return address;
}

WriteJob AssignmentsJob(const std::vector<FieldAssignment>& assignments) {
    WriteJob job;
    job.build = [&assignments](const Target&, ProjectorRecord& record) {
        return BuildFromAssignments(assignments, record);
    };
    job.addressFor = [given = GivenAddress(assignments)](const Target&) { return given; };
    return job;
}

WriteJob AssignmentsJob(const std::map<std::string, std::vector<FieldAssignment>>& byAddress) {
    WriteJob job;
    job.build = [&byAddress](const Target& target, ProjectorRecord& record) {
        const auto own = byAddress.find(target.address);
        return own == byAddress.end() ? BuiltRecord{} : BuildFromAssignments(own->second, record);
    };
    job.addressFor = [&byAddress](const Target& target) -> std::optional<std::string> {
        const auto own = byAddress.find(target.address);
        return own == byAddress.end() ? std::nullopt : GivenAddress(own->second);
    };
    return job;
}

std::vector<std::pair<int, std::vector<std::string>>> LeftAloneByReason(
    const std::vector<LeftAloneSetting>& leftAlone) {
    std::vector<std::pair<int, std::vector<std::string>>> groups;
    for (const auto& [reason, id] :
         {std::pair{LeftAloneReason::kOwnIdentity, int{kStringTemplateKeepsOwn}},
          std::pair{LeftAloneReason::kOtherInterface, int{kStringTemplateKeepsInterface}}}) {
        std::vector<std::string> fields;
        for (const LeftAloneSetting& setting : leftAlone) {
            if (setting.reason == reason) {
                fields.push_back(setting.field);
            }
        }
        if (!fields.empty()) {
            groups.emplace_back(id, std::move(fields));
        }
    }
    return groups;
}

CFleetWrite::CFleetWrite(const FleetNetwork& network, const WriteJob& job,
                         const WriteOptions& options, IPasswordSource& passwords,
                         std::vector<Target> targets)
    : network_(network),
      job_(job),
      options_(options),
      passwords_(passwords),
      results_(targets.size()) {
    for (std::size_t i = 0; i < targets.size(); ++i) {
        results_[i].target = std::move(targets[i]);
    }
}

// ---- before: module types, and whether the address to give is taken ---------------------------

void CFleetWrite::LearnTypes() {
    std::vector<Target> targets;
    for (const WriteResult& result : results_) {
        targets.push_back(result.target);
    }
    // Every static address the run gives is asked, once, unless forced.
    std::vector<std::string> asked;
    const auto ask = [&](const std::optional<std::string>& address) {
        if (address && !options_.force &&
            std::find(asked.begin(), asked.end(), *address) == asked.end()) {
            asked.push_back(*address);
        }
    };
    ask(job_.alsoAsk);
    if (job_.addressFor) {
        for (const Target& target : targets) {
            ask(job_.addressFor(target));
        }
    }
    std::vector<HelloAnswer> answers;
    const std::vector<bool> unanswered = LearnModuleTypes(network_, targets, asked, &answers);
    for (std::size_t i = 0; i < results_.size(); ++i) {
        results_[i].target = targets[i];
        results_[i].helloUnanswered = unanswered[i];
    }
    GatherRun(answers, asked);
}

// What the gate is told of the whole run before the first write.
void CFleetWrite::GatherRun(const std::vector<HelloAnswer>& answers,
                            const std::vector<std::string>& asked) {
    gate_ = GateRun{};
    gate_.force = options_.force;
    gate_.claims = job_.claims;
    for (const WriteResult& result : results_) {
        gate_.present.push_back(CanonicalAddress(result.target.address).value_or(result.target.address));
        gate_.given.push_back(job_.addressFor ? job_.addressFor(result.target) : std::nullopt);
        gate_.names.push_back(result.target.name);
    }
    for (std::size_t k = 0; k < answers.size() && k < asked.size(); ++k) {
        if (answers[k]) {
            gate_.answering.emplace(asked[k], std::string(TextOf(answers[k]->name)));
        }
    }
}

// ---- per target
// ----------------------------------------------------------------------------------

bool CFleetWrite::Refuse(WriteResult& result, ApplicationState& state, WriteRefusal refusal) {
    // Settings kept for another projector: the outcome says so, as a read stopped there does.
    result.outcome = std::holds_alternative<IdentityMismatch>(refusal) ? Outcome::kOtherProjector
                                                                       : Outcome::kRefused;
    result.refusal = std::move(refusal);
    CloseLink(state);
    return false;
}

// The gate's verdict on the record about to be written; false when it refused it.
bool CFleetWrite::Check(std::size_t index, ApplicationState& state, const BuiltRecord& built) {
    WriteResult& result = results_[index];
    GateCase write;
    write.index = index;
    write.reported = &result.reported;
    write.record = state.SelectedRecord();
    write.lines = &result.lines;
    write.changed = &built.changed;
    write.judgeAgainstRead = job_.judgeAgainstRead;
    write.unsentRefuses = job_.unsentRefuses;
    if (job_.keptFor) {
        const KeptFor kept = job_.keptFor(result.target);
        write.keptFor = kept.mac;
        write.keptForType = kept.imType;
    }
    if (auto refusal = PassGate(gate_, write, result.leftOut)) {
        return Refuse(result, state, std::move(*refusal));
    }
    return true;
}

void CFleetWrite::WriteOne(std::size_t index, IWorkerDriver& driver) {
    WriteResult& result = results_[index];
    const auto state = StateFor(network_);
    OpenedTarget opened;
    if (!OpenTarget(network_, driver, passwords_, result.target, *state, job_.readAllSettings,
                    job_.expectedMac, opened, result.failure)) {
        result.outcome = OutcomeOf(result.failure);
        return;
    }
    ProjectorRecord& record = *state->SelectedRecord();
    result.name = std::string(TextOf(record.projectorName));
    result.password = opened.password;
    result.reported = record;
    const BuiltRecord built = job_.build(result.target, record);
    result.changed = built.changed;
    result.leftAlone = built.leftAlone;
    result.record = record;
    if (built.refusal) {
        Refuse(result, *state, *built.refusal);
        return;
    }
    // Asked for, the test mail goes out whether or not the mail settings change.
    const bool offerTestMail = options_.testMail || MailChanges(result.reported, record);
    result.lines = PlanWrite(record, options_.testMail);
    if (!Check(index, *state, built)) {
        return;
    }
    if (options_.dryRun) {
        result.outcome = result.lines.empty() ? Outcome::kUnchanged : Outcome::kWouldSend;
        CloseLink(*state);
        return;
    }
    // A write that sends nothing changes nothing: it takes no place in the history.
    const CHistory history(result.lines.empty() ? std::string() : options_.historyFolder);
    const auto now = std::chrono::system_clock::now();
    if (!history.Folder().empty() &&
        history.Keep(result.reported, now) != OutputStatus::kOk) {
        Refuse(result, *state, HistoryNotKept{history.Folder()});
        return;
    }
    driver.OfferTestMail(offerTestMail);
    state->testMailAsked = options_.testMail ? 1 : 0;
    result.result = driver.Run(WorkerMode::kWrite, *state);
    driver.OfferTestMail(true);
    result.writeErrors = state->writeErrors;
    result.progress = state->writeProgress;
    result.wrote = true;
    result.record = record;
    CloseLink(*state);
    AfterWrite(index);
    if (!history.Folder().empty()) {
        // The log is told of every write; one it cannot take does not undo what was sent, but
        // is told to the user.
        result.logStatus =
            history.LogWrite(result.reported, now, result.lines, OutcomeKey(result.outcome));
    }
}

// The outcome of the write, and where the projector is to be read back.
void CFleetWrite::AfterWrite(std::size_t index) {
    WriteResult& result = results_[index];
    result.outcome = WriteWorkerOutcome(result.result, result.lines.empty());
    if (result.result == kWriteUnreadSetting) {
        result.refusal = UnreadSettingCarried{result.progress.unreadSetting};
    }
    const ProjectorRecord& written = result.record;
    const std::string& own = result.target.address;
    if (!PlanSendsAddress(result.lines)) {
        result.readBackAt = own;
    } else if (written.dhcp == 0) {
        result.readBackAt = FormatDotted(written.ipAddress);
    } else if (result.reported.dhcp != 0 && job_.judgeAgainstRead) {
        result.readBackAt = own;  // it stays with DHCP
    } else {
        result.dhcpNow = true;
    }
    result.settle =
        result.readBackAt && (*result.readBackAt != own || PlanCarries(result.lines, "NWRESET"));
}

void CFleetWrite::Write(const RunControl& control) {
    if (gate_.present.size() != results_.size()) {
        GatherRun({}, {});
    }
    RunTargets(results_.size(), control, options_.testMail,
               [this](std::size_t i, IWorkerDriver& driver) {
                   WriteOne(i, driver);
                   results_[i].shown = driver.Kept();
                   return IsSuccess(results_[i].outcome);
               });
}

// ---- after: settling and the read-back
// -----------------------------------------------------------

void CFleetWrite::Settle() {
    std::vector<std::size_t> waiting;
    std::vector<std::string> addresses;
    for (std::size_t i = 0; i < results_.size(); ++i) {
        if (results_[i].outcome == Outcome::kSet && results_[i].settle) {
            waiting.push_back(i);
            addresses.push_back(*results_[i].readBackAt);
        }
    }
    if (addresses.empty() || options_.settleSeconds == 0) {
        return;
    }
    HelloSweepOptions sweep;
    sweep.quietMs = 0;
    sweep.limitMs = options_.settleSeconds * 1000;
    sweep.resendMs = kSettleResendMs;
    const std::vector<HelloAnswer> answers = SweepAddresses(network_, addresses, sweep);
    for (std::size_t k = 0; k < waiting.size(); ++k) {
        if (!answers[k]) {
            results_[waiting[k]].settled = false;
            results_[waiting[k]].outcome = Outcome::kNotAtAddress;
        }
    }
}

void CFleetWrite::VerifyOne(std::size_t index, IWorkerDriver& driver) {
    WriteResult& result = results_[index];
    if (result.outcome != Outcome::kSet || !result.readBackAt) {
        return;
    }
    ProjectorRecord readBack{};
    if (!ReadAgain(network_, driver, result.record, *result.readBackAt, result.password, readBack,
                   result.readBackFailure)) {
        result.outcome = result.readBackFailure.stop == RoadStop::kNoRoute
                             ? Outcome::kNotAtAddress
                             : OutcomeOf(result.readBackFailure);
        return;
    }
    result.readBack = true;
    result.notTaken = SettingsNotTaken(result.lines, result.record, readBack);
    if (!result.notTaken.empty()) {
        result.outcome = Outcome::kNotTaken;
    }
}

void CFleetWrite::Verify(const RunControl& control) {
    if (options_.dryRun || !options_.verify) {
        return;
    }
    Settle();
    // Every projector written is read back: a bound on failures stops writing, not reading.
    RunControl reading = control;
    reading.bounds.maxFailures = 0;
    RunTargets(results_.size(), reading, false, [this](std::size_t i, IWorkerDriver& driver) {
        VerifyOne(i, driver);
        return true;
    });
}

}  // namespace lanterna::fleet
