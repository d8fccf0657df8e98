#include "workers/OutcomeText.h"

#include <vector>

#include "resources/StringTable.h"

namespace lanterna {

namespace {

std::string CommandList(const std::vector<std::string>& commands, Language language) {
    if (commands.empty()) {
        return std::string(LoadString(kStringNoCommands, language));
    }
    std::string list;
    for (const std::string& command : commands) {
        list += (list.empty() ? "" : ", ") + command;
    }
    return list;
}

}  // namespace

std::string FillPlaceholders(std::string_view pattern,
                             std::initializer_list<std::string_view> values) {
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const auto index = static_cast<std::size_t>(next - '1');
        if (pattern[i] == '%' && next >= '1' && next <= '9' && index < values.size()) {
            text += values.begin()[index];
            ++i;
            continue;
        }
        text += pattern[i];
    }
    return text;
}

std::string ReadLinkLostText(const ReadProgress& progress, Language language) {
    return FillPlaceholders(LoadString(kStringReadLinkLost, language),
                            {progress.lostAt, std::to_string(progress.settingsRead),
                             std::to_string(progress.settingsPlanned)});
}

std::string WriteLinkLostText(const WriteProgress& progress, Language language) {
    return FillPlaceholders(
        LoadString(kStringWriteLinkLost, language),
        {CommandList(progress.accepted, language), CommandList(progress.refused, language),
         CommandList(progress.unanswered, language), CommandList(progress.notSent, language)});
}

std::string UnreadSettingText(std::string_view setting, Language language) {
    return FillPlaceholders(LoadString(kStringUnreadSetting, language), {setting});
}

}  // namespace lanterna
