#include <gtest/gtest.h>

#include <cstring>

#include "tools/lanternactl/RecordJson.h"

namespace lanterna::cli {
namespace {

TEST(RecordJson, RoundTripKeepsEveryFieldButPassword) {
    ProjectorRecord record;
    record.origin = 2;
    CopyText(record.address, "192.168.1.5");
    CopyText(record.password, "secret");
    CopyText(record.projectorName, "ROOM-12");
    record.ipAddress = {192, 168, 1, 5};
    record.smtpPort = 65535;
    record.mailEvents3 = 0x7FF;
    record.security = {1, 2, 4, 1};
    record.imType = 22;
    record.wepKey4State = 3;
    CopyText(record.securityPassword, std::string(64, 'p'));

    const auto json = RecordToJson(record);
    EXPECT_FALSE(json.contains("password"));
    EXPECT_EQ(json["ipAddress"], "192.168.1.5");
    EXPECT_EQ(json["security"], nlohmann::ordered_json::array({1, 2, 4, 1}));
    EXPECT_EQ(json.begin().key(), "origin");

    ProjectorRecord back;
    std::string error;
    ASSERT_TRUE(RecordFromJson(nlohmann::json::parse(json.dump()), back, error)) << error;
    record.password = {};
    EXPECT_TRUE(record == back);
}

TEST(RecordJson, RejectsBadInputWithTheFieldNamed) {
    const char* cases[][2] = {
        {R"({"smtpPort": 70000})", "smtpPort"},
        {R"({"ipAddress": "1.2.3"})", "ipAddress"},
        {R"({"ipAddress": "1.2.3.256"})", "ipAddress"},
        {R"({"ipAddress": " 1.2.3.4"})", "ipAddress"},
        {R"({"projectorName": "ABCDEFGHIJKLMNOP"})", "projectorName"},
        {R"({"dhcp": "1"})", "dhcp"},
        {R"({"security": [1, 2]})", "security"},
        {R"({"bogus": 1})", "bogus"},
        {R"({"password": "x"})", "password"},
        // Numbers and addresses that used to wrap or be cut into something else.
        {R"({"dhcp": 18446744073709551615})", "dhcp"},
        {R"({"mailEvents1": 9223372036854775808})", "mailEvents1"},
        {R"({"ipAddress": "1.2.3.4.5"})", "ipAddress"},
        {R"({"gateway": "1.2.3.4."})", "gateway"},
        {R"({"dns1": "1..2.3"})", "dns1"},
    };
    for (const auto& [text, field] : cases) {
        ProjectorRecord record;
        std::string error;
        EXPECT_FALSE(RecordFromJson(nlohmann::json::parse(text), record, error)) << text;
        EXPECT_NE(error.find(field), std::string::npos) << error;
    }
    ProjectorRecord record;
    std::string error;
    EXPECT_FALSE(RecordFromJson(nlohmann::json::array(), record, error));
    EXPECT_FALSE(RecordFromJsonText(R"({"dhcp": 1)", record, error));
    EXPECT_EQ(error, "not valid JSON");
    EXPECT_FALSE(
        RecordFromJsonText(R"({"mailEvents1": 4294967295, "dhcp": 4294967295})", record, error));
    EXPECT_NE(error.find("dhcp"), std::string::npos) << "above the 32-bit signed field";
}

TEST(RecordJson, AbsentFieldsStayZero) {
    ProjectorRecord record;
    std::string error;
    ASSERT_TRUE(RecordFromJson(nlohmann::json::parse(R"({"dhcp": 1})"), record, error));
    EXPECT_EQ(record.dhcp, 1);
    EXPECT_EQ(record.ipAddress, (Octets{0, 0, 0, 0}));
    EXPECT_TRUE(IsEmptyText(record.projectorName));
}

}  // namespace
}  // namespace lanterna::cli
