// CMailNotifyDialog, CNotifyEventDialog and their file variants: the port box's correction, the
// checks with message and focus, the state rule, OFF, Cancel putting back event sets, and the
// file variants storing only after every check passed.
#include <functional>

#include "SettingsTestSupport.h"
#include "dialogs/MailNotifyDialog.h"
#include "dialogs/NotifyEventDialog.h"

namespace settingstest {
namespace {

using lanterna::kStateChanged;
using lanterna::kStateRead;
using lanterna::kStateUnchanged;
using lanterna::TextOf;
using lanterna::dialogs::CMailNotifyDialog;
using lanterna::dialogs::CMailNotifyFileDialog;
using lanterna::dialogs::CNotifyEventDialog;
using Mail = CMailNotifyDialog;

constexpr int kEventTemplate = 137;
constexpr int kLampReplacementBox = 1028;
constexpr int kAirFilterBox = 1030;  // hidden
constexpr int kLampOffBox = 1029;
constexpr int kInternalErrorBox = 1033;

// ROOM-201 mailing through 192.168.10.25:25 to one recipient about two lamp events.
ProjectorRecord MailProjector() {
    ProjectorRecord r = ReadProjector();
    r.mailNotify = 1;
    r.smtpServer = {192, 168, 10, 25};
    r.smtpPort = 25;
    lanterna::CopyText(r.mailTo1, "room-201@campus.example.org");
    r.mailEvents1 = 0x041;
    for (std::int32_t* state : {&r.mailNotifyState, &r.smtpServerState, &r.smtpPortState,
                                &r.mailTo1State, &r.mailTo2State, &r.mailTo3State,
                                &r.mailEvents1State, &r.mailEvents2State, &r.mailEvents3State}) {
        *state = kStateRead;
    }
    return r;
}

struct MailForm {
    const char* server = "192.168.10.25";
    const char* port = "25";
    const char* to1 = "room-201@campus.example.org";
    const char* to2 = "";
    const char* to3 = "";
};

// "ON", the form, OK; a dialog left open reports its focus and is cancelled.
int RunOk(Mail& dialog, const MailForm& form, Focus* focus = nullptr,
          const std::function<void()>& whileOpen = {}) {
    return ui::test::RunModal(dialog, [&](ui::CDialog& d) {
        d.ClickButton(Mail::kNotifyOn);
        Type(d, Mail::kServerControl, form.server);
        Type(d, Mail::kPortEdit, form.port);
        Type(d, Mail::kMailTo1Edit, form.to1);
        Type(d, Mail::kMailTo2Edit, form.to2);
        Type(d, Mail::kMailTo3Edit, form.to3);
        d.ClickButton(ui::IDOK);
        if (d.isVisible()) {
            if (focus != nullptr) {
                *focus = FocusOf(d);
            }
            if (whileOpen) {
                whileOpen();
            }
            d.ClickButton(ui::IDCANCEL);
        }
    });
}

// ---- the mail notification dialog ---------------------------------------------------------

// The port box corrects every change; "ON" enables the entries and empties an unset port.
TEST_F(DialogTest, MailPortBoxAndEnabling) {
    const struct {
        const char* typed;
        const char* shown;
    } cases[] = {{"0", "1"},      {"000", "1"}, {"65536", "65535"}, {"99999", "65535"},
                 {"-1", "65535"}, {"25", "25"}, {"65535", "65535"}, {"", ""}};
    ProjectorRecord record = ReadProjector();  // notification off, port 0
    Mail dialog(&record);
    ASSERT_TRUE(dialog.Create());
    for (const auto& c : cases) {
        Type(dialog, Mail::kPortEdit, c.typed);
        EXPECT_EQ(dialog.GetDlgItemText(Mail::kPortEdit), c.shown) << c.typed;
    }
    EXPECT_FALSE(dialog.IsDlgItemEnabled(Mail::kEvents2Button));
    Type(dialog, Mail::kPortEdit, "2525");
    dialog.ClickButton(Mail::kNotifyOn);
    EXPECT_TRUE(dialog.IsDlgItemEnabled(Mail::kEvents2Button));
    EXPECT_EQ(dialog.GetDlgItemText(Mail::kPortEdit), "");
    dialog.ClickButton(Mail::kNotifyOff);
    EXPECT_FALSE(dialog.IsDlgItemEnabled(Mail::kServerControl));
}

TEST_F(DialogTest, MailChecksEachEntryWithItsMessageAndFocus) {
    const struct {
        MailForm form;
        int stringId;
        Focus focus;
    } cases[] = {
        {{.server = ""}, 134, {Mail::kServerControl, 0}},
        {{.server = "192.168.10"}, 134, {Mail::kServerControl, 3}},
        {{.server = "127.0.0.1"}, 134, {Mail::kServerControl, 0}},
        {{.server = "224.1.1.1"}, 134, {Mail::kServerControl, 0}},
        {{.port = ""}, 135, {Mail::kPortEdit}},
        {{.to1 = "", .to2 = "hall@example.org", .to3 = "lab@example.org"},
         136,
         {Mail::kMailTo1Edit}},
        {{.to1 = "no-at-sign"}, 136, {Mail::kMailTo1Edit}},
        {{.to2 = "two@example.org;x"}, 136, {Mail::kMailTo2Edit}},
        {{.to3 = "three @example.org"}, 136, {Mail::kMailTo3Edit}},
    };
    for (const auto& c : cases) {
        ui::test::ClearShownMessages();
        ProjectorRecord record = MailProjector();
        Mail dialog(&record);
        Focus focus;
        RunOk(dialog, c.form, &focus);
        EXPECT_EQ(ShownIds(), std::vector<int>{c.stringId}) << c.form.server << c.form.to1;
        EXPECT_EQ(focus, c.focus) << c.stringId << ": " << focus.control << "/" << focus.field;
    }
}

TEST_F(DialogTest, MailStoresByTheStateRule) {
    const ProjectorRecord reference = MailProjector();
    const struct {
        const char* what;
        MailForm form;
        std::function<void(ProjectorRecord&)> beforeOpen;
        std::function<void(const ProjectorRecord&)> expect;
    } cases[] = {
        {"changed",
         {.port = "587", .to2 = "hall@campus.example.org"},
         {},
         [](const ProjectorRecord& r) {
             EXPECT_EQ(r.smtpPort, 587);
             EXPECT_EQ(r.smtpPortState, kStateChanged);
             EXPECT_EQ(TextOf(r.mailTo2), "hall@campus.example.org");
             EXPECT_EQ(r.mailTo2State, kStateChanged);
             EXPECT_EQ(r.mailNotifyState, kStateUnchanged);
             EXPECT_EQ(r.smtpServerState, kStateUnchanged);
             EXPECT_EQ(r.mailTo1State, kStateUnchanged);
         }},
        {"back to the reference after an earlier run changed it",
         {},
         [](ProjectorRecord& r) {
             r.smtpServer = {10, 1, 1, 1};
             lanterna::CopyText(r.mailTo1, "old@example.org");
         },
         [](const ProjectorRecord& r) {
             EXPECT_EQ(r.smtpServer, (Octets{192, 168, 10, 25}));
             EXPECT_EQ(r.smtpServerState, kStateUnchanged);
             EXPECT_EQ(TextOf(r.mailTo1), "room-201@campus.example.org");
             EXPECT_EQ(r.mailTo1State, kStateUnchanged);
         }},
        {"letter case only",
         {.to1 = "ROOM-201@Campus.Example.org"},
         {},
         [](const ProjectorRecord& r) {
             EXPECT_EQ(TextOf(r.mailTo1), "room-201@campus.example.org");
             EXPECT_EQ(r.mailTo1State, kStateUnchanged);
         }},
    };
    for (const auto& c : cases) {
        ProjectorRecord record = reference;
        if (c.beforeOpen) {
            c.beforeOpen(record);
        }
        Mail dialog(&record);
        dialog.SetReference(reference);
        EXPECT_EQ(RunOk(dialog, c.form), ui::IDOK) << c.what;
        c.expect(record);
    }
    ProjectorRecord off = ReadProjector();
    Mail dialog(&off);
    dialog.SetReference(off);
    RunOk(dialog, {});
    EXPECT_EQ(off.mailNotifyState, kStateChanged) << "turned on against a reference that was off";
}

TEST_F(DialogTest, MailOffStoresTheEntriesUncheckedAndOnlyItsOwnState) {
    ProjectorRecord record = MailProjector();
    Mail dialog(&record);
    dialog.SetReference(record);
    const int code = ui::test::RunModal(dialog, [](ui::CDialog& d) {
        Type(d, Mail::kServerControl, "127.0.0.1");
        Type(d, Mail::kPortEdit, "");
        Type(d, Mail::kMailTo2Edit, "not an address");
        d.ClickButton(Mail::kNotifyOff);
        d.ClickButton(ui::IDOK);
    });
    EXPECT_EQ(code, ui::IDOK);
    EXPECT_TRUE(ShownIds().empty());
    EXPECT_EQ(record.mailNotify, 0);
    EXPECT_EQ(record.mailNotifyState, kStateChanged);
    EXPECT_EQ(record.smtpServer, (Octets{127, 0, 0, 1}));
    EXPECT_EQ(record.smtpPort, 0);
    EXPECT_EQ(TextOf(record.mailTo2), "not an address");
    EXPECT_EQ(record.smtpServerState, kStateRead);
    EXPECT_EQ(record.mailTo2State, kStateRead);
}

TEST_F(DialogTest, MailCancelPutsBackWhatItsEventDialogsAndARefusedOkStored) {
    ProjectorRecord record = MailProjector();
    Mail dialog(&record);
    dialog.SetReference(record);
    std::uint32_t whileOpen = 0;
    RunOk(dialog, {.port = "8025", .to1 = ""}, nullptr, [&] {
        ui::test::ScriptNextDialog(kEventTemplate, [](ui::CDialog& events) {
            events.ClickButton(kInternalErrorBox);
            events.ClickButton(ui::IDOK);
        });
        dialog.ClickButton(Mail::kEvents2Button);
        whileOpen = record.mailEvents2;
    });
    EXPECT_EQ(whileOpen, 0x400u);
    EXPECT_EQ(record.mailEvents2, 0u);
    EXPECT_EQ(record.mailEvents2State, kStateChanged) << "state words stay";
    EXPECT_EQ(record.smtpPort, 25) << "stored before the refusal, put back";
}

// ---- the event dialog ---------------------------------------------------------------------

TEST_F(DialogTest, EventBoxesFollowTheBitsAndOkKeepsOnlyTheElevenEvents) {
    ProjectorRecord record = MailProjector();
    record.mailEvents3 = 0x805;  // lamp replacement, air filter, and a bit with no box
    const ProjectorRecord reference = record;
    CNotifyEventDialog dialog(3, &record);
    dialog.referenceEventSets = {reference.mailEvents1, reference.mailEvents2, 0x005};
    const int code = ui::test::RunModal(dialog, [](ui::CDialog& d) {
        EXPECT_EQ(d.IsDlgButtonChecked(kLampReplacementBox), 1);
        EXPECT_EQ(d.IsDlgButtonChecked(kAirFilterBox), 1);
        EXPECT_FALSE(d.IsDlgItemVisible(kAirFilterBox));
        EXPECT_FALSE(d.IsDlgItemEnabled(1039));
        EXPECT_EQ(d.IsDlgButtonChecked(kLampOffBox), 0);
        d.ClickButton(ui::IDOK);
    });
    EXPECT_EQ(code, ui::IDOK);
    EXPECT_EQ(record.mailEvents3, 0x005u);
    EXPECT_EQ(record.mailEvents3State, kStateUnchanged);
    EXPECT_EQ(record.mailEvents1State, kStateRead) << "other recipients untouched";
}

// ---- configuration-file variants ----------------------------------------------------------

TEST_F(DialogTest, MailFileVariantStoresWithStateTwoOnlyWhenEveryCheckPassed) {
    ProjectorRecord fileRecord{};
    CMailNotifyFileDialog dialog;
    dialog.SetRecord(&fileRecord);
    RunOk(dialog, {.to3 = "bad address"});
    EXPECT_EQ(ShownIds(), std::vector<int>{136});
    EXPECT_EQ(fileRecord.mailNotify, 0) << "nothing stored before all passed";
    EXPECT_EQ(fileRecord.smtpPort, 0);

    const int code = ui::test::RunModal(dialog, [](ui::CDialog& d) {
        ui::test::ScriptNextDialog(kEventTemplate, [](ui::CDialog& events) {
            events.ClickButton(kLampOffBox);
            events.ClickButton(ui::IDOK);
        });
        d.ClickButton(Mail::kNotifyOn);
        d.ClickButton(Mail::kEvents1Button);
        ui::test::ScriptNextDialog(kEventTemplate, [](ui::CDialog& events) {
            events.ClickButton(kLampOffBox);
            events.ClickButton(ui::IDCANCEL);
        });
        d.ClickButton(Mail::kEvents3Button);
        Type(d, Mail::kServerControl, "192.168.10.25");
        Type(d, Mail::kPortEdit, "25");
        Type(d, Mail::kMailTo1Edit, "hall-1f@campus.example.org");
        d.ClickButton(ui::IDOK);
    });
    EXPECT_EQ(code, ui::IDOK);
    EXPECT_EQ(fileRecord.mailNotify, 1);
    EXPECT_EQ(fileRecord.smtpServer, (Octets{192, 168, 10, 25}));
    EXPECT_EQ(fileRecord.mailEvents1, 0x040u) << "copied back on OK";
    EXPECT_EQ(fileRecord.mailEvents3, 0u) << "not on Cancel";
    for (const std::int32_t state :
         {fileRecord.mailNotifyState, fileRecord.smtpServerState, fileRecord.smtpPortState,
          fileRecord.mailTo1State, fileRecord.mailTo3State}) {
        EXPECT_EQ(state, kStateChanged);
    }
    EXPECT_EQ(fileRecord.mailEvents1State, 0) << "event states untouched";
}

}  // namespace
}  // namespace settingstest
