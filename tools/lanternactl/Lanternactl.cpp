#include <algorithm>
#include <ostream>

#include "platform/UserLanguage.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "tools/lanternactl/CliContext.h"
#include "tools/lanternactl/CommandHelp.h"
#include "tools/lanternactl/TextSafety.h"

namespace lanterna::cli {

namespace {

bool IsHelpWord(std::string_view word) {
    return word == "--help" || word == "-h";
}

// Whether the command's own words ask for its help (words after "--" do not count).
bool AsksForHelp(CliArgs args) {
    const auto end = std::find(args.begin(), args.end(), "--");
    return std::any_of(args.begin(), end, [](const std::string& word) { return IsHelpWord(word); });
}

}  // namespace

int RunLanternactl(CliContext& context, CliArgs args) {
    // Outcome lines and errors speak the language of the environment the command was given.
    SetUserLanguage(ChooseLanguage(context.environment));
    // Without a locale Korean is spoken; someone at a terminal is told how to change it, in
    // both languages, one line each.
    if (context.errIsTerminal && !args.empty() && ChosenWithoutLocale(context.environment)) {
        for (const Language language : {Language::Korean, Language::English}) {
            context.err << "lanternactl: " << LoadString(kStringNoLocaleNote, language) << "\n";
        }
    }
    if (args.empty()) {
        PrintProgramHelp(context.err);
        return kExitUsage;
    }
    if (IsHelpWord(args[0]) || args[0] == "help") {
        if (args.size() > 1 && FindHelp(args[1]) != nullptr) {
            PrintCommandHelp(context.out, *FindHelp(args[1]));
        } else {
            PrintProgramHelp(context.out);
        }
        return kExitOk;
    }
    const std::string_view name = args[0] == "--version" ? "version" : std::string_view(args[0]);
    for (const CliCommand& command : AllCommands()) {
        if (name != command.name) {
            continue;
        }
        if (AsksForHelp(args.subspan(1))) {
            PrintCommandHelp(context.out, HelpOf(command.name));
            return kExitOk;
        }
        return command.run(context, args.subspan(1));
    }
    context.err << "lanternactl: unknown command '" << TerminalText(args[0])
                << "' (see lanternactl --help)\n";
    return kExitUsage;
}

void PrintCommandError(CliContext& context, std::string_view command, std::string_view text) {
    context.err << "lanternactl " << command << ": " << text << "\n";
}

}  // namespace lanterna::cli
