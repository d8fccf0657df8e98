#include "tools/lanternactl/WriteCommand.h"

#include <array>
#include <optional>
#include <ostream>
#include <sstream>

#include "fleet/History.h"
#include "fleet/RecordFacts.h"
#include "fleet/WritePreview.h"
#include "resources/StringIds.h"
#include "tools/lanternactl/FileCommandSupport.h"
#include "tools/lanternactl/FleetReport.h"
#include "tools/lanternactl/FleetWords.h"
#include "tools/lanternactl/ProjectorSession.h"
#include "tools/lanternactl/TextSafety.h"
#include "tools/lanternactl/WorkerRunner.h"
#include "workers/Workers.h"

namespace lanterna::cli {

namespace {

using fleet::WriteResult;

struct WriteCommandOptions {
    fleet::WriteOptions engine;
    bool protocol = false;  // a dry run prints the command lines too
    std::optional<bool> testMail;
    bool single = false;
    bool json = false;
    long jobs = fleet::kDefaultJobs;
    std::string helloNote;  // the note of a target that did not answer the hello
    long maxFailures = 0;   // --max-failures; 0: none
};

// Why a target was never started.
std::string NotStartedText(long maxFailures) {
    return CountWords(static_cast<std::size_t>(maxFailures), kStringNotStartedOneFailed,
                      kStringNotStartedFailed);
}

// A sentence of the gate; a hardware address it has none of is worded as such.
std::string SentenceText(const fleet::RuleSentence& sentence) {
    std::array<std::string, 5> v = sentence.values;
    if (sentence.id == kStringKeptForOtherMac && v[1].empty()) {
        v[1] = Words(kStringNoHardwareAddress);
    }
    return Words(sentence.id, {v[0], v[1], v[2], v[3], v[4]});
}

}  // namespace

std::string WriteRefusalText(const fleet::WriteRefusal& refusal, const ProjectorRecord& reported) {
    struct Worder {
        const ProjectorRecord& reported;
        std::string operator()(const fleet::BuildRefusal& r) const {
            if (r.messageId != 0) {
                return r.field + ": " + MessageText(r.messageId);
            }
            if (r.rule.id != 0) {
                return Words(kStringFieldValueRefused,
                             {r.field, TerminalText(r.value),
                              Words(r.rule.id, {r.rule.values[0], r.rule.values[1]})});
            }
            return Words(kStringBadValueFor, {r.field, TerminalText(r.value)});
        }
        std::string operator()(const fleet::MissingSettingRefusal& r) const {
            return MissingSettingText(r.field, r.reason, reported);
        }
        std::string operator()(const fleet::Refusal& r) const { return RefusalText(r); }
        std::string operator()(const fleet::NotSentSetting& r) const {
            return NotSentText(r.field, r.reason);
        }
        std::string operator()(const fleet::UnreadSettingCarried& r) const {
            return UnreadCarriedText(r.setting);
        }
        std::string operator()(const fleet::HistoryNotKept& r) const {
            return Words(kStringHistoryNotKept, {TerminalText(r.folder)});
        }
        std::string operator()(const fleet::AddressTaken& r) const {
            const std::string who =
                r.takenBy.empty() ? Words(kStringSomeProjector) : TerminalText(r.takenBy);
            return Words(kStringAddressTaken, {r.address, who}) + " (" + Words(kStringForceHint) +
                   ")";
        }
        std::string operator()(const fleet::IdentityShared& r) const {
            return SentenceText(fleet::SentenceOf(r));
        }
        std::string operator()(const fleet::IdentityMismatch& r) const {
            return SentenceText(fleet::SentenceOf(r));
        }
    };
    return std::visit(Worder{reported}, refusal);
}

namespace {

// The message of a target written, after its read-back.
std::string WrittenMessage(const WriteResult& result, std::uint32_t settleSeconds,
                           const CPasswords& passwords, TargetReport& report) {
    const std::vector<std::string>& lines = result.lines;
    std::string message;
    if (result.result == 1) {
        message = lines.empty() ? Words(kStringNothingDiffers)
                                : Words(kStringCommandLinesSent, {std::to_string(lines.size())});
    } else if (result.result == -1) {
        message = Words(kStringProjectorRefused, {RefusedCommands(result.writeErrors)});
    } else if (result.result == kWriteLinkLost) {
        return PartlyWrittenText(result.progress);
    } else {
        message = MessageText(kStringWriteFailed);
    }
    const std::string at = result.readBackAt.value_or("");
    if (!result.settled) {
        return Words(settleSeconds == 1 ? kStringNotAtAddressSecond : kStringNotAtAddressSeconds,
                     {at, std::to_string(settleSeconds)});
    }
    if (result.readBackFailure.stop == fleet::RoadStop::kNoRoute) {
        return Words(kStringNotReadBackAt, {at});
    }
    if (result.readBackFailure) {
        return Words(kStringReadBackAt,
                     {at, RoadFailureText(result.readBackFailure, at, passwords)});
    }
    if (!result.readBack) {
        return message;
    }
    std::vector<std::string> notTaken;
    for (const fleet::NotTaken& difference : result.notTaken) {
        notTaken.push_back(NotTakenText(difference));
    }
    report.facts["notTaken"] = notTaken;
    const bool elsewhere = at != result.target.address;
    if (notTaken.empty()) {
        return message + "; " +
               (elsewhere ? Words(kStringVerifiedAt, {at}) : Words(kStringVerified));
    }
    const std::string joined = JoinedTexts(notTaken, "; ");
    return elsewhere ? Words(kStringDidNotTakeAt, {at, joined})
                     : Words(kStringDidNotTake, {joined});
}

const std::vector<std::string> kNoLines;

// A dry run's target in settings: each setting that changes ("dns1  0.0.0.0 -> 10.1.1.5"),
// what is left alone and why, the module's restart; then `lines`, the protocol's.
std::vector<std::string> PreviewLines(const fleet::TargetPreview& preview,
                                      const std::vector<std::string>& lines) {
    std::vector<std::vector<std::string>> changes;
    for (const fleet::SettingChange& change : preview.changes) {
        const std::string none = Words(kStringNoValue);
        changes.push_back({change.field + ":", change.now.empty() ? none : change.now, "->",
                           change.after.empty() ? none : change.after});
    }
    std::ostringstream table;
    PrintTable(table, changes);
    std::vector<std::string> shown;
    std::istringstream rows(table.str());
    for (std::string row; std::getline(rows, row);) {
        shown.push_back(row);
    }
    for (const fleet::NotSentSetting& unsent : preview.notSent) {
        shown.push_back(NotSentText(unsent.field, unsent.reason));
    }
    for (std::string& text : LeftAloneTexts(preview.leftAlone)) {
        shown.push_back(std::move(text));
    }
    if (preview.moduleRestarts) {
        shown.push_back(Words(kStringModuleRestarts));
    }
    shown.insert(shown.end(), lines.begin(), lines.end());
    return shown;
}

nlohmann::ordered_json ChangesJson(const std::vector<fleet::SettingChange>& changes) {
    auto array = nlohmann::ordered_json::array();
    for (const fleet::SettingChange& change : changes) {
        array.push_back({{"field", change.field}, {"now", change.now}, {"after", change.after}});
    }
    return array;
}

// "3 settings change"; "nothing differs" when nothing would be sent.
std::string PreviewMessage(const fleet::TargetPreview& preview,
                           const std::vector<std::string>& lines) {
    const std::size_t count = preview.changes.size();
    if (count > 0) {
        return Words(count == 1 ? kStringOneSettingChanges : kStringSettingsChange,
                     {std::to_string(count)});
    }
    return lines.empty() ? Words(kStringNothingDiffers)
                         : Words(kStringCommandLines, {std::to_string(lines.size())});
}

// What came of one target, worded: its outcome and message, the notes beside it, the dry run's
// lines, and the facts of --json.
TargetReport ReportOf(const WriteResult& result, const WriteCommand& write,
                      const WriteCommandOptions& options, const CPasswords& passwords) {
    TargetReport report;
    report.address = result.target.address;
    report.outcome = result.outcome;
    const bool opened = result.outcome != Outcome::kNotStarted && !result.failure;
    report.name = opened ? result.name : result.target.name;
    if (result.helloUnanswered && !options.single) {
        report.notes.push_back(options.helloNote);
    }
    if (!options.engine.dryRun) {
        for (const fleet::NotSentSetting& unsent : result.leftOut) {
            report.notes.push_back(NotSentText(unsent.field, unsent.reason));
        }
    }
    if (result.dhcpNow) {
        report.notes.push_back(Words(kStringTakesDhcpNow));
    }
    for (const fleet::ShownMessage& shown : result.shown) {
        report.notes.push_back(ShownText(shown));
    }
    if (result.outcome == Outcome::kNotStarted) {
        report.message = NotStartedText(options.maxFailures);
    } else if (result.failure) {
        report.message = RoadFailureText(result.failure, report.address, passwords);
        if (result.failure.stop == fleet::RoadStop::kOtherProjector && write.fileOfOneProjector) {
            report.message = Words(kStringFileOfOtherProjector,
                                   {fleet::MacText(write.job.expectedMac), report.message});
        }
    } else if (result.refusal) {
        report.message = WriteRefusalText(*result.refusal, result.reported);
    } else if (!result.wrote) {
        const fleet::TargetPreview preview = fleet::PreviewOf(result);
        report.detail = PreviewLines(preview, options.protocol ? result.lines : kNoLines);
        report.facts["wouldSend"] = result.lines;
        report.facts["changes"] = ChangesJson(preview.changes);
        report.message = PreviewMessage(preview, result.lines);
    } else {
        report.facts["sent"] = result.lines;
        report.facts["result"] = result.result;
        report.facts["writeErrors"] = result.writeErrors;
        report.message = WrittenMessage(result, options.engine.settleSeconds, passwords, report);
    }
    return report;
}

// The one-projector form: a dry run's lines, or the write's result as the window's message and
// "verified" after a good read-back.
int PrintSingle(CliContext& context, const WriteCommand& write, const WriteCommandOptions& options,
                const WriteResult& result, const TargetReport& report) {
    if (options.engine.dryRun && IsSuccess(report.outcome)) {
        for (const std::string& note : report.notes) {
            PrintCommandError(context, write.command, TerminalText(note));
        }
        context.out << TerminalText(report.message) << "\n";
        for (const std::string& line : report.detail) {
            context.out << "    " << TerminalText(line) << "\n";
        }
        return kExitOk;
    }
    for (const std::string& note : report.notes) {
        PrintCommandError(context, write.command, TerminalText(note));
    }
    if (!result.wrote || result.refusal) {
        PrintCommandError(context, write.command, TerminalText(report.message));
        return kExitFailed;
    }
    if (result.result == kWriteLinkLost) {
        // The groups cut off by the lost link are no refusal; the message says what became of
        // each command.
        PrintWriteResult(context, write.command, result.result, 0,
                         std::string(OutcomeWord(report.outcome)) + ": " + report.message);
        return kExitFailed;
    }
    const int status = PrintWriteResult(context, write.command, result.result, result.writeErrors);
    if (!options.engine.verify || status != kExitOk) {
        return status;
    }
    if (!IsSuccess(report.outcome)) {
        PrintCommandError(context, write.command, TerminalText(report.message));
        return kExitFailed;
    }
    if (result.Verified()) {
        const bool elsewhere = *result.readBackAt != result.target.address;
        context.out << (elsewhere ? Words(kStringVerifiedAt, {*result.readBackAt})
                                  : Words(kStringVerified))
                    << "\n";
    }
    return kExitOk;
}

// A warning for each write whose change-log line could not be kept; exit status 3 then, unless
// a failure or a bad command line already says more.
int WarnLogsNotKept(CliContext& context, std::string_view command,
                    const std::vector<WriteResult>& results, const std::string& folder,
                    int status) {
    bool lost = false;
    for (const WriteResult& result : results) {
        if (result.logStatus != OutputStatus::kOk) {
            PrintCommandError(context, command,
                              Words(kStringChangeLogNotKept,
                                    {result.target.address, TerminalText(folder)}) +
                                  " (" + OutputProblem(result.logStatus) + ")");
            lost = true;
        }
    }
    return lost && status == kExitOk ? kExitLogNotKept : status;
}

// The options of a write; false after a message.
bool TakeWriteOptions(CliContext& context, std::string_view command, const CParsedArgs& parsed,
                      bool singleTarget, WriteCommandOptions& options, long& type) {
    options.engine.dryRun = parsed.Has("--dry-run");
    options.protocol = parsed.Has("--protocol");
    options.engine.force = parsed.Has("--force");
    options.json = parsed.Has("--json");
    options.single = singleTarget && !options.json;
    options.engine.verify =
        parsed.Has("--verify") || (!options.single && !parsed.Has("--no-verify"));
    long settle = fleet::kDefaultSettleSeconds;
    if (!NumberOption(context, command, parsed, "--settle", 0, fleet::kMaxSettleSeconds, settle) ||
        !NumberOption(context, command, parsed, "--jobs", 1, fleet::kMaxJobs, options.jobs) ||
        !NumberOption(context, command, parsed, "--type", 0, 255, type) ||
        !NumberOption(context, command, parsed, "--max-failures", 1,
                      static_cast<long>(fleet::kMaxTargets), options.maxFailures) ||
        !ParseTestMail(context, command, parsed.Value("--test-mail"), options.testMail)) {
        return false;
    }
    options.engine.settleSeconds = static_cast<std::uint32_t>(settle);
    options.engine.testMail = options.testMail.value_or(false);
    options.helloNote = HelloNote(context.network);
    options.engine.historyFolder = fleet::HistoryFolder(context.environment);
    return true;
}

}  // namespace

int RunWriteCommand(CliContext& context, const WriteCommand& write, const CParsedArgs& parsed,
                    std::vector<Target> targets, bool singleTarget, CPasswords& passwords) {
    WriteCommandOptions options;
    long type = -1;
    if (!TakeWriteOptions(context, write.command, parsed, singleTarget, options, type)) {
        return kExitUsage;
    }
    if (type >= 0) {
        for (Target& target : targets) {
            target.imType = static_cast<std::uint8_t>(type);
        }
    }
    fleet::CFleetWrite run(context.network, write.job, options.engine, passwords,
                           std::move(targets));
    run.LearnTypes();
    fleet::RunControl writing;
    fleet::RunControl reading;
    std::optional<CWorkerRunner> writer;
    std::optional<CWorkerRunner> reader;
    if (options.single) {
        for (const WriteResult& result : run.Results()) {
            if (result.helloUnanswered) {
                PrintCommandError(context, write.command,
                                  result.target.address + ": " + options.helloNote);
            }
        }
        writing.foreground = &writer.emplace(context, TestMailAnswer(context, options.testMail));
        reading.foreground = &reader.emplace(context);
    } else {
        writing.bounds.jobs = reading.bounds.jobs = static_cast<int>(options.jobs);
        writing.bounds.maxFailures = static_cast<std::size_t>(options.maxFailures);
        writing.finished = ProgressOnTerminal(context, run.Results().size());
    }
    run.Write(writing);
    run.Verify(reading);
    std::vector<TargetReport> reports;
    for (const WriteResult& result : run.Results()) {
        reports.push_back(ReportOf(result, write, options, passwords));
    }
    const int status = options.single
                           ? PrintSingle(context, write, options, run.Results()[0], reports[0])
                           : PrintReports(context, reports, options.json);
    return WarnLogsNotKept(context, write.command, run.Results(), options.engine.historyFolder,
                           status);
}

}  // namespace lanterna::cli
