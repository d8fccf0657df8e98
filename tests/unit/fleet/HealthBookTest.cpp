// Which health readings ask for attention in the window, and which readings a round keeps.
#include <gtest/gtest.h>

#include "fleet/HealthBook.h"

namespace {

using lanterna::fleet::CHealthBook;
using lanterna::fleet::HealthOfTarget;
using lanterna::pjlink::HealthRead;
using lanterna::pjlink::LinkError;

HealthRead HealthReadingOf(std::string errors, std::optional<int> hours,
                           LinkError error = LinkError::kNone) {
    HealthRead read;
    read.error = error;
    if (!errors.empty()) {
        lanterna::pjlink::ErrorLevels levels{};
        for (std::size_t i = 0; i < levels.size(); ++i) {
            levels[i] = static_cast<std::uint8_t>(errors[i] - '0');
        }
        read.health.errors = levels;
    }
    if (hours) {
        read.health.lamps = std::vector<lanterna::pjlink::Lamp>{{100, false}, {*hours, true}};
    }
    return read;
}

TEST(NeedsAttention, AnErrorOrALampAtItsLimit) {
    const struct {
        const char* what;
        HealthRead read;
        bool attention;
    } cases[] = {
        {"all fine", HealthReadingOf("000000", 1520), false},
        {"lamp error", HealthReadingOf("020000", 1520), true},
        {"filter error", HealthReadingOf("000020", std::nullopt), true},
        {"warnings only", HealthReadingOf("111111", 1520), false},
        {"a lamp just under", HealthReadingOf("000000", 2999), false},
        {"a lamp at the limit", HealthReadingOf("000000", 3000), true},
        {"the second lamp over", HealthReadingOf("", 3100), true},
        {"nothing reported", HealthReadingOf("", std::nullopt), false},
        {"not read", HealthReadingOf("020000", 5000, LinkError::kTimeout), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lanterna::fleet::NeedsAttention(c.read, 3000), c.attention) << c.what;
    }
}

TEST(HealthBook, KeepsTheLastReadingThatSaysSomething) {
    CHealthBook book;
    EXPECT_EQ(book.Record({{"10.0.0.1", HealthReadingOf("020000", 10)},
                           {"10.0.0.2", HealthReadingOf("", 20)}}),
              2u);
    // A cancelled round and a link held by another say nothing new; a failed link does.
    EXPECT_EQ(book.Record({{"10.0.0.1", HealthReadingOf("", 0, LinkError::kCancelled)},
                           {"10.0.0.2", HealthReadingOf("", 0, LinkError::kBusy)},
                           {"10.0.0.3", HealthReadingOf("", 0, LinkError::kConnectFailed)}}),
              1u);
    ASSERT_NE(book.Find("10.0.0.1"), nullptr);
    EXPECT_TRUE(lanterna::fleet::NeedsAttention(*book.Find("10.0.0.1"), 3000));
    ASSERT_NE(book.Find("10.0.0.2"), nullptr);
    EXPECT_EQ(book.Find("10.0.0.2")->error, LinkError::kNone);
    ASSERT_NE(book.Find("10.0.0.3"), nullptr);
    EXPECT_EQ(book.Find("10.0.0.3")->error, LinkError::kConnectFailed);
    EXPECT_EQ(book.Find("10.0.0.4"), nullptr);
}

}  // namespace
