#include "tools/lanternactl/TextSafety.h"

#include <ostream>

#include "link/CommandLine.h"

namespace lanterna::cli {

bool CheckCommandWords(CliContext& context, std::string_view command, CliArgs words) {
    for (const std::string& word : words) {
        if (!IsSendableCommandText(word)) {
            context.err << "lanternactl " << command << ": '" << TerminalText(word)
                        << "' holds a control byte; nothing was sent\n";
            return false;
        }
    }
    return true;
}

}  // namespace lanterna::cli
