#include "tools/projector-sim/CommandSet.h"

#include <algorithm>

#include "tools/projector-sim/CommandTable.h"

namespace lanterna::sim {

namespace {

constexpr std::string_view kAccepted = "\r:";
constexpr std::string_view kRefused = "ERR\r:";
constexpr std::string_view kPrompt = ":";

CommandOutcome Reply(std::string_view text) {
    return CommandOutcome{std::string(text)};
}

// IMSTAT and NWRESET: the client sends them without reading a reply.
CommandOutcome ExecuteSendOnly(const CommandDefinition& definition, ProjectorSettings& settings,
                               const CommandLine& command, bool refused,
                               const CommandOptions& options) {
    const bool accepted = !refused && definition.set(settings, command.argument);
    CommandOutcome outcome;
    if (options.answerSendOnly) {
        outcome.reply = std::string(accepted ? kAccepted : kRefused);
    }
    outcome.reset = accepted && definition.name == "NWRESET";
    return outcome;
}

}  // namespace

CommandLine ParseCommandLine(std::string_view line) {
    CommandLine command;
    const std::size_t blank = line.find(' ');
    std::string_view head = line.substr(0, blank);
    if (!head.empty() && head.back() == '?') {
        command.query = true;
        head.remove_suffix(1);
    }
    command.name = head;
    if (blank != std::string_view::npos) {
        command.hasArgument = true;
        command.argument = line.substr(blank + 1);
    }
    return command;
}

CommandOutcome ExecuteCommand(ProjectorSettings& settings, std::string_view line,
                              const CommandOptions& options) {
    if (line.empty()) {
        return Reply(kPrompt);
    }
    const CommandLine command = ParseCommandLine(line);
    const CommandDefinition* definition = FindCommand(command.name);
    if (definition == nullptr || !IsAvailableOn(*definition, settings.imType)) {
        return Reply(kRefused);
    }
    const bool refused =
        options.refused != nullptr && options.refused->count(std::string(command.name)) != 0;
    if (definition->sendOnly && !command.query) {
        return ExecuteSendOnly(*definition, settings, command, refused, options);
    }
    if (refused) {
        return Reply(kRefused);
    }
    if (command.query) {
        if (command.hasArgument || !definition->query) {
            return Reply(kRefused);
        }
        return Reply(definition->name + "=" + definition->query(settings) + std::string(kAccepted));
    }
    if (!definition->set || !definition->set(settings, command.argument)) {
        return Reply(kRefused);
    }
    CommandOutcome outcome = Reply(kAccepted);
    outcome.testMail = definition->name == "NWSMTPTEST";
    return outcome;
}

void ApplyReplyFault(const ProjectorSettings& settings, const CommandLine& command,
                     const ReplyFault& fault, CommandOutcome& outcome) {
    if (!outcome.reply) {
        return;
    }
    std::string& reply = *outcome.reply;
    const std::string name(command.name);
    const bool answered = command.query && reply.starts_with(name + "=");
    switch (fault.kind) {
        case ReplyFaultKind::kCut:
            reply.resize(std::min(reply.size(), fault.bytes));
            outcome.closeAfterReply = true;
            return;
        case ReplyFaultKind::kNoPrompt:
            if (reply.ends_with(kPrompt)) {
                reply.pop_back();
            }
            return;
        case ReplyFaultKind::kUnderName:
            if (answered) {
                reply.replace(0, name.size(), fault.text);
            }
            return;
        case ReplyFaultKind::kSecondReply:
            if (const auto value = QueryValue(settings, fault.text)) {
                reply += fault.text + "=" + *value + std::string(kAccepted);
            }
            return;
        case ReplyFaultKind::kRawValue:
            if (answered) {
                reply = name + "=" + fault.text + std::string(kAccepted);
            }
            return;
    }
}

std::optional<std::string> QueryValue(const ProjectorSettings& settings, std::string_view name) {
    const CommandDefinition* definition = FindCommand(name);
    if (definition == nullptr || !definition->query ||
        !IsAvailableOn(*definition, settings.imType)) {
        return std::nullopt;
    }
    return definition->query(settings);
}

bool ApplySet(ProjectorSettings& settings, std::string_view name, std::string_view argument) {
    const CommandDefinition* definition = FindCommand(name);
    if (definition == nullptr || !definition->set || !IsAvailableOn(*definition, settings.imType)) {
        return false;
    }
    ProjectorSettings changed = settings;
    if (!definition->set(changed, argument)) {
        return false;
    }
    settings = std::move(changed);
    return true;
}

bool IsKnownCommand(std::string_view name) {
    return FindCommand(name) != nullptr;
}

}  // namespace lanterna::sim
