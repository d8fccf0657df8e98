#include "tools/lanternactl/WriteFlow.h"

#include <memory>
#include <ostream>

#include "fleet/QuietDriver.h"
#include "fleet/RecordFields.h"
#include "fleet/RunControl.h"
#include "fleet/TargetRoad.h"
#include "fleet/WriteJudge.h"
#include "fleet/WritePlan.h"
#include "link/ProjectorLink.h"
#include "resources/StringIds.h"
#include "tools/lanternactl/FleetReport.h"
#include "tools/lanternactl/FleetWords.h"
#include "tools/lanternactl/ProjectorSession.h"
#include "tools/lanternactl/TextSafety.h"
#include "tools/lanternactl/WorkerRunner.h"

namespace lanterna::cli {

namespace {

using fleet::IWorkerDriver;
using fleet::JudgeScope;
using fleet::PlanCarries;
using fleet::PlanCarriesField;
using fleet::PlanWrite;

constexpr long kDefaultSettleSeconds = 20;
constexpr long kMaxSettleSeconds = 600;
constexpr std::uint32_t kSettleResendMs = 1000;

struct WriteOptions {
    bool dryRun = false;
    bool force = false;
    bool verify = false;
    bool json = false;
    long settleSeconds = kDefaultSettleSeconds;
    long jobs = fleet::kDefaultJobs;
    std::optional<bool> testMail;
};

// One target on the road of a write.
struct TargetWrite {
    TargetReport report;
    bool wrote = false;
    int result = 0;
    std::uint32_t writeErrors = 0;
    ProjectorRecord written{};
    std::vector<std::string> sent;
    std::string password;
    std::optional<std::string> readBackAt;  // where the projector is to be read back
    bool settle = false;                    // it must answer a hello there first
    std::string verified;                   // "verified" (and where) after a good read-back
};

bool SendsAddress(const std::vector<std::string>& lines) {
    return PlanCarries(lines, "NWCNF") || PlanCarries(lines, "NWWLCNF") ||
           PlanCarries(lines, "NWWLCNFS");
}

std::string Joined(const std::vector<std::string>& texts, std::string_view separator) {
    std::string joined;
    for (const std::string& text : texts) {
        joined += (joined.empty() ? "" : std::string(separator)) + text;
    }
    return joined;
}

class CWriteFlow {
  public:
    CWriteFlow(CliContext& context, const WriteJob& job, const WriteOptions& options,
               std::vector<Target> targets, bool single, CPasswords& passwords)
        : context_(context),
          job_(job),
          options_(options),
          targets_(std::move(targets)),
          single_(single),
          passwords_(passwords),
          writes_(targets_.size()) {}

    int Run() {
        LearnTypesAndTakenAddress();
        for (std::size_t i = 0; i < targets_.size(); ++i) {
            ProjectorRecord entry{};
            const bool gets = job_.plannedAddress && job_.plannedForEveryTarget;
            ScanDottedInto(gets ? *job_.plannedAddress : targets_[i].address, entry.ipAddress);
            planned_.Append(entry);
        }
        if (single_) {
            CWorkerRunner runner(context_, TestMailAnswer(context_, options_.testMail));
            WriteOne(0, runner);
        } else {
            fleet::RunBounds bounds;
            bounds.jobs = static_cast<int>(options_.jobs);
            fleet::RunJobs(
                targets_.size(), bounds,
                [this](std::size_t i) {
                    fleet::CQuietDriver driver(options_.testMail.value_or(false));
                    WriteOne(i, driver);
                    for (const fleet::ShownMessage& shown : driver.Kept()) {
                        writes_[i].report.notes.push_back(ShownText(shown));
                    }
                    return true;
                },
                ProgressOnTerminal(context_, targets_.size()));
        }
        if (options_.verify && !options_.dryRun) {
            Settle();
            VerifyAll();
        }
        return single_ ? PrintSingle() : PrintFleet();
    }

  private:
    // ---- before: module types, and whether the address to give is taken ----------------------

    void LearnTypesAndTakenAddress() {
        std::vector<std::string> alsoAsk;
        if (job_.plannedAddress && !options_.force) {
            alsoAsk.push_back(*job_.plannedAddress);
        }
        std::vector<HelloAnswer> answers;
        const std::vector<bool> unanswered =
            fleet::LearnModuleTypes(context_.network, targets_, alsoAsk, &answers);
        for (std::size_t i = 0; i < targets_.size(); ++i) {
            writes_[i].report.address = targets_[i].address;
            writes_[i].report.name = targets_[i].name;
            if (!unanswered[i]) {
                continue;
            }
            if (single_) {
                context_.err << "lanternactl " << job_.command << ": " << targets_[i].address
                             << ": " << HelloNote() << "\n";
            } else {
                writes_[i].report.notes.push_back(HelloNote());
            }
        }
        if (!answers.empty() && answers[0]) {
            takenBy_ = std::string(TextOf(answers[0]->name));
        }
    }

    // ---- per target --------------------------------------------------------------------------

    void Refuse(TargetWrite& write, ApplicationState& state, std::string problem) {
        write.report.outcome = Outcome::kRefused;
        write.report.message = std::move(problem);
        CloseLink(state);
    }

    // The checks of the record about to be written; false when one refused it.
    bool Check(std::size_t index, TargetWrite& write, ApplicationState& state,
               const ProjectorRecord& reported, const BuiltRecord& built,
               const std::vector<std::string>& lines) {
        const ProjectorRecord& record = *state.SelectedRecord();
        for (const std::string& field : built.changed) {
            if (const auto missing = fleet::MissingSetting(field, record)) {
                Refuse(write, state, MissingSettingText(field, *missing, record));
                return false;
            }
        }
        JudgeScope scope;
        scope.reported = job_.judgeAgainstRead ? &reported : nullptr;
        scope.uniqueAmong = options_.force ? nullptr : &planned_;
        scope.skipIndex = static_cast<std::ptrdiff_t>(index);
        scope.changed = &built.changed;
        if (const auto refusal = fleet::JudgeWrite(record, lines, scope)) {
            Refuse(write, state, RefusalText(*refusal));
            return false;
        }
        for (const std::string& field : built.changed) {
            if (PlanCarriesField(lines, field)) {
                continue;
            }
            const std::string why = NotSentText(field, fleet::WhyNotSent(field, record));
            if (job_.unsentRefuses) {
                Refuse(write, state, why);
                return false;
            }
            write.report.notes.push_back(why);
        }
        const std::string address = FormatDotted(record.ipAddress);
        if (takenBy_ && SendsAddress(lines) && record.dhcp == 0 && address == job_.plannedAddress &&
            address != targets_[index].address) {
            Refuse(write, state,
                   "ipAddress=" + address + " is taken: " +
                       (takenBy_->empty() ? std::string("a projector") : *takenBy_) +
                       " answers a hello there (--force writes it anyway)");
            return false;
        }
        return true;
    }

    void WriteOne(std::size_t index, IWorkerDriver& driver) {
        TargetWrite& write = writes_[index];
        TargetReport& report = write.report;
        const auto state = fleet::StateFor(context_.network);
        fleet::OpenedTarget opened;
        fleet::RoadFailure failure;
        if (!fleet::OpenTarget(context_.network, driver, passwords_, targets_[index], *state,
                               job_.readAllSettings, job_.expectedMac, opened, failure)) {
            report.outcome = fleet::OutcomeOf(failure);
            report.message = RoadFailureText(failure, report.address, passwords_);
            if (report.outcome == Outcome::kOtherProjector && !job_.otherProjectorMessage.empty()) {
                report.message = job_.otherProjectorMessage + " (" + report.message + ")";
            }
            return;
        }
        report.name = std::string(TextOf(state->SelectedRecord()->projectorName));
        write.password = opened.password;
        ProjectorRecord& record = *state->SelectedRecord();
        const ProjectorRecord reported = record;
        const BuiltRecord built = job_.build(record);
        if (!built.ok) {
            Refuse(write, *state, built.problem);
            return;
        }
        const std::vector<std::string> lines = PlanWrite(record, options_.testMail.value_or(false));
        if (!Check(index, write, *state, reported, built, lines)) {
            return;
        }
        if (options_.dryRun) {
            report.detail = lines;
            report.facts["wouldSend"] = lines;
            report.outcome = lines.empty() ? Outcome::kUnchanged : Outcome::kWouldSend;
            report.message =
                lines.empty() ? "nothing differs" : std::to_string(lines.size()) + " command lines";
            CloseLink(*state);
            return;
        }
        write.result = driver.Run(WorkerMode::kWrite, *state);
        write.writeErrors = state->writeErrors;
        write.wrote = true;
        write.written = record;
        write.sent = lines;
        CloseLink(*state);
        DescribeWrite(index, write, reported);
    }

    void DescribeWrite(std::size_t index, TargetWrite& write, const ProjectorRecord& reported) {
        TargetReport& report = write.report;
        report.facts["sent"] = write.sent;
        report.facts["writeErrors"] = write.writeErrors;
        if (write.result == 1) {
            report.outcome = write.sent.empty() ? Outcome::kUnchanged : Outcome::kSet;
            report.message = write.sent.empty()
                                 ? "nothing differs"
                                 : std::to_string(write.sent.size()) + " command lines sent";
        } else if (write.result == -1) {
            report.outcome = Outcome::kRefusedSome;
            report.message = "the projector refused: " + RefusedCommands(write.writeErrors);
        } else {
            report.outcome = Outcome::kFailed;
            report.message = MessageText(kStringWriteFailed);
        }
        const ProjectorRecord& written = write.written;
        const std::string& own = targets_[index].address;
        if (!SendsAddress(write.sent)) {
            write.readBackAt = own;
        } else if (written.dhcp == 0) {
            write.readBackAt = FormatDotted(written.ipAddress);
        } else if (reported.dhcp != 0 && job_.judgeAgainstRead) {
            write.readBackAt = own;  // it stays with DHCP
        } else {
            report.notes.push_back("takes its address from DHCP now; not read back");
        }
        write.settle =
            write.readBackAt && (*write.readBackAt != own || PlanCarries(write.sent, "NWRESET"));
    }

    // ---- after: settling and the read-back ---------------------------------------------------

    void Settle() {
        std::vector<std::size_t> waiting;
        std::vector<std::string> addresses;
        for (std::size_t i = 0; i < writes_.size(); ++i) {
            if (writes_[i].report.outcome == Outcome::kSet && writes_[i].settle) {
                waiting.push_back(i);
                addresses.push_back(*writes_[i].readBackAt);
            }
        }
        if (addresses.empty() || options_.settleSeconds == 0) {
            return;
        }
        HelloSweepOptions sweep;
        sweep.quietMs = 0;
        sweep.limitMs = static_cast<std::uint32_t>(options_.settleSeconds * 1000);
        sweep.resendMs = kSettleResendMs;
        const std::vector<HelloAnswer> answers =
            fleet::SweepAddresses(context_.network, addresses, sweep);
        for (std::size_t k = 0; k < waiting.size(); ++k) {
            TargetWrite& write = writes_[waiting[k]];
            if (answers[k]) {
                continue;
            }
            write.report.outcome = Outcome::kNotAtAddress;
            write.report.message = "no answer to a hello at " + addresses[k] + " within " +
                                   std::to_string(options_.settleSeconds) +
                                   (options_.settleSeconds == 1 ? " second" : " seconds") +
                                   " of the write";
        }
    }

    void VerifyOne(std::size_t index, IWorkerDriver& driver) {
        TargetWrite& write = writes_[index];
        TargetReport& report = write.report;
        if (report.outcome != Outcome::kSet || !write.readBackAt) {
            return;
        }
        ProjectorRecord readBack{};
        const std::string& at = *write.readBackAt;
        fleet::RoadFailure failure;
        if (!fleet::ReadAgain(context_.network, driver, write.written, at, write.password, readBack,
                              failure)) {
            if (failure.stop == fleet::RoadStop::kNoRoute) {
                report.outcome = Outcome::kNotAtAddress;
                report.message = "could not be read back at " + at;
                return;
            }
            report.outcome = fleet::OutcomeOf(failure);
            report.message = "read back at " + at + ": " +
                             RoadFailureText(failure, targets_[index].address, passwords_);
            return;
        }
        std::vector<std::string> notTaken;
        for (const fleet::NotTaken& difference :
             fleet::SettingsNotTaken(write.sent, write.written, readBack)) {
            notTaken.push_back(NotTakenText(difference));
        }
        report.facts["notTaken"] = notTaken;
        const std::string where = at != targets_[index].address ? " at " + at : "";
        if (notTaken.empty()) {
            write.verified = "verified" + where;
            report.message += "; " + write.verified;
            return;
        }
        report.outcome = Outcome::kNotTaken;
        report.message = "did not take" + where + ": " + Joined(notTaken, "; ");
    }

    void VerifyAll() {
        if (single_) {
            CWorkerRunner runner(context_);
            VerifyOne(0, runner);
            return;
        }
        fleet::RunBounds bounds;
        bounds.jobs = static_cast<int>(options_.jobs);
        fleet::RunJobs(writes_.size(), bounds, [this](std::size_t i) {
            fleet::CQuietDriver driver(false);
            VerifyOne(i, driver);
            return true;
        });
    }

    // ---- printing ----------------------------------------------------------------------------

    int PrintSingle() {
        const TargetWrite& write = writes_[0];
        const TargetReport& report = write.report;
        if (options_.dryRun && IsSuccess(report.outcome)) {
            for (const std::string& line : report.detail) {
                context_.out << TerminalText(line) << "\n";
            }
            return kExitOk;
        }
        for (const std::string& note : report.notes) {
            context_.err << "lanternactl " << job_.command << ": " << TerminalText(note) << "\n";
        }
        if (!write.wrote) {
            context_.err << "lanternactl " << job_.command << ": " << TerminalText(report.message)
                         << "\n";
            return kExitFailed;
        }
        const int status =
            PrintWriteResult(context_, job_.command, write.result, write.writeErrors);
        if (!options_.verify || status != kExitOk) {
            return status;
        }
        if (!IsSuccess(report.outcome)) {
            context_.err << "lanternactl " << job_.command << ": " << TerminalText(report.message)
                         << "\n";
            return kExitFailed;
        }
        if (!write.verified.empty()) {
            context_.out << write.verified << "\n";
        }
        return kExitOk;
    }

    int PrintFleet() {
        std::vector<TargetReport> reports;
        reports.reserve(writes_.size());
        for (TargetWrite& write : writes_) {
            reports.push_back(std::move(write.report));
        }
        return PrintReports(context_, reports, options_.json);
    }

    CliContext& context_;
    const WriteJob& job_;
    const WriteOptions& options_;
    std::vector<Target> targets_;
    const bool single_;
    CPasswords& passwords_;
    std::vector<TargetWrite> writes_;
    ProjectorList planned_;
    std::optional<std::string> takenBy_;  // what answered at the planned address
};

}  // namespace

int RunWriteCommand(CliContext& context, const WriteJob& job, const CParsedArgs& parsed,
                    std::vector<Target> targets, bool singleTarget, CPasswords& passwords) {
    WriteOptions options;
    options.dryRun = parsed.Has("--dry-run");
    options.force = parsed.Has("--force");
    options.json = parsed.Has("--json");
    const bool single = singleTarget && !options.json;
    options.verify = parsed.Has("--verify") || (!single && !parsed.Has("--no-verify"));
    long type = -1;
    if (!NumberOption(context, job.command, parsed, "--settle", 0, kMaxSettleSeconds,
                      options.settleSeconds) ||
        !NumberOption(context, job.command, parsed, "--jobs", 1, fleet::kMaxJobs, options.jobs) ||
        !NumberOption(context, job.command, parsed, "--type", 0, 255, type) ||
        !ParseTestMail(context, job.command, parsed.Value("--test-mail"), options.testMail)) {
        return kExitUsage;
    }
    if (type >= 0) {
        for (Target& target : targets) {
            target.imType = static_cast<std::uint8_t>(type);
        }
    }
    return CWriteFlow(context, job, options, std::move(targets), single, passwords).Run();
}

}  // namespace lanterna::cli
