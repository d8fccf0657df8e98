#include <ostream>

#include "resources/StringIds.h"
#include "tools/lanternactl/CommandHelp.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/FleetCommand.h"
#include "tools/lanternactl/FleetReport.h"
#include "tools/lanternactl/ParallelRun.h"
#include "tools/lanternactl/TargetRoad.h"
#include "tools/lanternactl/TextSafety.h"
#include "tools/lanternactl/WorkerRunner.h"

namespace lanterna::cli {

namespace {

constexpr std::string_view kPasswdCommandName = "passwd";

// The new password: --new-password-file, else LANTERNA_NEW_PASSWORD, else asked twice on the
// terminal (both answers equal). None after a message.
std::optional<std::string> NewPassword(CliContext& context, const CParsedArgs& parsed) {
    std::optional<std::string> secret;
    if (const auto path = parsed.Value("--new-password-file")) {
        secret = ReadFirstLine(context, kPasswdCommandName, *path);
        if (!secret) {
            return std::nullopt;
        }
    } else {
        secret = context.environment("LANTERNA_NEW_PASSWORD");
    }
    if (!secret) {
        const auto ask = [&context](std::string_view prompt) {
            return context.askHidden ? context.askHidden(prompt) : std::optional<std::string>();
        };
        const auto answer = ask("New password: ");
        if (!answer) {
            PrintCommandError(context, kPasswdCommandName,
                              "the new password: use --new-password-file, set "
                              "LANTERNA_NEW_PASSWORD or run on a terminal");
            return std::nullopt;
        }
        const auto again = ask("Repeat: ");
        if (!again || *again != *answer) {
            PrintCommandError(context, kPasswdCommandName, MessageText(kStringPasswordsDiffer));
            return std::nullopt;
        }
        secret = answer;
    }
    if (const std::string problem = PasswordLengthProblem(*secret, "the new password");
        !problem.empty()) {
        PrintCommandError(context, kPasswdCommandName, problem);
        return std::nullopt;
    }
    return secret;
}

void ChangeOne(const CliNetwork& network, IWorkerDriver& driver, CPasswords& passwords,
               const Target& target, const std::string& fresh, TargetReport& report) {
    const std::optional<std::string> routed = network.RouteOf(target.address);
    std::string problem;
    const auto current = passwords.PasswordFor(target.address, problem);
    if (!current) {
        report.outcome = Outcome::kNeedsPassword;
        report.message = problem;
        return;
    }
    if (!routed) {
        report.outcome = Outcome::kNotAnswering;
        report.message = MessageText(kStringConnectFailed);
        return;
    }
    const auto state = StateFor(network);
    ProjectorRecord record{};
    record.origin = kOriginAddress;
    CopyText(record.address, *routed);
    ScanDottedInto(target.address, record.ipAddress);
    CopyText(record.projectorName, target.name);
    record.imType = target.imType.value_or(0);
    state->projectors.Append(record);
    state->selectedIndex = 0;
    CopyText(state->currentPassword, *current);
    CopyText(state->newPassword, fresh);
    if (driver.Run(WorkerMode::kPassword, *state) != 1) {
        report.outcome = Outcome::kFailed;
        report.message = MessageText(kStringPasswordChangeFailed);
        return;
    }
    report.outcome = Outcome::kPasswordChanged;
    report.message = fresh.empty() ? "password removed" : "password changed";
}

int RunPasswd(CliContext& context, CliArgs args) {
    CParsedArgs parsed;
    long jobs = 0;
    long type = -1;
    if (!ParseCommand(context, kPasswdCommandName, args, parsed) ||
        !TakeJobsAndType(context, kPasswdCommandName, parsed, jobs, type)) {
        return kExitUsage;
    }
    const TargetRequest request = RequestOf(parsed, parsed.positional);
    if (request.words.empty() && !request.all && !request.file) {
        PrintUsageError(context.err, kPasswdCommandName);
        return kExitUsage;
    }
    std::vector<Target> targets;
    if (const int status = ExpandTargets(context, kPasswdCommandName, request, targets);
        status != kExitOk) {
        return status;
    }
    CPasswords passwords(context, kPasswdCommandName, "LANTERNA_PASSWORD", "Current password: ");
    if (!LoadPasswordOptions(context, kPasswdCommandName, parsed, passwords)) {
        return kExitFailed;
    }
    // The current password is settled before the new one is asked for, as the prompts go.
    std::string problem;
    if (!passwords.PasswordFor(targets.front().address, problem) && IsSingleTarget(request)) {
        PrintCommandError(context, kPasswdCommandName, problem);
        return kExitFailed;
    }
    const auto fresh = NewPassword(context, parsed);
    if (!fresh) {
        return kExitFailed;
    }
    ForceType(targets, type);
    std::vector<TargetReport> reports(targets.size());
    const bool single = IsSingleTarget(request) && !parsed.Has("--json");
    // The hello tells each target's name and module type, as for the other commands.
    std::vector<std::string> notes;
    LearnModuleTypes(context.network, targets, notes);
    for (std::size_t i = 0; i < targets.size(); ++i) {
        reports[i].address = targets[i].address;
        reports[i].name = targets[i].name;
        if (notes[i].empty()) {
            continue;
        }
        if (single) {
            PrintCommandError(context, kPasswdCommandName, targets[i].address + ": " + notes[i]);
        } else {
            reports[i].notes.push_back(notes[i]);
        }
    }
    if (single) {
        CWorkerRunner runner(context);
        ChangeOne(context.network, runner, passwords, targets[0], *fresh, reports[0]);
        if (reports[0].outcome != Outcome::kPasswordChanged) {
            PrintCommandError(context, kPasswdCommandName, TerminalText(reports[0].message));
            return kExitFailed;
        }
        context.out << OutcomeWord(Outcome::kPasswordChanged) << "\n";
        return kExitOk;
    }
    RunBounded(
        targets.size(), static_cast<int>(jobs),
        [&](std::size_t i) {
            CQuietDriver driver(false);
            ChangeOne(context.network, driver, passwords, targets[i], *fresh, reports[i]);
        },
        ProgressOnTerminal(context, targets.size()));
    return PrintReports(context, reports, parsed.Has("--json"));
}

}  // namespace

const CliCommand kPasswdCommand{"passwd", &RunPasswd};

}  // namespace lanterna::cli
