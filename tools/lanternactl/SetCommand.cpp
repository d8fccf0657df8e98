#include <ostream>

#include "resources/StringIds.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/ProjectorSession.h"
#include "tools/lanternactl/SetFields.h"
#include "tools/lanternactl/TextSafety.h"
#include "tools/lanternactl/WorkerRunner.h"

namespace lanterna::cli {

namespace {

constexpr std::string_view kName = "set";

int RunSet(CliContext& context, CliArgs args) {
    SessionOptions options;
    std::vector<std::string> rest;
    std::optional<bool> testMail;
    if (!TakeSessionOptions(context, kName, args, options, rest) ||
        !TakeTestMailOption(context, kName, rest, testMail)) {
        return kExitUsage;
    }
    if (rest.size() < 2) {
        context.err << "lanternactl set: usage: lanternactl " << kSetCommand.usage
                    << "\nfields: " << SettableFieldNames() << "\n";
        return kExitUsage;
    }
    if (!CheckCommandWords(context, kName, {rest.begin() + 1, rest.end()})) {
        return kExitUsage;
    }
    std::vector<FieldAssignment> assignments;
    std::string error;
    if (!ParseAssignments({rest.begin() + 1, rest.end()}, assignments, error)) {
        context.err << "lanternactl set: " << error << "\n";
        return kExitUsage;
    }
    ApplicationState state;
    if (!SelectAddress(context, kName, state, rest[0])) {
        return kExitUsage;
    }
    CWorkerRunner runner(context, TestMailAnswer(context, testMail));
    if (const int opened = OpenProjector(context, kName, state, runner, options, 1);
        opened != kExitOk) {
        return opened;
    }
    ProjectorRecord& record = *state.SelectedRecord();
    const ApplyOutcome outcome = ApplyAssignments(assignments, record);
    if (!outcome.ok) {
        context.err << "lanternactl set: "
                    << (outcome.messageId != 0
                            ? outcome.error + ": " + MessageText(outcome.messageId)
                            : outcome.error)
                    << "\n";
        CloseLink(state);
        return kExitFailed;
    }
    return WriteAndClose(context, kName, runner, state, 0);
}

}  // namespace

const CliCommand kSetCommand{
    "set", "set ADDRESS FIELD=VALUE... [--test-mail yes|no] [--password-file FILE]",
    "Change settings of a projector (fields as in read --json); only changed values are sent. "
    "The test-mail question is answered by --test-mail, else asked on a terminal, else no.",
    &RunSet};

}  // namespace lanterna::cli
