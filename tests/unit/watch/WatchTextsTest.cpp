// The watcher's texts from its state: metrics exposition, change words, alerts and their mail,
// journal lines.

#include <gtest/gtest.h>

#include "fleet/RecordFields.h"
#include "watch/Alerts.h"
#include "watch/Metrics.h"
#include "watch/PjlinkProbe.h"
#include "watch/RepositoryBackup.h"
#include "watch/WatchLog.h"

namespace lanterna::watch {
namespace {

bool Has(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

ProjectorWatch Projector(const std::string& address, const std::string& name) {
    ProjectorWatch projector;
    projector.target.address = address;
    projector.name = name;
    return projector;
}

// ---- metrics

TEST(Metrics, LabelsEscapedAndHealthOnlyWhereKnown) {
    WatchStateAll state;
    state.projectors.push_back(Projector("10.1.2.5", "HALL \"1F\"\\\n"));
    state.projectors[0].answered = true;
    state.projectors.push_back(Projector("10.1.2.6", "ROOM-201"));
    state.projectors[1].health.lampHours = 1234;
    state.rounds[0].rounds = 3;
    const std::string text = MetricsText(state);
    EXPECT_TRUE(Has(text, "lanterna_projector_up{address=\"10.1.2.5\",name=\"HALL \\\"1F\\\"\\\\\\n\","
                          "hardware_address=\"\"} 1"))
        << text;
    EXPECT_TRUE(Has(text, "lanterna_projector_up{address=\"10.1.2.6\",name=\"ROOM-201\","
                          "hardware_address=\"\"} 0"));
    EXPECT_TRUE(Has(text, "lanterna_projector_lamp_hours{address=\"10.1.2.6\""));
    EXPECT_FALSE(Has(text, "lanterna_projector_lamp_hours{address=\"10.1.2.5\""));
    EXPECT_TRUE(Has(text, "lanterna_watch_rounds_total{round=\"presence\"} 3"));
}

// ---- change words

TEST(ChangeWords, SettingsInWordsKeysOnlyAsChanged) {
    ProjectorRecord before{};
    ProjectorRecord after{};
    ASSERT_EQ(fleet::ApplyAssignments({{"community", "public"}}, before).messageId, 0);
    ASSERT_EQ(fleet::ApplyAssignments({{"community", "ops1"}}, after).messageId, 0);
    EXPECT_EQ(ChangeWords(before, after), (std::vector<std::string>{"community public → ops1"}));
    EXPECT_TRUE(ChangeWords(after, after).empty());
}

// ---- alerts

TEST(Alerts, SilentOnlyAfterGraceOnceThenBack) {
    ProjectorWatch projector = Projector("10.1.2.5", "ROOM-201");
    const Clock::time_point start{std::chrono::hours(1000)};
    projector.silentSince = start;
    std::vector<AlertEvent> events;
    PresenceAlerts(projector, start + std::chrono::seconds(59), 60, events);
    EXPECT_TRUE(events.empty());
    PresenceAlerts(projector, start + std::chrono::seconds(60), 60, events);
    ASSERT_EQ(events.size(), 1u);
    PresenceAlerts(projector, start + std::chrono::seconds(120), 60, events);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, AlertKind::kSilent);
    projector.answered = true;
    PresenceAlerts(projector, start + std::chrono::seconds(180), 60, events);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].kind, AlertKind::kBack);
}

TEST(Alerts, NewErrorBitsAndLampThresholdOnce) {
    ProjectorWatch projector = Projector("10.1.2.5", "ROOM-201");
    std::vector<AlertEvent> events;
    HealthAlerts(projector, {1, 2999, 0b01}, 3000, events);
    HealthAlerts(projector, {1, 3000, 0b01}, 3000, events);
    HealthAlerts(projector, {1, 3001, 0b11}, 3000, events);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].kind, AlertKind::kNewError);
    EXPECT_EQ(events[1].kind, AlertKind::kLamp);
    EXPECT_EQ(events[2].kind, AlertKind::kNewError);
}

// ERST levels as flags: a part getting worse sets a new bit, one getting better none.
struct FlagsCase {
    pjlink::ErrorLevels before;
    pjlink::ErrorLevels after;
    bool told;
    const char* words;
};

class ErrorFlags : public ::testing::TestWithParam<FlagsCase> {};

TEST_P(ErrorFlags, NewErrorOnlyWhenWorse) {
    ProjectorWatch projector = Projector("10.1.2.5", "ROOM-201");
    std::vector<AlertEvent> events;
    HealthAlerts(projector, {1, 100, ErrorFlagsOf(GetParam().before)}, 0, events);
    events.clear();
    HealthAlerts(projector, {1, 100, ErrorFlagsOf(GetParam().after)}, 0, events);
    ASSERT_EQ(events.size(), GetParam().told ? 1u : 0u);
    if (GetParam().told) {
        EXPECT_EQ(events[0].detail, GetParam().words);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ErrorFlags,
    ::testing::Values(FlagsCase{{0, 0, 0, 0, 0, 0}, {0, 2, 0, 0, 0, 0}, true, "lamp=error"},
                      FlagsCase{{0, 1, 0, 0, 0, 0}, {0, 2, 0, 0, 0, 0}, true, "lamp=error"},
                      FlagsCase{{0, 2, 0, 0, 0, 0}, {0, 1, 0, 0, 0, 0}, false, ""},
                      FlagsCase{{0, 2, 0, 0, 0, 0}, {0, 2, 0, 0, 0, 0}, false, ""},
                      FlagsCase{{0, 2, 0, 0, 0, 0}, {1, 2, 0, 0, 1, 0}, true,
                                "fan=warning lamp=error filter=warning"},
                      FlagsCase{{2, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 1}, true, "other=warning"}));

TEST(Alerts, AnErrorIsNotToldAgainAfterRoundsWithoutAReading) {
    ProjectorWatch projector = Projector("10.1.2.5", "ROOM-201");
    std::vector<AlertEvent> events;
    const std::uint32_t lampError = ErrorFlagsOf({0, 2, 0, 0, 0, 0});
    HealthAlerts(projector, {1, 100, lampError}, 0, events);
    projector.health = {};  // a round that gave no reading
    HealthAlerts(projector, {1, 100, lampError}, 0, events);
    EXPECT_EQ(events.size(), 1u);
    HealthAlerts(projector, {1, 100, 0}, 0, events);
    HealthAlerts(projector, {1, 100, lampError}, 0, events);
    EXPECT_EQ(events.size(), 2u);
}

TEST(Alerts, TemplateDriftToldOnceUntilItChanges) {
    ProjectorWatch projector = Projector("10.1.2.5", "ROOM-201");
    std::vector<AlertEvent> events;
    TemplateAlerts(projector, "community ops1 → public", "site.ini", events);
    TemplateAlerts(projector, "community ops1 → public", "site.ini", events);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, AlertKind::kTemplateDrift);
    TemplateAlerts(projector, "", "site.ini", events);
    TemplateAlerts(projector, "community ops1 → public", "site.ini", events);
    EXPECT_EQ(events.size(), 2u);
}

TEST(AlertMail, OneMailGroupingEventsHeadersOnOneLine) {
    MailConfig mail;
    mail.from = "watch@example.org";
    mail.to = {"ops@example.org", "av@example.org"};
    const std::vector<AlertEvent> events = {
        {AlertKind::kSilent, "ROOM-201", "10.1.2.5", "2026-12-08 10:00 UTC", ""},
        {AlertKind::kDrift, "HALL-1F", "10.1.2.6", "community public → ops1", ""}};
    const MailMessage message = AlertMail(events, mail, "av-server\r\nBcc: x@y");
    EXPECT_EQ(message.subject, "Lanterna watch on av-server\r\nBcc: x@y: 2 alerts");
    EXPECT_TRUE(Has(message.body, "ROOM-201 (10.1.2.5): not answering since 2026-12-08"));
    EXPECT_TRUE(Has(message.body, "community public → ops1"));
    const std::string text = message.Text(Clock::time_point{});
    EXPECT_TRUE(Has(text, "To: ops@example.org, av@example.org\r\n"));
    const std::string headers = text.substr(0, text.find("\r\n\r\n"));
    EXPECT_FALSE(Has(headers, "Bcc"));
}

// ---- journal lines

TEST(JournalLine, PriorityPrefixAndOneLine) {
    EXPECT_EQ(JournalLine(Priority::kWarning, "ROOM-201\ndoes not answer"),
              "<4>ROOM-201?does not answer\n");
}

}  // namespace
}  // namespace lanterna::watch
