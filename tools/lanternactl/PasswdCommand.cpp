#include <ostream>

#include "fleet/Credentials.h"
#include "fleet/History.h"
#include "fleet/PasswordChange.h"
#include "resources/ReplyStringIds.h"
#include "resources/StringIds.h"
#include "tools/lanternactl/CommandHelp.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/FleetCommand.h"
#include "tools/lanternactl/FleetReport.h"
#include "tools/lanternactl/FileCommandSupport.h"
#include "tools/lanternactl/FleetWords.h"
#include "tools/lanternactl/TextSafety.h"
#include "tools/lanternactl/WorkerRunner.h"
#include "workers/PasswordResults.h"

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
    if (const std::string problem = PasswordLengthProblem(*secret, Words(kStringNewPassword));
        !problem.empty()) {
        PrintCommandError(context, kPasswdCommandName, problem);
        return std::nullopt;
    }
    return secret;
}

// The message of a target's line: why its password was not changed, or what was done.
std::string ChangeMessage(const fleet::PasswordChangeResult& result, const CPasswords& passwords) {
    switch (result.outcome) {
        case Outcome::kPasswordChanged:
            if (result.removed) {
                return Words(kStringPasswordRemovedDetail);
            }
            return Words(result.first ? kStringFirstPasswordSet : kStringPasswordChangedDetail);
        case Outcome::kFailed:
            if (const int status = DeclinedStatusOf(result.workerResult); status >= 0) {
                return Words(kStringPasswordChangeDeclined, {StatusByteText(status)});
            }
            return MessageText(kStringPasswordChangeFailed);
        case Outcome::kPasswordRefused:
            return MessageText(kStringPasswordChangeFailed);
        default:
            return RoadFailureText(result.failure, result.target.address, passwords);
    }
}

// --keyring: the keyring keeps the new password of each projector whose password was changed,
// beside the hardware address the projector reported before the change (an entry without one
// would go to any projector at the address), and forgets the entry of one that asks for no
// password now. False, with a message per address, for entries the keyring did not take.
bool KeepChangedInKeyring(CliContext& context, fleet::ICredentialStore& keyring,
                          const std::vector<fleet::PasswordChangeResult>& results,
                          const std::string& fresh) {
    bool kept = true;
    for (const fleet::PasswordChangeResult& result : results) {
        if (result.outcome != Outcome::kPasswordChanged) {
            continue;
        }
        const std::string& address = result.target.address;
        bool done = false;
        if (result.removed) {
            done = keyring.Forget(address);
        } else if (fleet::KeptHardwareAddress(result.hardwareAddress).empty()) {
            PrintCommandError(context, kPasswdCommandName,
                              Words(kStringKeyringNeedsHardwareAddress, {address}));
            kept = false;
            continue;
        } else {
            done = keyring.Keep({address, result.hardwareAddress, fresh});
        }
        if (!done) {
            PrintCommandError(context, kPasswdCommandName,
                              "the keyring did not take the new password of " + address +
                                  " (the projector has it)");
            kept = false;
        }
    }
    return kept;
}

// A change whose change-log line was not kept is told: the password was changed all the same.
int WarnPasswordLogsNotKept(CliContext& context,
                            const std::vector<fleet::PasswordChangeResult>& results,
                            const std::string& folder, int status) {
    bool lost = false;
    for (const fleet::PasswordChangeResult& result : results) {
        if (result.logStatus != OutputStatus::kOk) {
            PrintCommandError(context, kPasswdCommandName,
                              Words(kStringChangeLogNotKept,
                                    {result.target.address, TerminalText(folder)}) +
                                  " (" + OutputProblem(result.logStatus) + ")");
            lost = true;
        }
    }
    return lost && status == kExitOk ? kExitLogNotKept : status;
}

// --dry-run: which projectors would get their first password and which a change; each is only
// asked whether it has a password, and no password is asked for or sent.
int PlanPasswd(CliContext& context, const CParsedArgs& parsed, std::vector<Target> targets,
               long type, long jobs) {
    ForceType(targets, type);
    const std::vector<bool> unanswered = fleet::LearnModuleTypes(context.network, targets);
    std::vector<TargetReport> reports =
        FirstReports(context, kPasswdCommandName, targets, unanswered, false);
    std::vector<fleet::PasswordChangeResult> results(targets.size());
    for (std::size_t i = 0; i < targets.size(); ++i) {
        results[i].target = targets[i];
    }
    fleet::RunControl control;
    control.bounds.jobs = static_cast<int>(jobs);
    control.finished = ProgressOnTerminal(context, targets.size());
    fleet::PlanPasswordChangesInto(context.network, results, control);
    const CPasswords none(context, kPasswdCommandName);
    for (std::size_t i = 0; i < results.size(); ++i) {
        reports[i].outcome = results[i].outcome;
        if (results[i].outcome == Outcome::kWouldSend) {
            reports[i].message =
                Words(results[i].first ? kStringWouldGetFirstPassword : kStringWouldChangePassword);
            reports[i].facts["hasPassword"] = !results[i].first;
        } else {
            reports[i].message = RoadFailureText(results[i].failure, targets[i].address, none);
        }
    }
    return PrintReports(context, reports, parsed.Has("--json"));
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
    if (parsed.Has("--dry-run")) {
        return PlanPasswd(context, parsed, std::move(targets), type, jobs);
    }
    CPasswords passwords(context, kPasswdCommandName, "LANTERNA_PASSWORD", "Current password: ");
    if (!LoadPasswordOptions(context, kPasswdCommandName, parsed, passwords)) {
        return kExitFailed;
    }
    // One projector is asked first whether it has a password at all, so that its current one
    // is settled before the new one is asked for, as the prompts go (and none is asked for a
    // projector without one).
    if (IsSingleTarget(request)) {
        const int probe = fleet::ProbePassword(context.network, targets.front());
        std::string problem;
        if (probe != 1 && probe != 2) {
            PrintCommandError(
                context, kPasswdCommandName,
                MessageText(probe == 0 ? kStringOtherLinkOpen : kStringConnectFailed));
            return kExitFailed;
        }
        if (probe == 2 && !passwords.Lookup(targets.front().address, problem)) {
            PrintCommandError(context, kPasswdCommandName, problem);
            return kExitFailed;
        }
    }
    const auto fresh = NewPassword(context, parsed);
    if (!fresh) {
        return kExitFailed;
    }
    ForceType(targets, type);
    const bool single = IsSingleTarget(request) && !parsed.Has("--json");
    // The hello tells each target's name and module type, as for the other commands.
    const std::vector<bool> unanswered = fleet::LearnModuleTypes(context.network, targets);
    std::vector<TargetReport> reports =
        FirstReports(context, kPasswdCommandName, targets, unanswered, single);
    fleet::RunControl control;
    control.bounds.jobs = static_cast<int>(jobs);
    std::optional<CWorkerRunner> runner;
    if (single) {
        control.foreground = &runner.emplace(context);
    } else {
        control.finished = ProgressOnTerminal(context, targets.size());
    }
    const std::string historyFolder = fleet::HistoryFolder(context.environment);
    const std::vector<fleet::PasswordChangeResult> results = fleet::ChangePasswords(
        context.network, passwords, targets, *fresh, control, historyFolder);
    for (std::size_t i = 0; i < results.size(); ++i) {
        reports[i].outcome = results[i].outcome;
        reports[i].message = ChangeMessage(results[i], passwords);
    }
    const bool keyringKept = passwords.Keyring() == nullptr ||
                             KeepChangedInKeyring(context, *passwords.Keyring(), results, *fresh);
    int status = kExitOk;
    if (single) {
        if (reports[0].outcome != Outcome::kPasswordChanged) {
            PrintCommandError(context, kPasswdCommandName, TerminalText(reports[0].message));
            return kExitFailed;
        }
        context.out << OutcomeWord(Outcome::kPasswordChanged) << "\n";
    } else {
        status = PrintReports(context, reports, parsed.Has("--json"));
    }
    status = keyringKept ? status : kExitFailed;
    return WarnPasswordLogsNotKept(context, results, historyFolder, status);
}

}  // namespace

const CliCommand kPasswdCommand{"passwd", &RunPasswd};

}  // namespace lanterna::cli
