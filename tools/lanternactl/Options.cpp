#include "tools/lanternactl/Options.h"

#include <charconv>
#include <ostream>

#include "tools/lanternactl/TextSafety.h"

namespace lanterna::cli {

namespace {

const OptionEntry* FindOption(std::span<const OptionEntry> options, std::string_view word) {
    for (const OptionEntry& option : options) {
        if (word == option.name || (!option.alias.empty() && word == option.alias)) {
            return &option;
        }
    }
    return nullptr;
}

bool ComplainWithHelpHint(CliContext& context, std::string_view command, const std::string& text) {
    PrintCommandError(context, command,
                      text + " (see lanternactl " + std::string(command) + " --help)");
    return false;
}

}  // namespace

bool CParsedArgs::Has(std::string_view name) const {
    for (const auto& [given, value] : given_) {
        if (given == name) {
            return true;
        }
    }
    return false;
}

std::optional<std::string> CParsedArgs::Value(std::string_view name) const {
    std::optional<std::string> last;
    for (const auto& [given, value] : given_) {
        if (given == name) {
            last = value;
        }
    }
    return last;
}

void CParsedArgs::Add(std::string_view name, std::string value) {
    given_.emplace_back(std::string(name), std::move(value));
}

bool ParseArguments(CliContext& context, std::string_view command, CliArgs args,
                    std::span<const OptionEntry> options, CParsedArgs& parsed) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (optionsEnded || word.size() < 2 || word[0] != '-') {
            parsed.positional.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        std::string_view name = word;
        std::optional<std::string> attached;
        if (const std::size_t equals = word.find('=');
            word.starts_with("--") && equals != word.npos) {
            name = std::string_view(word).substr(0, equals);
            attached = word.substr(equals + 1);
        }
        const OptionEntry* option = FindOption(options, name);
        if (option == nullptr && !word.starts_with("--")) {
            // A short form with its value attached: "-j8".
            for (const OptionEntry& candidate : options) {
                if (!candidate.alias.empty() && !candidate.value.empty() &&
                    word.starts_with(candidate.alias)) {
                    option = &candidate;
                    attached = word.substr(candidate.alias.size());
                    break;
                }
            }
        }
        if (option == nullptr) {
            return ComplainWithHelpHint(context, command,
                                        "unknown option '" + TerminalText(std::string(name)) + "'");
        }
        if (option->value.empty()) {
            if (attached) {
                return ComplainWithHelpHint(context, command,
                                            std::string(option->name) + " takes no value");
            }
            parsed.Add(option->name, "");
            continue;
        }
        if (!attached) {
            if (i + 1 >= args.size()) {
                return ComplainWithHelpHint(
                    context, command,
                    std::string(option->name) + " needs " + std::string(option->value));
            }
            attached = args[++i];
        }
        parsed.Add(option->name, std::move(*attached));
    }
    return true;
}

bool NumberOption(CliContext& context, std::string_view command, const CParsedArgs& parsed,
                  std::string_view option, long low, long high, long& value) {
    const auto text = parsed.Value(option);
    if (!text) {
        return true;
    }
    long number = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), number);
    if (error != std::errc() || end != text->data() + text->size() || number < low ||
        number > high) {
        return ComplainWithHelpHint(context, command,
                                    std::string(option) + " takes a whole number from " +
                                        std::to_string(low) + " to " + std::to_string(high) +
                                        ", not '" + TerminalText(*text) + "'");
    }
    value = number;
    return true;
}

}  // namespace lanterna::cli
