#include "tools/lanternactl/ProjectorSession.h"

#include <ostream>

#include "resources/StringIds.h"
#include "state/Messages.h"
#include "tools/lanternactl/FleetWords.h"
#include "tools/lanternactl/WorkerRunner.h"

namespace lanterna::cli {

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

int PrintWriteResult(CliContext& context, std::string_view command, int result,
                     std::uint32_t writeErrors, std::string_view failure) {
    if (result == 1) {
        context.out << MessageText(kStringWriteDone) << "\n";
        return kExitOk;
    }
    if (writeErrors != 0) {
        context.out << Words(kStringProjectorRefused, {RefusedCommands(writeErrors)}) << "\n";
    }
    context.err << "lanternactl " << command << ": "
                << (failure.empty() ? MessageText(kStringWriteFailed) : std::string(failure))
                << "\n";
    return kExitFailed;
}

}  // namespace lanterna::cli
