#include <array>
#include <cstdio>
#include <ostream>

#include "resources/StringIds.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/ProjectorSession.h"
#include "tools/lanternactl/SetFields.h"
#include "tools/lanternactl/WorkerRunner.h"

namespace lanterna::cli {

namespace {

constexpr std::string_view kName = "set";

struct WriteBit {
    std::uint32_t bit;
    std::string_view commands;
};

constexpr std::array<WriteBit, 17> kWriteBits = {{
    {0x1, "address configuration / wireless"},
    {0x2, "DNS domain"},
    {0x4, "DNS servers"},
    {0x8, "WINS servers"},
    {0x10, "mail notification"},
    {0x20, "SMTP server"},
    {0x40, "SMTP port"},
    {0x80, "recipient 1"},
    {0x100, "recipient 2"},
    {0x200, "recipient 3"},
    {0x400, "events 1"},
    {0x800, "events 2"},
    {0x1000, "events 3"},
    {0x2000, "trap address 1"},
    {0x4000, "trap address 2"},
    {0x8000, "community"},
    {0x10000, "projector name / primary interface"},
}};

}  // namespace

std::function<int(int)> TestMailAnswer(CliContext& context, std::optional<bool> testMail) {
    return [&context, testMail](int stringId) {
        context.err << MessageText(stringId) << "\n";
        bool yes = false;
        if (testMail) {
            yes = *testMail;
        } else if (context.askLine) {
            const auto line = context.askLine("Send a test mail? [y/N] ");
            yes = line && (*line == "y" || *line == "Y" || *line == "yes");
        }
        context.err << (yes ? "yes" : "no") << "\n";
        return yes ? kAnswerYes : kAnswerNo;
    };
}

// Prints the write's outcome and the bits of the refused commands.
int ReportWrite(CliContext& context, std::string_view command, int result,
                std::uint32_t writeErrors) {
    std::array<char, 16> bits{};
    std::snprintf(bits.data(), bits.size(), "0x%x", writeErrors);
    context.out << "result: " << result << "\nwriteErrors: " << bits.data() << "\n";
    for (const WriteBit& entry : kWriteBits) {
        if ((writeErrors & entry.bit) != 0) {
            context.out << "  refused: " << entry.commands << "\n";
        }
    }
    if (result == 1) {
        context.out << MessageText(kStringWriteDone) << "\n";
        return kExitOk;
    }
    context.err << "lanternactl " << command << ": " << MessageText(kStringWriteFailed) << "\n";
    return kExitFailed;
}

// Takes "--test-mail yes|no" out of `args`. False for another value.
bool TakeTestMailOption(CliContext& context, std::string_view command,
                        std::vector<std::string>& args, std::optional<bool>& testMail) {
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--test-mail") {
            rest.push_back(args[i]);
            continue;
        }
        const std::string value = i + 1 < args.size() ? args[++i] : "";
        if (value != "yes" && value != "no") {
            context.err << "lanternactl " << command << ": --test-mail takes yes or no\n";
            return false;
        }
        testMail = value == "yes";
    }
    args = std::move(rest);
    return true;
}

namespace {

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
    record.writeAll = 0;
    const int result = runner.Run(WorkerMode::kWrite, state);
    const int status = ReportWrite(context, kName, result, state.writeErrors);
    CloseLink(state);
    return status;
}

}  // namespace

const CliCommand kSetCommand{
    "set", "set ADDRESS FIELD=VALUE... [--test-mail yes|no] [--password-file FILE]",
    "Change settings of a projector (fields as in read --json); only changed values are sent. "
    "The test-mail question is answered by --test-mail, else asked on a terminal, else no.",
    &RunSet};

}  // namespace lanterna::cli
