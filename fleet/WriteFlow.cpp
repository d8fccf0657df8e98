#include "fleet/WriteFlow.h"

#include "discovery/HelloSweep.h"
#include "fleet/History.h"
#include "fleet/WriteHistory.h"
#include "resources/StringIds.h"
#include "workers/WriteGroups.h"
#include "workers/Workers.h"

namespace lanterna::fleet {

namespace {

constexpr std::uint32_t kSettleResendMs = 1000;

bool SendsAddress(const std::vector<std::string>& lines) {
    return PlanCarries(lines, "NWCNF") || PlanCarries(lines, "NWWLCNF") ||
           PlanCarries(lines, "NWWLCNFS");
}

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
        built.refusal = BuildRefusal{outcome.field, outcome.value, outcome.messageId};
    }
    return built;
}

WriteJob AssignmentsJob(const std::vector<FieldAssignment>& assignments) {
    WriteJob job;
    job.build = [&assignments](const Target&, ProjectorRecord& record) {
        return BuildFromAssignments(assignments, record);
    };
    return job;
}

WriteJob AssignmentsJob(const std::map<std::string, std::vector<FieldAssignment>>& byAddress) {
    WriteJob job;
    job.build = [&byAddress](const Target& target, ProjectorRecord& record) {
        const auto own = byAddress.find(target.address);
        return own == byAddress.end() ? BuiltRecord{} : BuildFromAssignments(own->second, record);
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

std::optional<WriteRefusal> CheckBeforeWrite(const ProjectorRecord& record,
                                             const std::vector<std::string>& lines,
                                             const std::vector<std::string>& changed,
                                             const JudgeScope& scope, bool unsentRefuses,
                                             std::vector<NotSentSetting>& leftOut) {
    if (const std::string_view unread = UnreadSettingInWrite(record); !unread.empty()) {
        return UnreadSettingCarried{std::string(unread)};
    }
    for (const std::string& field : changed) {
        if (const auto missing = MissingSetting(field, record)) {
            return MissingSettingRefusal{field, *missing};
        }
    }
    JudgeScope judged = scope;
    judged.changed = &changed;
    if (auto refusal = JudgeWrite(record, lines, judged)) {
        return std::move(*refusal);
    }
    for (const std::string& field : changed) {
        if (PlanCarriesField(lines, field)) {
            continue;
        }
        NotSentSetting unsent{field, WhyNotSent(field, record)};
        if (unsentRefuses) {
            return unsent;
        }
        leftOut.push_back(std::move(unsent));
    }
    return std::nullopt;
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
    std::vector<std::string> alsoAsk;
    if (job_.plannedAddress && !options_.force) {
        alsoAsk.push_back(*job_.plannedAddress);
    }
    std::vector<HelloAnswer> answers;
    const std::vector<bool> unanswered = LearnModuleTypes(network_, targets, alsoAsk, &answers);
    for (std::size_t i = 0; i < results_.size(); ++i) {
        results_[i].target = targets[i];
        results_[i].helloUnanswered = unanswered[i];
    }
    if (!answers.empty() && answers[0]) {
        takenBy_ = std::string(TextOf(answers[0]->name));
    }
}

// ---- per target
// ----------------------------------------------------------------------------------

bool CFleetWrite::Refuse(WriteResult& result, ApplicationState& state, WriteRefusal refusal) {
    result.outcome = Outcome::kRefused;
    result.refusal = std::move(refusal);
    CloseLink(state);
    return false;
}

// The checks of the record about to be written and whether its address is taken; false when one
// refused it.
bool CFleetWrite::Check(std::size_t index, ApplicationState& state, const BuiltRecord& built) {
    WriteResult& result = results_[index];
    const ProjectorRecord& record = *state.SelectedRecord();
    JudgeScope scope;
    scope.reported = job_.judgeAgainstRead ? &result.reported : nullptr;
    scope.uniqueAmong = options_.force ? nullptr : &planned_;
    scope.skipIndex = static_cast<std::ptrdiff_t>(index);
    if (auto refusal = CheckBeforeWrite(record, result.lines, built.changed, scope,
                                        job_.unsentRefuses, result.leftOut)) {
        return Refuse(result, state, std::move(*refusal));
    }
    const std::string address = FormatDotted(record.ipAddress);
    if (takenBy_ && SendsAddress(result.lines) && record.dhcp == 0 &&
        address == job_.plannedAddress && address != result.target.address) {
        return Refuse(result, state, AddressTaken{address, *takenBy_});
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
    const bool mailChanges = MailChanges(result.reported, record);
    result.lines = PlanWrite(record, options_.testMail && mailChanges);
    if (!Check(index, *state, built)) {
        return;
    }
    if (options_.dryRun) {
        result.outcome = result.lines.empty() ? Outcome::kUnchanged : Outcome::kWouldSend;
        CloseLink(*state);
        return;
    }
    const CHistory history(options_.historyFolder);
    const auto now = std::chrono::system_clock::now();
    if (!history.Folder().empty() &&
        history.Keep(result.reported, now) != OutputStatus::kOk) {
        Refuse(result, *state, HistoryNotKept{history.Folder()});
        return;
    }
    driver.OfferTestMail(mailChanges);
    result.result = driver.Run(WorkerMode::kWrite, *state);
    driver.OfferTestMail(true);
    result.writeErrors = state->writeErrors;
    result.progress = state->writeProgress;
    result.wrote = true;
    result.record = record;
    CloseLink(*state);
    AfterWrite(index);
    if (!history.Folder().empty()) {
        // The log is told of every write; one it cannot take does not undo what was sent.
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
    if (!SendsAddress(result.lines)) {
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
    planned_.Clear();
    for (const WriteResult& result : results_) {
        ProjectorRecord entry{};
        const bool gets = job_.plannedAddress && job_.plannedForEveryTarget;
        ScanDottedInto(gets ? *job_.plannedAddress : result.target.address, entry.ipAddress);
        planned_.Append(entry);
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
