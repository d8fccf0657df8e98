// The mail, SNMP, basic wireless and wireless security dialogs on a projector that reported none of
// their settings, although the record holds values: every switch shows neither choice, every text
// is empty, and OK leaves each setting unread (so the write sends none) unless the user gave an
// entry for it.
#include <functional>
#include <memory>

#include "SettingsTestSupport.h"
#include "dialogs/MailNotifyDialog.h"
#include "dialogs/SnmpDialog.h"
#include "dialogs/WirelessDialog.h"
#include "dialogs/WirelessSecurityDialog.h"
#include "record/CutState.h"

namespace settingstest {
namespace {

using lanterna::dialogs::CMailNotifyDialog;
using lanterna::dialogs::CSnmpDialog;
using lanterna::dialogs::CWirelessDialog;
using lanterna::dialogs::CWirelessSecurityDialog;
using Security = CWirelessSecurityDialog;
using State = std::int32_t ProjectorRecord::*;

// Values nobody read: each one's state word stays 0.
ProjectorRecord RecordWithUnreadValues() {
    ProjectorRecord r = ReadProjector();
    r.mailNotify = 1;
    r.smtpServer = {10, 9, 9, 9};
    r.smtpPort = 2525;
    lanterna::CopyText(r.mailTo1, "ghost@example.org");
    r.trapAddress1State = r.trapAddress2State = r.communityState = 0;  // trap .3, "public"
    lanterna::CopyText(r.essid, "GHOST");
    r.essidSet = r.wepEnabled = r.adhoc = 1;
    lanterna::CopyText(r.wepKey, "abcde");
    r.security = {1, 1, 0, 0};  // WEP, 64-bit keys
    r.wepKeyId = 2;
    lanterna::CopyText(r.wepKey2, "fghij");
    return r;
}

template <class Dialog>
std::unique_ptr<ui::CDialog> Open(ProjectorRecord& record) {
    auto dialog = std::make_unique<Dialog>(&record);
    dialog->SetReference(record);
    return dialog;
}

TEST_F(DialogTest, UnreadSettingsAreShownEmptyAndStayUnreadUnlessGiven) {
    struct Typed {
        int control = 0;
        const char* text = nullptr;
        State state = nullptr;  // becomes 2
    };
    const struct {
        const char* name;
        std::function<std::unique_ptr<ui::CDialog>(ProjectorRecord&)> open;
        std::vector<int> texts;
        std::vector<int> radios;
        Typed typed;
        std::vector<State> unread;
    } cases[] = {
        {"mail",
         Open<CMailNotifyDialog>,
         {CMailNotifyDialog::kServerControl, CMailNotifyDialog::kPortEdit,
          CMailNotifyDialog::kMailTo1Edit},
         {CMailNotifyDialog::kNotifyOn, CMailNotifyDialog::kNotifyOff},
         {},
         {&ProjectorRecord::mailNotifyState, &ProjectorRecord::smtpServerState,
          &ProjectorRecord::smtpPortState, &ProjectorRecord::mailTo1State}},
        {"snmp",
         Open<CSnmpDialog>,
         {CSnmpDialog::kTrapAddress1Control, CSnmpDialog::kCommunityEdit},
         {},
         {},
         {&ProjectorRecord::trapAddress1State, &ProjectorRecord::trapAddress2State,
          &ProjectorRecord::communityState}},
        {"snmp, trap 2 given",
         Open<CSnmpDialog>,
         {},
         {},
         {CSnmpDialog::kTrapAddress2Control, "192.168.10.7", &ProjectorRecord::trapAddress2State},
         {&ProjectorRecord::trapAddress1State, &ProjectorRecord::communityState}},
        {"wireless",
         Open<CWirelessDialog>,
         {CWirelessDialog::kEssidEdit, CWirelessDialog::kWepKeyEdit},
         {CWirelessDialog::kWepOn, CWirelessDialog::kWepOff, CWirelessDialog::kAdhocOn,
          CWirelessDialog::kAdhocOff},
         {},
         {&ProjectorRecord::essidState, &ProjectorRecord::wepEnabledState,
          &ProjectorRecord::wepKeyState, &ProjectorRecord::adhocState}},
        {"wireless, ESSID given",
         Open<CWirelessDialog>,
         {},
         {},
         {CWirelessDialog::kEssidEdit, "HALL", &ProjectorRecord::essidState},
         {&ProjectorRecord::wepEnabledState, &ProjectorRecord::wepKeyState,
          &ProjectorRecord::adhocState}},
        {"wireless security",
         Open<Security>,
         {Security::kEssidEdit, Security::kKeyEdits[0], Security::kKeyEdits[1],
          Security::kKeyEdits[2], Security::kKeyEdits[3]},
         {Security::kWpaPskRadio, Security::kLeapRadio, Security::kWepRadio, Security::kNoneRadio,
          Security::kKeyRadios[0], Security::kKeyRadios[1], Security::kKeyRadios[2],
          Security::kKeyRadios[3], Security::kAdhocOn, Security::kAdhocOff},
         {},
         {&ProjectorRecord::essidState, &ProjectorRecord::securityState,
          &ProjectorRecord::wepKeyIdState, &ProjectorRecord::wepKey1State,
          &ProjectorRecord::wepKey2State, &ProjectorRecord::wepKey3State,
          &ProjectorRecord::wepKey4State, &ProjectorRecord::adhocState}},
        {"wireless security, ESSID given",
         Open<Security>,
         {},
         {},
         {Security::kEssidEdit, "HALL", &ProjectorRecord::essidState},
         {&ProjectorRecord::securityState, &ProjectorRecord::wepKeyIdState,
          &ProjectorRecord::wepKey2State, &ProjectorRecord::adhocState}},
    };
    for (const auto& c : cases) {
        ui::test::ClearShownMessages();
        ProjectorRecord record = RecordWithUnreadValues();
        const std::unique_ptr<ui::CDialog> dialog = c.open(record);
        const int result = ui::test::RunModal(*dialog, [&](ui::CDialog& d) {
            for (const int text : c.texts) {
                const std::string shown = d.GetDlgItemText(text);
                EXPECT_TRUE(shown.empty() || shown == "...")
                    << c.name << " " << text << ": " << shown;
            }
            for (const int radio : c.radios) {
                EXPECT_EQ(d.IsDlgButtonChecked(radio), 0) << c.name << " " << radio;
            }
            if (c.typed.text != nullptr) {
                Type(d, c.typed.control, c.typed.text);
            }
            d.ClickButton(ui::IDOK);
        });
        EXPECT_EQ(result, ui::IDOK) << c.name;
        EXPECT_TRUE(ShownIds().empty()) << c.name;
        for (const State state : c.unread) {
            EXPECT_EQ(record.*state, lanterna::kStateUnknown) << c.name;
        }
        if (c.typed.state != nullptr) {
            EXPECT_EQ(record.*c.typed.state, lanterna::kStateChanged) << c.name;
        }
    }
}

// A value the projector reported longer than its field, left as it was, stays held cut: OK never
// makes it a value to keep or send.
TEST_F(DialogTest, CutValuesLeftAsTheyWereStayCut) {
    ProjectorRecord read = ReadProjector();
    read.mailNotify = 1;
    read.smtpServer = {192, 168, 10, 25};
    read.smtpPort = 25;
    lanterna::CopyText(read.mailTo1, "ops@example.org");
    read.mailNotifyState = read.smtpServerState = read.smtpPortState = lanterna::kStateRead;
    read.mailTo1State = read.communityState = lanterna::kStateCut;
    const struct {
        const char* name;
        std::function<std::unique_ptr<ui::CDialog>(ProjectorRecord&)> open;
        State cut;
    } cases[] = {
        {"mail", Open<CMailNotifyDialog>, &ProjectorRecord::mailTo1State},
        {"snmp", Open<CSnmpDialog>, &ProjectorRecord::communityState},
    };
    for (const auto& c : cases) {
        ProjectorRecord record = read;
        const std::unique_ptr<ui::CDialog> dialog = c.open(record);
        EXPECT_EQ(ui::test::RunModal(*dialog, [](ui::CDialog& d) { d.ClickButton(ui::IDOK); }),
                  ui::IDOK)
            << c.name;
        EXPECT_EQ(record.*c.cut, lanterna::kStateCut) << c.name;
    }
}

}  // namespace
}  // namespace settingstest
