#include <ostream>

#include "resources/StringIds.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/ProjectorSession.h"

namespace lanterna::cli {

namespace {

constexpr std::string_view kName = "passwd";

void Complain(CliContext& context, std::string_view text) {
    context.err << "lanternactl passwd: " << text << "\n";
}

// From `variable`, else asked on the terminal (`times` times, all answers equal).
std::optional<std::string> TakeSecret(CliContext& context, std::string_view variable,
                                      std::string_view prompt, int times, int tooLongMessage) {
    std::optional<std::string> secret = context.environment(variable);
    if (!secret) {
        for (int i = 0; i < times; ++i) {
            const auto answer = context.askHidden ? context.askHidden(i == 0 ? prompt : "Repeat: ")
                                                  : std::optional<std::string>();
            if (!answer) {
                Complain(context, "set " + std::string(variable) + " or run on a terminal");
                return std::nullopt;
            }
            if (secret && *secret != *answer) {
                Complain(context, MessageText(kStringPasswordsDiffer));
                return std::nullopt;
            }
            secret = answer;
        }
    }
    if (secret->size() > kMaxPasswordBytes) {
        Complain(context, MessageText(tooLongMessage));
        return std::nullopt;
    }
    return secret;
}

int RunPasswd(CliContext& context, CliArgs args) {
    if (args.size() != 1) {
        context.err << "lanternactl passwd: usage: lanternactl " << kPasswdCommand.usage << "\n";
        return kExitUsage;
    }
    ApplicationState state;
    if (!SelectAddress(context, kName, state, args[0])) {
        return kExitUsage;
    }
    const auto current =
        TakeSecret(context, "LANTERNA_PASSWORD", "Current password: ", 1, kStringOldPasswordWrong);
    if (!current) {
        return kExitFailed;
    }
    const auto fresh =
        TakeSecret(context, "LANTERNA_NEW_PASSWORD", "New password: ", 2, kStringPasswordWrong);
    if (!fresh) {
        return kExitFailed;
    }
    CopyText(state.currentPassword, *current);
    CopyText(state.newPassword, *fresh);
    CWorkerRunner runner(context);
    if (runner.Run(WorkerMode::kPassword, state) != 1) {
        Complain(context, MessageText(kStringPasswordChangeFailed));
        return kExitFailed;
    }
    context.out << "password changed\n";
    return kExitOk;
}

}  // namespace

const CliCommand kPasswdCommand{
    "passwd", "passwd ADDRESS",
    "Change a projector's password (LANTERNA_PASSWORD and LANTERNA_NEW_PASSWORD, or asked on "
    "the terminal).",
    &RunPasswd};

}  // namespace lanterna::cli
