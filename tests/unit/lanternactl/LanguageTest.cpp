// lanternactl speaks the language its environment asks for: outcome lines and errors from the
// string table in Korean or English, the usage text in English either way.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "resources/StringTable.h"
#include "tests/support/cli/CliHarness.h"
#include "tests/support/files/TempFolder.h"
#include "tests/support/language/LanguageTestSupport.h"

namespace lanterna::cli {
namespace {

using test::RunCli;

TEST(Language, ErrorsFollowTheEnvironmentAndTheUsageStaysEnglish) {
    const test::ScopedLanguage restored(UserLanguage());
    test::TempFolder folder;
    const std::string path = folder.File("sentro.ini");
    test::WriteFile(path, "[PROJECTOR]\r\nCount=0\r\n");
    const std::string english = "lanternactl import-list: The settings file could not be read.\n";
    const std::string korean = "lanternactl import-list: 설정 파일의 해석에 실패했습니다.\n";
    const struct {
        std::map<std::string, std::string> environment;
        const std::string& expected;
    } cases[] = {
        {{{"LANTERNA_LANG", "en"}}, english},
        {{{"LANG", "fr_FR.UTF-8"}}, english},
        {{{"LC_ALL", "en_US.UTF-8"}, {"LANG", "ko_KR.UTF-8"}}, english},
        {{{"LANG", "ko_KR.UTF-8"}}, korean},
        {{}, korean},
        {{{"LANG", "C.UTF-8"}}, korean},
        {{{"LANTERNA_LANG", "ko"}, {"LANG", "en_US.UTF-8"}}, korean},
    };
    for (const auto& c : cases) {
        test::CliSetup setup;
        setup.environment = c.environment;
        const test::CliRun run = RunCli({"import-list", path}, setup);
        EXPECT_EQ(run.status, kExitFailed);
        EXPECT_EQ(run.err, c.expected)
            << (c.environment.empty() ? "" : c.environment.begin()->second);
    }

    test::CliSetup englishSetup;
    englishSetup.environment = {{"LANTERNA_LANG", "en"}};
    const test::CliRun englishHelp = RunCli({"--help"}, englishSetup);
    const test::CliRun koreanHelp = RunCli({"--help"});
    EXPECT_EQ(englishHelp.out, koreanHelp.out);
    EXPECT_EQ(test::KoreanScriptCharacter(koreanHelp.out), 0u);
}

}  // namespace
}  // namespace lanterna::cli
