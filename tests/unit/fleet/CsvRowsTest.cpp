// CSV as spreadsheets write it, read into rows: one table of texts and the rows they give.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fleet/CsvRows.h"

namespace lanterna::fleet {
namespace {

// Each row as "LINE:cell|cell", so that a table can spell it out.
std::vector<std::string> Spelled(const std::vector<CsvRow>& rows) {
    std::vector<std::string> spelled;
    for (const CsvRow& row : rows) {
        std::string text = std::to_string(row.line) + ":";
        for (std::size_t i = 0; i < row.cells.size(); ++i) {
            text += (i == 0 ? "" : "|") + row.cells[i];
        }
        spelled.push_back(text);
    }
    return spelled;
}

TEST(ParseCsv, RowsAsSpreadsheetsWriteThem) {
    struct Case {
        std::string_view what;
        std::string_view text;
        std::vector<std::string> rows;
        std::size_t badLine = 0;  // not 0: the text is refused, a quote opened on this line
    };
    const Case cases[] = {
        {"byte-order mark", "\xEF\xBB\xBFname,address\n", {"1:name|address"}},
        {"quoted comma", "a,\"b,c\",d\n", {"1:a|b,c|d"}},
        {"doubled quotes", "\"say \"\"hi\"\"\",x", {"1:say \"hi\"|x"}},
        {"line break inside quotes", "\"two\nlines\",x\nnext\n", {"1:two\nlines|x", "3:next"}},
        {"CRLF", "a,b\r\nc,d\r\n", {"1:a|b", "2:c|d"}},
        {"blank lines", "a\n\n\r\nb\n\n", {"1:a", "4:b"}},
        {"empty cells kept", "a,,\n,\n", {"1:a||", "2:|"}},
        {"unclosed quote", "a\n\"open,\nmore", {}, 2},
        {"nothing", "", {}},
    };
    for (const Case& c : cases) {
        std::vector<CsvRow> rows;
        std::size_t badLine = 0;
        EXPECT_EQ(ParseCsv(c.text, rows, badLine), c.badLine == 0) << c.what;
        EXPECT_EQ(badLine, c.badLine) << c.what;
        if (c.badLine == 0) {
            EXPECT_THAT(Spelled(rows), ::testing::ElementsAreArray(c.rows)) << c.what;
        }
    }
}

}  // namespace
}  // namespace lanterna::fleet
