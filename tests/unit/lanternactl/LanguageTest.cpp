// lanternactl speaks the language its environment asks for: outcome lines, summaries and errors
// from the string table in Korean or English, the usage text in English either way, --json's
// outcome words in English always.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "resources/StringTable.h"
#include "tests/support/cli/CliHarness.h"
#include "tests/support/files/TempFolder.h"
#include "tests/support/language/LanguageTestSupport.h"
#include "tools/lanternactl/FleetReport.h"

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

// Two addresses routed nowhere: nothing is sent, both count as not answering.
TEST(Language, OutcomeLinesSummaryAndProgressFollowTheLanguageAndJsonKeepsItsWords) {
    const test::ScopedLanguage restored(UserLanguage());
    const struct {
        const char* language;
        std::string lines;
        std::string progressEnd;
    } cases[] = {
        {"en",
         "10.9.0.1  -  not answering  Could not connect to the projector.\n"
         "10.9.0.2  -  not answering  Could not connect to the projector.\n"
         "2 targets: 2 not answering\n",
         "] 2/2 targets\n"},
        {"ko",
         "10.9.0.1  -  응답 없음  프로젝터 연결에 실패했습니다.\n"
         "10.9.0.2  -  응답 없음  프로젝터 연결에 실패했습니다.\n"
         "대상 2대: 2대 응답 없음\n",
         "] 대상 2/2\n"},
    };
    for (const auto& c : cases) {
        test::CliSetup setup;
        setup.environment = {{"LANTERNA_LANG", c.language}};
        setup.errIsTerminal = true;
        const test::CliRun run = RunCli({"read", "10.9.0.1-2", "--type", "21"}, setup);
        EXPECT_EQ(run.status, kExitFailed);
        EXPECT_EQ(run.out, c.lines) << c.language;
        EXPECT_TRUE(run.err.ends_with(c.progressEnd)) << run.err;

        setup.errIsTerminal = false;
        const test::CliRun json = RunCli({"read", "10.9.0.1-2", "--type", "21", "--json"}, setup);
        EXPECT_NE(json.out.find("\"outcome\": \"not answering\""), std::string::npos) << json.out;
    }
}

// A line of a target speaks one language: the hello's note and the message too. Without a locale
// someone at a terminal is told, once, which language is spoken and how to change it.
TEST(Language, EveryLineSpeaksOneLanguageAndNoLocaleIsToldAtATerminal) {
    const test::ScopedLanguage restored(UserLanguage());
    const struct {
        std::map<std::string, std::string> environment;
        bool terminal;
        std::size_t notes;
    } cases[] = {
        {{}, true, 2},
        {{{"LANG", "C"}}, true, 2},
        {{}, false, 0},
        {{{"LANG", "ko_KR.UTF-8"}}, true, 0},
        {{{"LANTERNA_LANG", "ko"}}, true, 0},
    };
    for (const auto& c : cases) {
        test::CliSetup setup;
        setup.environment = c.environment;
        setup.errIsTerminal = c.terminal;
        const test::CliRun run = RunCli({"read", "10.9.0.1-2", "--wait", "1"}, setup);
        EXPECT_NE(run.out.find("hello"), std::string::npos) << "the hello's note: " << run.out;
        std::istringstream lines(run.out);
        for (std::string line; std::getline(lines, line);) {
            EXPECT_EQ(line.find("no answer"), std::string::npos) << line;
            EXPECT_GT(test::KoreanScriptCharacter(line), 0u) << line;
        }
        std::size_t notes = 0;
        for (std::size_t at = run.err.find("LANTERNA_LANG=en"); at != std::string::npos;
             at = run.err.find("LANTERNA_LANG=en", at + 1)) {
            ++notes;
        }
        EXPECT_EQ(notes, c.notes) << run.err;
    }
}

// Columns line up on a terminal, where a Hangul character takes two columns.
TEST(Language, TableColumnsCountTerminalColumns) {
    std::ostringstream out;
    PrintTable(out,
               {{"127.0.0.1", "설정됨", "ok"}, {"127.0.0.12", "read", "-"}, {"a\x1b", "", ""}});
    EXPECT_EQ(out.str(),
              "127.0.0.1   설정됨  ok\n"
              "127.0.0.12  read    -\n"
              "a\\x1b\n");
}

}  // namespace
}  // namespace lanterna::cli
