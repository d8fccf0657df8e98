#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <regex>
#include <set>
#include <string_view>
#include <vector>

#include "resources/StringTable.h"
#include "resources/TextPattern.h"
#include "tests/support/language/LanguageTestSupport.h"

namespace lanterna {
namespace {

// Every id resources/StringIds.h names, read from the header itself, so that a new name needs
// no list here.
std::vector<int> NamedIds() {
    std::ifstream header(STRING_IDS_HEADER);
    const std::regex named(R"(^\s*kString\w+\s*=\s*(\d+),)");
    std::vector<int> ids;
    for (std::string line; std::getline(header, line);) {
        std::smatch match;
        if (std::regex_search(line, match, named)) {
            ids.push_back(std::stoi(match[1].str()));
        }
    }
    return ids;
}

// True when `text` is well-formed UTF-8 without overlong forms or surrogates.
bool IsUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        unsigned min = 0;
        unsigned value = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2, min = 0x80, value = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, min = 0x800, value = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, min = 0x10000, value = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            value = (value << 6) | (next & 0x3F);
        }
        if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

// ---- contents -------------------------------------------------------------------------------

TEST(StringTable, HoldsATextForEveryNamedIdEachIdOnce) {
    const std::vector<int> named = NamedIds();
    ASSERT_GT(named.size(), 100U) << "the names were not read from " << STRING_IDS_HEADER;
    for (const int id : named) {
        EXPECT_FALSE(LoadString(id, Language::Korean).empty()) << id;
    }
    std::vector<int> ids;
    for (const StringEntry& entry : StringTableEntries()) {
        ids.push_back(entry.id);
    }
    EXPECT_TRUE(std::adjacent_find(ids.begin(), ids.end(), std::greater_equal<>()) == ids.end())
        << "ids in increasing order, each once";
}

TEST(StringTable, EveryTextIsZeroTerminatedUtf8WithoutCarriageReturns) {
    for (const StringEntry& entry : StringTableEntries()) {
        for (const Language language : {Language::Korean, Language::English}) {
            const std::string_view text = entry.Text(language);
            EXPECT_TRUE(IsUtf8(text)) << entry.id;
            EXPECT_EQ(text.find('\r'), std::string_view::npos) << entry.id;
            EXPECT_EQ(text.find('\0'), std::string_view::npos) << entry.id;
            EXPECT_EQ(text.data()[text.size()], '\0') << entry.id;
            EXPECT_EQ(LoadString(entry.id, language).data(), text.data()) << entry.id;
        }
    }
}

TEST(StringTable, TextsByteForByte) {
    EXPECT_EQ(LoadString(110), "Lanterna");
    EXPECT_EQ(LoadString(102), "IP 지정 접속");
    EXPECT_EQ(LoadString(104), "Sentro 목록 파일(*.ini)\n*.ini\n모든 파일(*.*)\n*.*\n");
    EXPECT_EQ(LoadString(108), "Lanterna 설정 파일(*.ini)\n*.ini\n모든 파일(*.*)\n*.*\n");
    EXPECT_EQ(LoadString(191), "환경 설정 파일(*.ncf)\n*.ncf\n모든 파일(*.*)\n*.*\n");
    EXPECT_EQ(LoadString(122), "다른 프로젝터가  통신 중입니다.");
    EXPECT_EQ(LoadString(132),
              "프로젝터의 설정에 실패했습니다. 설정을 확인하신 후,  재설정하십시오.");
    EXPECT_EQ(LoadString(149), "프로젝터는 4096대 까지 표시 가능합니다 .");
    EXPECT_EQ(LoadString(129), "IP 주소를 사용할 수 없습니다. 사용 가능한 IP 주소를 입력하십시오.");
    EXPECT_EQ(LoadString(182), "IP는, 0-255의 범위에서 입력하십시오.");
    EXPECT_EQ(LoadString(185), "작성");
    EXPECT_EQ(LoadString(186), "닫기");
    EXPECT_EQ(LoadString(188),
              "입력한 WAP-PSK는 사용할 수 없습니다 .사용 가능한 WPA-PSK를 입력하십시오.");
    EXPECT_EQ(LoadString(190), "사용할 수 없는 암호입니다.사용 가능한 암호를 입력하십시오.");
    EXPECT_EQ(LoadString(193), "사용할 수 없는 문자가 포함되어 있습니다.");
}

TEST(StringTable, LineFeedsAreSingleBytes) {
    // "\n" in the table file is one line feed, which the file dialogs split the filter on.
    const std::string_view filter = LoadString(191);
    std::size_t lineFeeds = 0;
    for (const char c : filter) {
        lineFeeds += c == '\n' ? 1 : 0;
    }
    EXPECT_EQ(lineFeeds, 4u);
    EXPECT_EQ(filter.find('\\'), std::string_view::npos);
    EXPECT_EQ(filter.back(), '\n');
}

// ---- English ------------------------------------------------------------------------------

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

TEST(StringTable, EveryIdHasAnEnglishTextWithoutKoreanScript) {
    for (const StringEntry& entry : StringTableEntries()) {
        EXPECT_FALSE(entry.english.empty()) << entry.id;
        EXPECT_EQ(test::KoreanScriptCharacter(entry.english), 0u) << entry.id;
        // A text that differs between the languages is Korean in its first column (the
        // columns are not swapped).
        if (entry.korean != entry.english) {
            EXPECT_NE(test::KoreanScriptCharacter(entry.korean), 0u) << entry.id;
        }
    }
}

TEST(StringTable, EnglishFiltersKeepTheirPatterns) {
    for (const int id :
         {kStringMonitorListFilter, kStringSettingsFileFilter, kStringConfigFileFilter}) {
        const std::vector<std::string_view> korean = Lines(LoadString(id, Language::Korean));
        const std::vector<std::string_view> english = Lines(LoadString(id, Language::English));
        ASSERT_EQ(english.size(), korean.size()) << id;
        for (std::size_t line = 1; line < korean.size(); line += 2) {
            EXPECT_EQ(english[line], korean[line]) << id << " pattern " << line;
            // The name shows its pattern, as the Korean one does.
            EXPECT_NE(english[line - 1].find(std::string("(") + std::string(korean[line]) + ")"),
                      std::string_view::npos)
                << english[line - 1];
        }
    }
}

// ---- lookup ---------------------------------------------------------------------------------

TEST(StringTable, UnknownIdsGiveAnEmptyZeroTerminatedText) {
    for (const int id : {-1, 0, 1, 101, 111, 120, 154, 181, 187, 194, 100000}) {
        const std::string_view text = LoadString(id);
        EXPECT_TRUE(text.empty()) << id;
        ASSERT_NE(text.data(), nullptr) << id;
        EXPECT_EQ(text.data()[0], '\0') << id;
    }
}

// ---- texts with values ----------------------------------------------------------------------

// The placeholders "{1}" to "{9}" of a text, in order of appearance.
std::multiset<char> Placeholders(std::string_view text) {
    std::multiset<char> found;
    for (std::size_t at = text.find('{'); at != std::string_view::npos && at + 2 < text.size();
         at = text.find('{', at + 1)) {
        if (text[at + 1] >= '1' && text[at + 1] <= '9' && text[at + 2] == '}') {
            found.insert(text[at + 1]);
        }
    }
    return found;
}

// A translation names every value its English text names, each as often.
TEST(StringTable, BothLanguagesHoldTheSameValues) {
    for (const StringEntry& entry : StringTableEntries()) {
        EXPECT_EQ(Placeholders(entry.korean), Placeholders(entry.english)) << entry.id;
    }
}

TEST(StringTable, PatternsAreFilledInOnePass) {
    const struct {
        std::string_view pattern;
        std::initializer_list<std::string_view> values;
        std::string_view filled;
    } cases[] = {
        {"{1} of {2}", {"a", "b"}, "a of b"},
        {"{2}의 {1}", {"a", "b"}, "b의 a"},
        {"{1}{1}", {"x"}, "xx"},
        {"{1} and {3}", {"a", "b"}, "a and {3}"},     // no third value: left as it is
        {"{1}", {"{2}", "b"}, "{2}"},                 // a value is not filled again
        {"{0} {x} {12} {", {"a"}, "{0} {x} {12} {"},  // only {1} to {9}
        {"", {"a"}, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FillPattern(c.pattern, c.values), c.filled) << c.pattern;
    }
    EXPECT_EQ(FormatString(kStringModuleType, Language::English, {"22"}), "module type 22");
}

}  // namespace
}  // namespace lanterna
