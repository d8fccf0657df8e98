#include "tools/lanternactl/ProjectorSession.h"

#include <array>
#include <cstdio>
#include <ostream>

#include "resources/StringIds.h"
#include "state/Messages.h"
#include "tools/lanternactl/WorkerRunner.h"

namespace lanterna::cli {

namespace {

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

bool ParseTestMail(CliContext& context, std::string_view command,
                   const std::optional<std::string>& value, std::optional<bool>& testMail) {
    if (!value) {
        return true;
    }
    if (*value != "yes" && *value != "no") {
        context.err << "lanternactl " << command << ": --test-mail takes yes or no\n";
        return false;
    }
    testMail = *value == "yes";
    return true;
}

std::string RefusedCommands(std::uint32_t writeErrors) {
    std::string text;
    for (const WriteBit& entry : kWriteBits) {
        if ((writeErrors & entry.bit) != 0) {
            text += (text.empty() ? "" : ", ") + std::string(entry.commands);
        }
    }
    return text;
}

int PrintWriteResult(CliContext& context, std::string_view command, int result,
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

}  // namespace lanterna::cli
