#include <ostream>

#include "tools/lanternactl/CommandHelp.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/FleetCommand.h"
#include "tools/lanternactl/SetFields.h"
#include "tools/lanternactl/TextSafety.h"
#include "tools/lanternactl/WorkerRunner.h"
#include "tools/lanternactl/WriteFlow.h"

namespace lanterna::cli {

namespace {

constexpr std::string_view kSetCommandName = "set";

int UsageError(CliContext& context) {
    PrintUsageError(context.err, kSetCommandName);
    context.err << "fields: " << SettableFieldNames() << "\n";
    return kExitUsage;
}

// The text of an assignment that could not be taken into a record.
std::string ProblemOf(const ApplyOutcome& outcome) {
    return outcome.messageId != 0 ? outcome.error + ": " + MessageText(outcome.messageId)
                                  : outcome.error;
}

int RunSet(CliContext& context, CliArgs args) {
    CParsedArgs parsed;
    if (!ParseCommand(context, kSetCommandName, args, parsed)) {
        return kExitUsage;
    }
    // Addresses and ranges first, then FIELD=VALUE words.
    std::vector<std::string> targetWords;
    std::vector<std::string> words;
    for (const std::string& word : parsed.positional) {
        if (words.empty() && word.find('=') == std::string::npos && IsTargetWord(word)) {
            targetWords.push_back(word);
        } else {
            words.push_back(word);
        }
    }
    const TargetRequest request = RequestOf(parsed, std::move(targetWords));
    if (words.empty() || (request.words.empty() && !request.all && !request.file)) {
        return UsageError(context);
    }
    if (!CheckCommandWords(context, kSetCommandName, words)) {
        return kExitUsage;
    }
    std::vector<FieldAssignment> assignments;
    std::string error;
    if (!ParseAssignments(words, assignments, error)) {
        context.err << "lanternactl set: " << TerminalText(error) << "\n";
        return kExitUsage;
    }
    std::vector<Target> targets;
    if (const int status = ExpandTargets(context, kSetCommandName, request, targets);
        status != kExitOk) {
        return status;
    }
    CPasswords passwords(context, kSetCommandName);
    if (!LoadPasswordOptions(context, kSetCommandName, parsed, passwords)) {
        return kExitFailed;
    }
    WriteJob job;
    job.command = kSetCommandName;
    job.build = [&assignments](ProjectorRecord& record) {
        const ApplyOutcome outcome = ApplyAssignments(assignments, record);
        return BuiltRecord{outcome.ok, outcome.ok ? std::string() : ProblemOf(outcome),
                           outcome.changed};
    };
    for (const FieldAssignment& assignment : assignments) {
        if (assignment.field == "ipAddress") {
            job.plannedAddress = CanonicalAddress(assignment.value);
        }
    }
    return RunWriteCommand(context, job, parsed, std::move(targets), IsSingleTarget(request),
                           passwords);
}

}  // namespace

const CliCommand kSetCommand{"set", &RunSet};

}  // namespace lanterna::cli
