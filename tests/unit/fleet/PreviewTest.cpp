// A dry run's results told in settings (the preview the window and lanternactl share), and the
// labels the settings dialogs give the fields.

#include <gtest/gtest.h>

#include <set>

#include "fleet/AuditFindings.h"
#include "fleet/FieldLabels.h"
#include "fleet/WritePreview.h"
#include "resources/StringTable.h"

namespace lanterna::fleet {
namespace {

TEST(WritePreview, ChangesLeftOutLeftAloneAndTheModuleRestart) {
    WriteResult planned;
    planned.outcome = Outcome::kWouldSend;
    planned.reported.dns1 = {10, 0, 0, 5};
    planned.reported.dns1State = kStateRead;
    CopyText(planned.reported.community, "public");
    planned.reported.communityState = kStateRead;
    planned.record = planned.reported;
    planned.record.dns1 = {10, 0, 0, 53};
    CopyText(planned.record.community, "ops1");
    planned.changed = {"dns1", "community", "smtpServer"};
    planned.leftOut = {{"smtpServer", NotSentReason::kMailOff}};
    planned.leftAlone = {{"projectorName", LeftAloneReason::kOwnIdentity}};
    planned.lines = {"NWDNS 10.0.0.53 0.0.0.0", "NWCNAME ops1", "NWRESET"};

    WriteResult whole = planned;  // a file applied whole: nothing changed by name
    whole.changed.clear();
    whole.record.writeAll = 1;
    whole.lines.pop_back();

    WriteResult unreachable = planned;
    unreachable.outcome = Outcome::kNotAnswering;

    const struct {
        const WriteResult& result;
        std::vector<SettingChange> changes;
        bool restarts;
    } cases[] = {
        {planned, {{"dns1", "10.0.0.5", "10.0.0.53"}, {"community", "public", "ops1"}}, true},
        {whole, {{"dns1", "10.0.0.5", "10.0.0.53"}, {"community", "public", "ops1"}}, false},
        {unreachable, {}, false},
    };
    for (const auto& c : cases) {
        const TargetPreview preview = PreviewOf(c.result);
        EXPECT_EQ(preview.changes, c.changes);
        EXPECT_EQ(preview.moduleRestarts, c.restarts);
        EXPECT_EQ(preview.notSent, c.result.leftOut);
        ASSERT_EQ(preview.leftAlone.size(), 1U);
        EXPECT_EQ(preview.leftAlone[0].second, std::vector<std::string>{"projectorName"});
    }
}

TEST(FieldLabels, EveryFieldHasALabelOfItsOwn) {
    std::set<int> ids;
    for (const RecordFieldInfo& field : RecordFieldList()) {
        const int id = FieldLabelId(field.name);
        EXPECT_NE(id, 0) << field.name;
        ids.insert(id);
    }
    EXPECT_EQ(ids.size(), RecordFieldList().size());
    EXPECT_EQ(LoadString(FieldLabelId("dns1"), Language::English), "Preferred DNS server");
    EXPECT_EQ(FieldLabelId("colour"), 0);
    for (const FindingKind* kind : AllFindingKinds()) {
        EXPECT_NE(FindingTitleId(*kind), 0) << kind->id;
    }
}

}  // namespace
}  // namespace lanterna::fleet
