#include "workers/OutcomeText.h"

#include <vector>

#include "resources/StringTable.h"
#include "resources/TextPattern.h"

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

std::string ReadLinkLostText(const ReadProgress& progress, Language language) {
    return FormatString(kStringReadLinkLost, language,
                        {progress.lostAt, std::to_string(progress.settingsRead),
                         std::to_string(progress.settingsPlanned)});
}

std::string WriteLinkLostText(const WriteProgress& progress, Language language) {
    return FormatString(
        kStringWriteLinkLost, language,
        {CommandList(progress.accepted, language), CommandList(progress.refused, language),
         CommandList(progress.unanswered, language), CommandList(progress.notSent, language)});
}

std::string UnreadSettingText(std::string_view setting, Language language) {
    return FormatString(kStringUnreadSetting, language, {setting});
}

}  // namespace lanterna
