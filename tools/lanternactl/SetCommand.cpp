#include <ostream>

#include "fleet/RecordFields.h"
#include "tools/lanternactl/CommandHelp.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/FleetCommand.h"
#include "tools/lanternactl/TextSafety.h"
#include "tools/lanternactl/WriteCommand.h"

namespace lanterna::cli {

namespace {

constexpr std::string_view kSetCommandName = "set";

using fleet::FieldAssignment;

// The names of the fields set knows, joined by ", ".
std::string SettableFieldNames() {
    std::string names;
    for (const fleet::RecordFieldInfo& field : fleet::RecordFieldList()) {
        names += (names.empty() ? "" : ", ") + std::string(field.name);
    }
    return names;
}

int UsageError(CliContext& context) {
    PrintUsageError(context.err, kSetCommandName);
    context.err << "fields: " << SettableFieldNames() << "\n";
    return kExitUsage;
}

// Splits "FIELD=VALUE" words. False, with the reason in `error`, for a word without '=' or an
// unknown field.
bool ParseAssignments(const std::vector<std::string>& words, std::vector<FieldAssignment>& out,
                      std::string& error) {
    for (const std::string& word : words) {
        const std::size_t equals = word.find('=');
        if (equals == std::string::npos) {
            error = "'" + word + "' is not FIELD=VALUE";
            return false;
        }
        FieldAssignment assignment{word.substr(0, equals), word.substr(equals + 1)};
        if (!fleet::IsRecordField(assignment.field)) {
            error = "unknown field '" + assignment.field + "'";
            if (const auto nearest = fleet::NearestRecordField(assignment.field)) {
                error += "; did you mean '" + std::string(*nearest) + "'?";
            }
            return false;
        }
        out.push_back(std::move(assignment));
    }
    return true;
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
    WriteCommand write;
    write.command = kSetCommandName;
    write.job = fleet::AssignmentsJob(assignments);
    return RunWriteCommand(context, write, parsed, std::move(targets), IsSingleTarget(request),
                           passwords);
}

}  // namespace

const CliCommand kSetCommand{"set", &RunSet};

}  // namespace lanterna::cli
