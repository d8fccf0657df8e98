#include <gtest/gtest.h>

#include "discovery/SearchCompletion.h"

namespace lanterna {
namespace {

TEST(SearchCompletion, FirstReportOnlyMarksOneDone) {
    CSearchCompletion completion;
    EXPECT_FALSE(completion.OneDone());
    EXPECT_EQ(completion.OnSearchReport(0), std::nullopt) << "even a failed first report";
    EXPECT_TRUE(completion.OneDone());
    EXPECT_EQ(completion.EndCode(), std::nullopt);
}

TEST(SearchCompletion, SecondReportEndsByItsOwnValue) {
    CSearchCompletion okAfterFailure;
    okAfterFailure.OnSearchReport(0);
    EXPECT_EQ(okAfterFailure.OnSearchReport(1), kSearchEndOk);

    CSearchCompletion cancelAfterOk;
    cancelAfterOk.OnSearchReport(1);
    EXPECT_EQ(cancelAfterOk.OnSearchReport(0), kSearchEndCancel);
    EXPECT_EQ(cancelAfterOk.OnSearchReport(1), kSearchEndCancel) << "the end does not change";
}

TEST(SearchCompletion, MessageNumbers) {
    EXPECT_EQ(kHelloSearchDoneMessage, 0x400 + 0x132);
    EXPECT_EQ(kSecondarySearchDoneMessage, 0x400 + 0x131);
    EXPECT_EQ(kSearchEndOk, 1);
    EXPECT_EQ(kSearchEndCancel, 2);
}

}  // namespace
}  // namespace lanterna
