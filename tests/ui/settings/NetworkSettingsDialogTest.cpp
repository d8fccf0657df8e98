// CNetworkSettingsDialog without a projector: what it shows, the checks in order with message and
// focus, the state words after OK, the markers, Save and Cancel. The write on OK finds no open
// link here, so it fails at once (string 132) and the dialog ends with 2.
#include <cstring>
#include <functional>

#include "SettingsTestSupport.h"
#include "dialogs/NetworkSettingsDialog.h"
#include "settings/SettingsFile.h"

namespace settingstest {
namespace {

using lanterna::kStateChanged;
using lanterna::kStateRead;
using lanterna::kStateUnchanged;
using Dialog = lanterna::dialogs::CNetworkSettingsDialog;
using Edit = std::function<void(ui::CDialog&)>;

Edit Set(int id, const char* text) {
    return [=](ui::CDialog& d) { Type(d, id, text); };
}

// Runs the dialog: `edit`, a click on `button`, then `after` while it may still be open.
int RunAndClick(Dialog& dialog, const Edit& edit, int button, const Edit& after = {}) {
    return ui::test::RunModal(dialog, [&](ui::CDialog& d) {
        edit(d);
        d.ClickButton(button);
        if (after) {
            after(d);
        }
        if (d.isVisible()) {
            d.ClickButton(ui::IDCANCEL);
        }
    });
}

TEST_F(DialogTest, ShowsTheRecordAndEnablesRowsByDhcpAndWhatWasReported) {
    ProjectorRecord record = ReadProjector();
    record.dns2State = 0;
    record.primaryInterfaceState = 0;
    SettingsBench bench(record);
    Dialog dialog(*bench.state);
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(dialog.GetDlgItemText(Dialog::kMacValue), "00:a0:b0:c0:d0:65");
    EXPECT_EQ(dialog.IsDlgButtonChecked(Dialog::kDhcpOff), 1);
    EXPECT_EQ(dialog.GetDlgItemText(Dialog::kGatewayControl), "192.168.10.1");
    EXPECT_EQ(dialog.GetDlgItemText(Dialog::kDns2Control), "...") << "state 0: not shown";
    EXPECT_EQ(dialog.GetDlgItemText(Dialog::kWins2Control), "...") << "0.0.0.0: blank";
    EXPECT_FALSE(dialog.IsDlgItemEnabled(Dialog::kDns2Control));
    EXPECT_FALSE(dialog.IsDlgItemEnabled(Dialog::kWirelessButton)) << "wired projector";
    EXPECT_FALSE(dialog.IsDlgItemVisible(Dialog::kPrimaryWired));
    EXPECT_TRUE(dialog.IsDlgItemVisible(Dialog::kNameMarker));
    EXPECT_TRUE(dialog.backupRecord == bench.Record());
    dialog.ClickButton(Dialog::kDhcpOn);
    EXPECT_FALSE(dialog.IsDlgItemEnabled(Dialog::kIpAddressControl));
    EXPECT_FALSE(dialog.IsDlgItemEnabled(Dialog::kWins1Control));
    dialog.ClickButton(Dialog::kDhcpOff);
    EXPECT_TRUE(dialog.IsDlgItemEnabled(Dialog::kWins1Control));
    EXPECT_FALSE(dialog.IsDlgItemEnabled(Dialog::kDns2Control));
}

TEST_F(DialogTest, OkChecksInScreenOrderAndStopsAtTheFirstRefusal) {
    const struct {
        Edit edit;
        int stringId;
        Focus focus;
    } cases[] = {
        {Set(Dialog::kNameEdit, "2024"), 139, {Dialog::kNameEdit}},
        {Set(Dialog::kIpAddressControl, "192.168"), 129, {Dialog::kIpAddressControl, 2}},
        {Set(Dialog::kIpAddressControl, "192.168.10.99"), 129, {Dialog::kIpAddressControl, 0}},
        {Set(Dialog::kSubnetMaskControl, "255.0.255.0"), 140, {Dialog::kSubnetMaskControl, 0}},
        {Set(Dialog::kSubnetMaskControl, "0.0.0.0"), 140, {Dialog::kSubnetMaskControl, 0}},
        {Set(Dialog::kIpAddressControl, "192.168.10.0"), 129, {Dialog::kIpAddressControl, 0}},
        {Set(Dialog::kGatewayControl, "192.168"), 141, {Dialog::kGatewayControl, 2}},
        {Set(Dialog::kDns1Control, "192.168.10"), 142, {Dialog::kDns1Control, 3}},
        {Set(Dialog::kDomainEdit, "my_campus"), 143, {Dialog::kDomainEdit}},
        {Set(Dialog::kWins2Control, "240.0.0.1"), 144, {Dialog::kWins2Control, 0}},
        {[](ui::CDialog& d) {
             Type(d, Dialog::kIpAddressControl, "");
             Type(d, Dialog::kNameEdit, "");
         },
         139,
         {Dialog::kNameEdit}},
    };
    for (const auto& c : cases) {
        ui::test::ClearShownMessages();
        SettingsBench bench;
        const ProjectorRecord before = bench.Record();
        Dialog dialog(*bench.state);
        Focus focus;
        RunAndClick(dialog, c.edit, ui::IDOK, [&](ui::CDialog& d) { focus = FocusOf(d); });
        EXPECT_EQ(ShownIds(), std::vector<int>{c.stringId});
        EXPECT_EQ(focus, c.focus) << c.stringId << ": " << focus.control << "/" << focus.field;
        EXPECT_TRUE(before == bench.Record()) << c.stringId;
    }
}

TEST_F(DialogTest, OkMarksCheckedEntriesChangedOrUnchangedAgainstTheReadValues) {
    const struct {
        const char* what;
        bool dhcpAtOpen;
        bool serversReported;
        Edit edit;
        std::function<void(const ProjectorRecord&)> expect;
    } cases[] = {
        {"changed address", false, true, Set(Dialog::kIpAddressControl, "192.168.10.30"),
         [](const ProjectorRecord& r) {
             EXPECT_EQ(r.ipAddressState, kStateChanged);
             EXPECT_EQ(r.ipAddress, (Octets{192, 168, 10, 30}));
             for (const int state : {r.subnetMaskState, r.projectorNameState, r.dhcpState,
                                     r.dns1State, r.dnsDomainState, r.primaryInterfaceState}) {
                 EXPECT_EQ(state, kStateUnchanged);
             }
         }},
        {"letter case only", false, true, Set(Dialog::kNameEdit, "room-201"),
         [](const ProjectorRecord& r) {
             EXPECT_EQ(r.projectorNameState, kStateUnchanged);
             EXPECT_EQ(lanterna::TextOf(r.projectorName), "ROOM-201");
         }},
        {"DHCP on leaves the addresses alone", false, true,
         [](ui::CDialog& d) {
             d.ClickButton(Dialog::kDhcpOn);
             Type(d, Dialog::kGatewayControl, "1.2");
         },
         [](const ProjectorRecord& r) {
             EXPECT_EQ(r.dhcp, 1);
             EXPECT_EQ(r.dhcpState, kStateChanged);
             EXPECT_EQ(r.gateway, (Octets{192, 168, 10, 1}));
             EXPECT_EQ(r.gatewayState, kStateRead);
             EXPECT_EQ(r.dns1State, kStateRead);
         }},
        {"DHCP off with an address", true, true,
         [](ui::CDialog& d) {
             d.ClickButton(Dialog::kDhcpOff);
             Type(d, Dialog::kIpAddressControl, "192.168.10.21");
             Type(d, Dialog::kSubnetMaskControl, "255.255.255.0");
         },
         [](const ProjectorRecord& r) {
             EXPECT_EQ(r.dhcp, 0);
             EXPECT_EQ(r.dhcpState, kStateChanged);
             EXPECT_EQ(r.ipAddressState, kStateUnchanged);
             EXPECT_EQ(r.gatewayState, kStateChanged) << "blank: no gateway";
         }},
        {"servers never reported are skipped", false, false,
         [](ui::CDialog& d) {
             Type(d, Dialog::kDns1Control, "127.0.0.1");
             Type(d, Dialog::kDomainEdit, "bad_domain");
         },
         [](const ProjectorRecord& r) {
             EXPECT_EQ(r.dns1State, 0);
             EXPECT_EQ(r.dnsDomainState, 0);
             EXPECT_EQ(lanterna::TextOf(r.dnsDomain), "campus.example.org");
         }},
    };
    for (const auto& c : cases) {
        ui::test::ClearShownMessages();
        ProjectorRecord record = ReadProjector();
        record.dhcp = c.dhcpAtOpen ? 1 : 0;
        if (!c.serversReported) {
            record.dns1State = record.dns2State = record.dnsDomainState = 0;
            record.wins1State = record.wins2State = 0;
        }
        SettingsBench bench(record);
        Dialog dialog(*bench.state);
        const Edit edit = [&](ui::CDialog& d) {
            c.edit(d);
            ui::test::ScriptNextDialog(133, [](ui::CDialog&) {});
        };
        EXPECT_EQ(RunAndClick(dialog, edit, ui::IDOK), ui::IDCANCEL) << c.what;
        EXPECT_EQ(ShownIds(), std::vector<int>{132}) << c.what;
        c.expect(bench.Record());
    }
}

TEST_F(DialogTest, MarkersFollowEditsAgainstTheReadValuesAndCycleWhenClicked) {
    SettingsBench bench;
    Dialog dialog(*bench.state);
    ASSERT_TRUE(dialog.Create());
    const struct {
        Edit edit;
        int marker;
        int expected;
    } steps[] = {
        {Set(Dialog::kNameEdit, "ROOM-202"), Dialog::kNameMarker, 2},
        {Set(Dialog::kNameEdit, "room-201"), Dialog::kNameMarker, 0},
        {[](ui::CDialog& d) { d.ClickButton(Dialog::kDhcpOn); }, Dialog::kDhcpMarker, 2},
        {[](ui::CDialog& d) { d.ClickButton(Dialog::kDhcpOff); }, Dialog::kDhcpMarker, 0},
        {[](ui::CDialog& d) { d.IpAddress(Dialog::kGatewayControl)->SetFieldText(3, "254"); },
         Dialog::kGatewayMarker, 2},
        {[](ui::CDialog& d) { d.IpAddress(Dialog::kGatewayControl)->SetFieldText(3, "1"); },
         Dialog::kGatewayMarker, 0},
        {Set(Dialog::kWins2Control, "192.168.10.6"), Dialog::kWins2Marker, 2},
        {[](ui::CDialog& d) { d.ClickButton(Dialog::kWins2Marker); }, Dialog::kWins2Marker, 1},
        {[](ui::CDialog& d) { d.ClickButton(Dialog::kWins2Marker); }, Dialog::kWins2Marker, 0},
        {[](ui::CDialog& d) { d.ClickButton(Dialog::kWins2Marker); }, Dialog::kWins2Marker, 2},
    };
    for (std::size_t step = 0; step < std::size(steps); ++step) {
        steps[step].edit(dialog);
        EXPECT_EQ(dialog.IsDlgButtonChecked(steps[step].marker), steps[step].expected) << step;
    }
}

TEST_F(DialogTest, SaveChecksStoresTheEntriesAndWritesTheChosenFileWhileStayingOpen) {
    SettingsBench bench;
    CScratchFolder folder;
    CQueuedChooser chooser;
    chooser.answers = {folder.Path("room.ini")};
    Dialog dialog(*bench.state);
    dialog.SetSaveFileChooser(chooser.Function());
    bool open = false;
    RunAndClick(
        dialog,
        [](ui::CDialog& d) {
            Type(d, Dialog::kIpAddressControl, "192.168.10.99");
            d.ClickButton(Dialog::kSaveButton);  // another projector's address: 129, no file
            Type(d, Dialog::kIpAddressControl, "192.168.10.21");
            Type(d, Dialog::kNameEdit, "LAB-WL1");
        },
        Dialog::kSaveButton, [&](ui::CDialog& d) { open = d.isVisible(); });
    EXPECT_TRUE(open);
    EXPECT_EQ(ShownIds(), std::vector<int>{129});
    ASSERT_EQ(chooser.requests.size(), 1u);
    EXPECT_EQ(chooser.requests[0].titleId, 107);
    EXPECT_EQ(chooser.requests[0].filterId, 108);
    EXPECT_EQ(chooser.requests[0].fileName, "LAB-WL1");
    EXPECT_EQ(chooser.requests[0].defaultExtension, "ini");
    EXPECT_EQ(chooser.requests[0].folder, lanterna::dialogs::HomeFolder());
    ProjectorRecord saved{};
    ASSERT_EQ(lanterna::ReadSettingsFile(saved, folder.Path("room.ini")), 1);
    EXPECT_EQ(lanterna::TextOf(saved.projectorName), "LAB-WL1");
    EXPECT_EQ(saved.dns2, (Octets{192, 168, 10, 6}));
}

TEST_F(DialogTest, CancelRestoresTheRecordWithTheSnmpDialogsChanges) {
    SettingsBench bench;
    const ProjectorRecord before = bench.Record();
    Dialog dialog(*bench.state);
    ProjectorRecord afterSnmp{};
    RunAndClick(
        dialog,
        [&](ui::CDialog&) {
            ui::test::ScriptNextDialog(136, [](ui::CDialog& snmp) {
                Type(snmp, 1009, "192.168.10.40");
                snmp.ClickButton(ui::IDOK);
            });
        },
        Dialog::kSnmpButton,
        [&](ui::CDialog& d) {
            afterSnmp = bench.Record();
            Type(d, Dialog::kNameEdit, "LAB-WL1");
        });
    EXPECT_EQ(afterSnmp.trapAddress1, (Octets{192, 168, 10, 40}));
    EXPECT_EQ(afterSnmp.trapAddress1State, kStateChanged);
    EXPECT_TRUE(before == bench.Record());
}

}  // namespace
}  // namespace settingstest
