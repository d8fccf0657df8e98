#include <gtest/gtest.h>

#include <cstring>

#include "record/DottedAddress.h"
#include "record/ProjectorList.h"
#include "record/ProjectorRecord.h"

namespace lanterna {
namespace {

// ---- fixed texts ----------------------------------------------------------------------------

TEST(FixedText, CutsToFieldAndKeepsTerminator) {
    FixedText<16> name{};
    CopyText(name, "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(TextOf(name), "ABCDEFGHIJKLMNO");
    EXPECT_EQ(name[15], '\0');

    CopyText(name, "AB");
    EXPECT_EQ(TextOf(name), "AB");
    for (std::size_t i = 2; i < name.size(); ++i) {
        EXPECT_EQ(name[i], '\0') << "byte " << i << " not zero-filled";
    }
}

TEST(FixedText, HonoursExplicitLimit) {
    FixedText<1024> value{};
    CopyText(value, "0123456789", 4);
    EXPECT_EQ(TextOf(value), "0123");
}

// ---- dotted addresses -------------------------------------------------------------------------

TEST(DottedAddress, ScansLikeTheFormattedReader) {
    std::array<int, 4> n{9, 9, 9, 9};
    EXPECT_EQ(ScanDotted("192.168.1.5", n), 4);
    EXPECT_EQ(n, (std::array<int, 4>{192, 168, 1, 5}));

    n = {9, 9, 9, 9};
    EXPECT_EQ(ScanDotted("10.1", n), 2);
    EXPECT_EQ(n, (std::array<int, 4>{10, 1, 9, 9}));

    EXPECT_EQ(ScanDotted("", n), 0);
    EXPECT_EQ(ScanDotted("abc", n), 0);
    EXPECT_EQ(ScanDotted(" 1. -2.+3.4x", n), 4);
    EXPECT_EQ(n, (std::array<int, 4>{1, -2, 3, 4}));
    EXPECT_EQ(ScanDotted("1..2", n), 1);
    EXPECT_EQ(ScanDotted("99999999999999999999.1.1.1", n), 4);
}

TEST(DottedAddress, StoresLowEightBitsAndLeavesUnreadOctets) {
    Octets octets{7, 7, 7, 7};
    EXPECT_EQ(ScanDottedInto("300.1", octets), 2);
    EXPECT_EQ(octets, (Octets{44, 1, 7, 7}));
    EXPECT_EQ(FormatDotted({255, 0, 10, 1}), "255.0.10.1");
    EXPECT_EQ(ToHostOrder({192, 168, 1, 5}), 0xC0A80105u);
    EXPECT_EQ(FromHostOrder(0xC0A80105u), (Octets{192, 168, 1, 5}));
}

// ---- record -----------------------------------------------------------------------------------

TEST(ProjectorRecord, CreatedZeroFilled) {
    const ProjectorRecord record;
    ProjectorRecord zero;
    std::memset(static_cast<void*>(&zero), 0, sizeof zero);
    EXPECT_TRUE(record == zero);
}

TEST(ProjectorRecord, CopySettingsKeepsIdentityOfTarget) {
    ProjectorRecord file;
    CopyText(file.projectorName, "FROMFILE");
    CopyText(file.macAddress, "AAAAAAAAAAAA");
    CopyText(file.password, "filepw");
    CopyText(file.address, "10.0.0.9");
    file.origin = kOriginSearch;
    file.wirelessActive = 1;
    file.dhcp = 1;
    file.writeAll = 1;

    ProjectorRecord target;
    CopyText(target.macAddress, "00AABBCCDDEE");
    CopyText(target.password, "secret");
    CopyText(target.address, "192.168.1.5");
    target.origin = kOriginImport;

    CopySettings(file, target);
    EXPECT_EQ(TextOf(target.projectorName), "FROMFILE");
    EXPECT_EQ(target.dhcp, 1);
    EXPECT_EQ(target.writeAll, 1);
    EXPECT_EQ(TextOf(target.macAddress), "00AABBCCDDEE");
    EXPECT_EQ(TextOf(target.password), "secret");
    EXPECT_EQ(TextOf(target.address), "192.168.1.5");
    EXPECT_EQ(target.origin, kOriginImport);
    EXPECT_EQ(target.wirelessActive, 0);
}

TEST(ProjectorRecord, WepKeyCodes) {
    ProjectorRecord record;
    record.security = {1, 1, 0, 0};
    EXPECT_TRUE(UsesWepKeys(record));
    record.security = {1, 2, 0, 0};
    EXPECT_TRUE(UsesWepKeys(record));
    record.security = {2, 0, 1, 0};
    EXPECT_FALSE(UsesWepKeys(record));
}

// ---- list -------------------------------------------------------------------------------------

TEST(ProjectorList, AppendRemoveKeepsOrder) {
    ProjectorList list;
    for (int i = 0; i < 3; ++i) {
        ProjectorRecord record;
        record.imType = static_cast<std::uint8_t>(i);
        EXPECT_EQ(list.Append(record), static_cast<std::size_t>(i));
    }
    EXPECT_TRUE(list.RemoveAt(1));
    EXPECT_FALSE(list.RemoveAt(5));
    ASSERT_EQ(list.Size(), 2u);
    EXPECT_EQ(list.At(1)->imType, 2);
    EXPECT_EQ(list.At(-1), nullptr);
    EXPECT_EQ(list.At(2), nullptr);
    list.Truncate(1);
    EXPECT_EQ(list.Size(), 1u);
    list.Clear();
    EXPECT_TRUE(list.Empty());
}

}  // namespace
}  // namespace lanterna
