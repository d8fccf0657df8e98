// The choice of the user's language from the environment.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/UserLanguage.h"

namespace lanterna {
namespace {

using Environment = std::map<std::string, std::string>;

Language ChooseFrom(const Environment& variables) {
    return ChooseLanguage([&variables](std::string_view name) -> std::optional<std::string> {
        const auto found = variables.find(std::string(name));
        if (found == variables.end()) {
            return std::nullopt;
        }
        return found->second;
    });
}

TEST(UserLanguage, ChosenFromTheEnvironment) {
    constexpr Language ko = Language::Korean;
    constexpr Language en = Language::English;
    const struct {
        Environment environment;
        Language expected;
    } cases[] = {
        // No locale at all: the program's own language.
        {{}, ko},
        {{{"LANG", ""}}, ko},
        {{{"LANG", "C"}}, ko},
        {{{"LANG", "POSIX"}}, ko},
        {{{"LANG", "C.UTF-8"}}, ko},
        {{{"LC_ALL", "C.utf8"}}, ko},
        // A Korean locale, and any other language.
        {{{"LANG", "ko_KR.UTF-8"}}, ko},
        {{{"LANG", "ko"}}, ko},
        {{{"LANG", "KO_kr.eucKR"}}, ko},
        {{{"LANG", "en_US.UTF-8"}}, en},
        {{{"LANG", "de_DE@euro"}}, en},
        {{{"LANG", "ja_JP.UTF-8"}}, en},
        // LC_ALL before LC_MESSAGES before LANG; empty ones are skipped.
        {{{"LC_ALL", "ko_KR.UTF-8"}, {"LC_MESSAGES", "en_US.UTF-8"}, {"LANG", "en_GB"}}, ko},
        {{{"LC_ALL", ""}, {"LC_MESSAGES", "fr_FR.UTF-8"}, {"LANG", "ko_KR.UTF-8"}}, en},
        {{{"LC_MESSAGES", "ko_KR.UTF-8"}, {"LANG", "en_US.UTF-8"}}, ko},
        {{{"LC_ALL", "C"}, {"LANG", "en_US.UTF-8"}}, ko},
        // LANGUAGE's first entry, but only under a locale other than "C".
        {{{"LANGUAGE", "ko:en"}, {"LANG", "en_US.UTF-8"}}, ko},
        {{{"LANGUAGE", "fr:ko"}, {"LANG", "ko_KR.UTF-8"}}, en},
        {{{"LANGUAGE", ":ko_KR"}, {"LANG", "en_US.UTF-8"}}, ko},
        {{{"LANGUAGE", ""}, {"LANG", "en_US.UTF-8"}}, en},
        {{{"LANGUAGE", "en"}}, ko},
        {{{"LANGUAGE", "en"}, {"LANG", "C"}}, ko},
        {{{"LANGUAGE", "en"}, {"LC_ALL", "POSIX"}}, ko},
        {{{"LANGUAGE", "en"}, {"LANG", "C.UTF-8"}}, en},
        // LANTERNA_LANG overrides all of it; other values of it are ignored.
        {{{"LANTERNA_LANG", "en"}}, en},
        {{{"LANTERNA_LANG", "ko"}, {"LC_ALL", "en_US.UTF-8"}, {"LANGUAGE", "en"}}, ko},
        {{{"LANTERNA_LANG", "EN"}, {"LANG", "ko_KR.UTF-8"}}, en},
        {{{"LANTERNA_LANG", "en_GB.UTF-8"}}, en},
        {{{"LANTERNA_LANG", "de"}, {"LANG", "ko_KR.UTF-8"}}, ko},
        {{{"LANTERNA_LANG", ""}, {"LANG", "en_US.UTF-8"}}, en},
        {{{"LANTERNA_LANG", "english"}}, ko},
    };
    for (const auto& c : cases) {
        std::string described;
        for (const auto& [name, value] : c.environment) {
            described += name + "=" + value + " ";
        }
        EXPECT_EQ(ChooseFrom(c.environment), c.expected) << described;
    }
}

}  // namespace
}  // namespace lanterna
