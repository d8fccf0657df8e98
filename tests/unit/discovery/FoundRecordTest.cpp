#include <gtest/gtest.h>

#include "discovery/FoundRecord.h"

namespace lanterna {
namespace {

TEST(FoundRecord, FieldsOfASearchEntry) {
    const ProjectorRecord record = MakeFoundRecord("ROOM-12", "10.20.30.40", 22);
    EXPECT_EQ(record.origin, kOriginSearch);
    EXPECT_EQ(TextOf(record.projectorName), "ROOM-12");
    EXPECT_EQ(TextOf(record.address), "10.20.30.40");
    EXPECT_EQ(record.ipAddress, (Octets{10, 20, 30, 40}));
    EXPECT_EQ(record.imType, 22);
    EXPECT_EQ(TextOf(record.password), "");
    EXPECT_EQ(record.dhcp, 0);
}

TEST(FoundRecord, NameIsCutToFifteenBytesBetweenCharacters) {
    EXPECT_EQ(TextOf(MakeFoundRecord(std::string(40, 'N'), "10.0.0.1", 0).projectorName),
              std::string(15, 'N'));
    // Five Hangul syllables are 15 bytes; six would be 18.
    std::string hangul;
    for (int i = 0; i < 6; ++i) {
        hangul += "\xEA\xB0\x80";
    }
    EXPECT_EQ(TextOf(MakeFoundRecord("A" + hangul, "10.0.0.1", 0).projectorName).size(), 13U)
        << "'A' and four whole syllables";
}

TEST(FoundRecord, AddressIsReadAsScanfReadsIt) {
    const ProjectorRecord partial = MakeFoundRecord("A", "10.1", 0);
    EXPECT_EQ(partial.ipAddress, (Octets{10, 1, 0, 0}));
    const ProjectorRecord wrapped = MakeFoundRecord("A", "300.1.2.3", 0);
    EXPECT_EQ(wrapped.ipAddress[0], 300 & 0xFF);
}

}  // namespace
}  // namespace lanterna
