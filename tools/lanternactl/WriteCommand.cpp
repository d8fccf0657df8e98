#include "tools/lanternactl/WriteCommand.h"

#include <optional>
#include <ostream>

#include "fleet/History.h"
#include "fleet/RecordFacts.h"
#include "resources/StringIds.h"
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
    std::optional<bool> testMail;
    bool single = false;
    bool json = false;
    long jobs = fleet::kDefaultJobs;
    std::string helloNote;  // the note of a target that did not answer the hello
    long maxFailures = 0;   // --max-failures; 0: none
};

// Why a target was never started.
std::string NotStartedText(long maxFailures) {
    return "not started: " + std::to_string(maxFailures) +
           (maxFailures == 1 ? " projector" : " projectors") + " had failed (--max-failures)";
}

// Why the checks refused a target's write.
std::string WriteRefusalText(const fleet::WriteRefusal& refusal, const WriteResult& result) {
    struct Worder {
        const WriteResult& result;
        std::string operator()(const fleet::BuildRefusal& r) const {
            if (r.messageId != 0) {
                return r.field + ": " + MessageText(r.messageId);
            }
            return "bad value for " + r.field + ": '" + r.value + "'";
        }
        std::string operator()(const fleet::MissingSettingRefusal& r) const {
            return MissingSettingText(r.field, r.reason, result.reported);
        }
        std::string operator()(const fleet::Refusal& r) const { return RefusalText(r); }
        std::string operator()(const fleet::NotSentSetting& r) const {
            return NotSentText(r.field, r.reason);
        }
        std::string operator()(const fleet::UnreadSettingCarried& r) const {
            return UnreadCarriedText(r.setting);
        }
        std::string operator()(const fleet::HistoryNotKept& r) const {
            return EnglishText(kStringHistoryNotKept, {TerminalText(r.folder)});
        }
        std::string operator()(const fleet::AddressTaken& r) const {
            const std::string who =
                r.takenBy.empty() ? EnglishText(kStringSomeProjector) : r.takenBy;
            return EnglishText(kStringAddressTaken, {r.address, who}) + " (" +
                   std::string(kForceHint) + ")";
        }
    };
    return std::visit(Worder{result}, refusal);
}

// The message of a target written, after its read-back.
std::string WrittenMessage(const WriteResult& result, std::uint32_t settleSeconds,
                           const CPasswords& passwords, TargetReport& report) {
    const std::vector<std::string>& lines = result.lines;
    std::string message;
    if (result.result == 1) {
        message = lines.empty()
                      ? EnglishText(kStringNothingDiffers)
                      : EnglishText(kStringCommandLinesSent, {std::to_string(lines.size())});
    } else if (result.result == -1) {
        message = EnglishText(kStringProjectorRefused, {RefusedCommands(result.writeErrors)});
    } else if (result.result == kWriteLinkLost) {
        return PartlyWrittenText(result.progress);
    } else {
        message = MessageText(kStringWriteFailed);
    }
    const std::string at = result.readBackAt.value_or("");
    if (!result.settled) {
        return EnglishText(
            settleSeconds == 1 ? kStringNotAtAddressSecond : kStringNotAtAddressSeconds,
            {at, std::to_string(settleSeconds)});
    }
    if (result.readBackFailure.stop == fleet::RoadStop::kNoRoute) {
        return EnglishText(kStringNotReadBackAt, {at});
    }
    if (result.readBackFailure) {
        return EnglishText(kStringReadBackAt,
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
               (elsewhere ? EnglishText(kStringVerifiedAt, {at}) : EnglishText(kStringVerified));
    }
    const std::string joined = JoinedTexts(notTaken, "; ");
    return elsewhere ? EnglishText(kStringDidNotTakeAt, {at, joined})
                     : EnglishText(kStringDidNotTake, {joined});
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
    for (const fleet::NotSentSetting& unsent : result.leftOut) {
        report.notes.push_back(NotSentText(unsent.field, unsent.reason));
    }
    if (options.engine.dryRun) {
        for (std::string& note : LeftAloneTexts(result.leftAlone)) {
            report.notes.push_back(std::move(note));
        }
    }
    if (result.dhcpNow) {
        report.notes.push_back(EnglishText(kStringTakesDhcpNow));
    }
    for (const fleet::ShownMessage& shown : result.shown) {
        report.notes.push_back(ShownText(shown));
    }
    if (result.outcome == Outcome::kNotStarted) {
        report.message = NotStartedText(options.maxFailures);
    } else if (result.failure) {
        report.message = RoadFailureText(result.failure, report.address, passwords);
        if (result.failure.stop == fleet::RoadStop::kOtherProjector && write.fileOfOneProjector) {
            report.message = EnglishText(kStringFileOfOtherProjector,
                                         {fleet::MacText(write.job.expectedMac), report.message});
        }
    } else if (result.refusal) {
        report.message = WriteRefusalText(*result.refusal, result);
    } else if (!result.wrote) {
        report.detail = result.lines;
        report.facts["wouldSend"] = result.lines;
        report.message = result.lines.empty() ? EnglishText(kStringNothingDiffers)
                                              : EnglishText(kStringCommandLines,
                                                            {std::to_string(result.lines.size())});
    } else {
        report.facts["sent"] = result.lines;
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
        for (const std::string& line : report.detail) {
            context.out << TerminalText(line) << "\n";
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
        PrintWriteResult(context, write.command, result.result, result.writeErrors,
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
        context.out << (elsewhere ? EnglishText(kStringVerifiedAt, {*result.readBackAt})
                                  : EnglishText(kStringVerified))
                    << "\n";
    }
    return kExitOk;
}

// The options of a write; false after a message.
bool TakeWriteOptions(CliContext& context, std::string_view command, const CParsedArgs& parsed,
                      bool singleTarget, WriteCommandOptions& options, long& type) {
    options.engine.dryRun = parsed.Has("--dry-run");
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
    if (options.single) {
        return PrintSingle(context, write, options, run.Results()[0], reports[0]);
    }
    return PrintReports(context, reports, options.json);
}

}  // namespace lanterna::cli
