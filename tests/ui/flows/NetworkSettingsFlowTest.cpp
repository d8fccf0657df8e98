// CNetworkSettingsDialog over a real link to a simulated projector: OK writes what changed, the
// settings the projector refuses come back as red lamps, and what the mail and wireless dialogs
// stored goes out line by line.
#include "FlowSupport.h"
#include "app/MessageService.h"
#include "dialogs/NetworkSettingsDialog.h"
#include "dialogs/OperationProgressDialog.h"
#include "tests/support/sim/SessionsEnded.h"
#include "ui/IpAddressControl.h"
#include "workers/Workers.h"

namespace dialogtest {
namespace {

using lanterna::dialogs::CNetworkSettingsDialog;
using Dialog = CNetworkSettingsDialog;
using NetworkSettingsFlow = DialogTest;

// The projector listens on loopback but reports the static set-up of a room's network on the
// interface it uses.
void GiveRoomAddresses(lanterna::sim::SimulatedProjector& projector) {
    auto settings = projector.Settings();
    auto& in = settings.wireless ? settings.wirelessLan : settings.wired;
    in.ipAddress = {192, 168, 10, 21};
    in.subnetMask = {255, 255, 255, 0};
    in.gateway = {192, 168, 10, 1};
    projector.SetSettings(settings);
}

// Closes the link the dialog wrote over and returns the command lines once the projector has
// seen it go: a line sent last, or unasked, is certain to be in them only then.
std::vector<std::string> LogAfterClose(CFlowBench& bench) {
    lanterna::CloseLink(*bench.state);
    EXPECT_TRUE(lanterna::test::WaitUntilSessionsEnd(bench.projector));
    return bench.projector.CommandLog();
}

void Read(lanterna::ApplicationState& state) {
    lanterna::dialogs::COperationProgressDialog read(lanterna::WorkerMode::kRead, state);
    ASSERT_EQ(ui::test::RunModal(read, [](ui::CDialog&) {}), ui::IDOK);
    ASSERT_NE(state.link, nullptr);
}

TEST_F(NetworkSettingsFlow, RefusedAddressAndDnsCommandsTurnTheirLampsRed) {
    CFlowBench bench(ProjectorAt("127.88.3.1"));
    GiveRoomAddresses(bench.projector);
    Read(*bench.state);
    auto faults = bench.projector.Faults();
    faults.refusedCommands = {"NWCNF", "NWDNS"};
    bench.projector.SetFaults(faults);
    bench.projector.ClearCommandLog();

    Dialog dialog(*bench.state);
    const int code = ui::test::RunModal(dialog, [](ui::CDialog& d) {
        d.IpAddress(Dialog::kIpAddressControl)->SetFieldText(3, "77");
        d.SetDlgItemText(Dialog::kDns1Control, "10.0.0.53");
        ui::test::ScriptNextDialog(133, [](ui::CDialog&) {});
        d.ClickButton(ui::IDOK);
    });
    EXPECT_EQ(code, ui::IDCANCEL);
    EXPECT_EQ(ShownIds(), std::vector<int>{132});
    EXPECT_EQ(bench.state->writeErrors, 0x5u);
    for (const int refused :
         {Dialog::kDhcpMarker, Dialog::kIpAddressMarker, Dialog::kSubnetMaskMarker,
          Dialog::kGatewayMarker, Dialog::kDns1Marker, Dialog::kDns2Marker}) {
        EXPECT_EQ(dialog.IsDlgButtonChecked(refused), 1) << refused;
    }
    for (const int kept :
         {Dialog::kNameMarker, Dialog::kDomainMarker, Dialog::kWins1Marker, Dialog::kWins2Marker}) {
        EXPECT_EQ(dialog.IsDlgButtonChecked(kept), 0) << kept;
    }
    EXPECT_NE(bench.state->link, nullptr) << "the opener closes the link";
    EXPECT_EQ(LogAfterClose(bench),
              (std::vector<std::string>{"NWDNS 10.0.0.53 0.0.0.0",
                                        "NWCNF OFF 192.168.10.77 255.255.255.0 192.168.10.1"}));
}

TEST_F(NetworkSettingsFlow, MailTurnedOnGoesOutAndTheTestMailIsSent) {
    CFlowBench bench(ProjectorAt("127.88.3.2"));
    lanterna::CWindowMessageService messages;  // the write worker's question reaches the window
    bench.state->messageService = &messages;
    GiveRoomAddresses(bench.projector);
    Read(*bench.state);
    bench.projector.ClearCommandLog();

    Dialog dialog(*bench.state);
    ui::test::AnswerNextMessage(ui::IDYES);  // send a test mail?
    const int code = ui::test::RunModal(dialog, [](ui::CDialog& d) {
        ui::test::ScriptNextDialog(131, [](ui::CDialog& mail) {
            mail.ClickButton(1083);  // ON
            mail.SetDlgItemText(1011, "192.168.10.25");
            mail.SetDlgItemText(1007, "587");
            mail.SetDlgItemText(1024, "room-201@campus.example.org");
            ui::test::ScriptNextDialog(137, [](ui::CDialog& events) {
                events.ClickButton(1029);  // lamp off, 0x040
                events.ClickButton(1033);  // internal error, 0x400
                events.ClickButton(ui::IDOK);
            });
            mail.ClickButton(1080);
            mail.ClickButton(ui::IDOK);
        });
        d.ClickButton(Dialog::kMailButton);
        ui::test::ScriptNextDialog(133, [](ui::CDialog&) {});
        d.ClickButton(ui::IDOK);
    });
    EXPECT_EQ(code, ui::IDOK);
    EXPECT_EQ(ShownIds(), (std::vector<int>{152, 105, 133}));
    EXPECT_EQ(LogAfterClose(bench),
              (std::vector<std::string>{"NWSMTPACT ON", "NWSMTPSRV 192.168.10.25", "NWSMTPPORT 587",
                                        "NWSMTPTO1 room-201@campus.example.org",
                                        "NWSMTPEVT1 0000 0044", "NWSMTPTEST"}));
}

TEST_F(NetworkSettingsFlow, ExtendedWirelessModuleSwitchedToWep128WithKeyTwo) {
    auto config = ProjectorAt("127.88.3.3");
    config.wireless = true;
    config.imType = 22;
    CFlowBench bench(config);
    GiveRoomAddresses(bench.projector);
    Read(*bench.state);
    bench.projector.ClearCommandLog();

    Dialog dialog(*bench.state);
    const int code = ui::test::RunModal(dialog, [](ui::CDialog& d) {
        ui::test::ScriptNextDialog(147, [](ui::CDialog& wireless) {
            wireless.ClickButton(1207);  // WEP
            wireless.SetDlgItemText(1209, "128bit");
            wireless.SetDlgItemText(1214, "0123456789abcdef0123456789");
            wireless.SetDlgItemText(1215, "labwl1key0002");
            wireless.ClickButton(1216);  // key 2 in use
            wireless.ClickButton(ui::IDOK);
        });
        d.ClickButton(Dialog::kWirelessButton);
        ui::test::ScriptNextDialog(133, [](ui::CDialog&) {});
        d.ClickButton(ui::IDOK);
    });
    EXPECT_EQ(code, ui::IDOK);
    EXPECT_EQ(ShownIds(), std::vector<int>{133});
    // The reset is sent without a reply, so the run may end before the projector has read it;
    // a reset ends the projector's session, and once it has, every line is in the log.
    ASSERT_TRUE(lanterna::test::WaitUntilSessionsEnd(bench.projector));
    EXPECT_EQ(bench.projector.CommandLog(),
              (std::vector<std::string>{"NWWLSEC 120000", "NWWEPID 2",
                                        "NWWEP1 0123456789abcdef0123456789",
                                        "NWWEP2 6c6162776c316b657930303032", "NWRESET"}));
    const auto settings = bench.projector.Settings();
    EXPECT_EQ(settings.security, "120000");
    EXPECT_EQ(settings.wepKeyId, 2);
}

// An ESSID with a space, as a type-22 module reports it, is read; a new name carries the wireless
// configuration back exactly as it was read, and nothing else goes out.
TEST_F(NetworkSettingsFlow, RenamedProjectorWithAnEssidOfTwoWordsSendsItBackAsRead) {
    auto config = ProjectorAt("127.88.3.5");
    config.wireless = true;
    config.imType = 22;
    CFlowBench bench(config);
    GiveRoomAddresses(bench.projector);
    auto settings = bench.projector.Settings();
    settings.extendedWirelessMode = 2;
    settings.essid = "Lab Net";
    bench.projector.SetSettings(settings);
    Read(*bench.state);
    bench.projector.ClearCommandLog();

    Dialog dialog(*bench.state);
    const int code = ui::test::RunModal(dialog, [](ui::CDialog& d) {
        d.SetDlgItemText(Dialog::kNameEdit, "HALL-2F");
        ui::test::ScriptNextDialog(133, [](ui::CDialog&) {});
        d.ClickButton(ui::IDOK);
    });
    EXPECT_EQ(code, ui::IDOK);
    EXPECT_EQ(ShownIds(), std::vector<int>{133});
    ASSERT_TRUE(lanterna::test::WaitUntilSessionsEnd(bench.projector));
    EXPECT_EQ(
        bench.projector.CommandLog(),
        (std::vector<std::string>{
            "NWPNAME HALL-2F", "NWWLCNFS OFF 192.168.10.21 255.255.255.0 192.168.10.1 02 Lab Net",
            "IMSTAT 31", "NWRESET"}));
    EXPECT_EQ(bench.projector.Settings().essid, "Lab Net");
}

// A wireless configuration the projector reported in no known form is shown empty, and a new
// name, which would have to carry it, is not sent: the dialog names what to fill in.
TEST_F(NetworkSettingsFlow, UnreadConfigurationIsShownEmptyAndKeepsANewNameFromGoingOut) {
    auto config = ProjectorAt("127.88.3.4");
    config.wireless = true;
    config.faults.replyFaults = {
        {"NWWLCNF", {lanterna::sim::ReplyFaultKind::kRawValue, 0, "OFF 10.0.0.5 255.0.0.0"}}};
    CFlowBench bench(config);
    Read(*bench.state);
    bench.projector.ClearCommandLog();

    Dialog dialog(*bench.state);
    bool noRadioChosen = false;
    bool addressOpen = false;
    bool stillOpen = false;
    const int code = ui::test::RunModal(dialog, [&](ui::CDialog& d) {
        noRadioChosen = d.IsDlgButtonChecked(Dialog::kDhcpOn) == 0 &&
                        d.IsDlgButtonChecked(Dialog::kDhcpOff) == 0;
        addressOpen = d.GetDlgItemText(Dialog::kIpAddressControl) == "..." &&
                      d.IsDlgItemEnabled(Dialog::kIpAddressControl);
        d.SetDlgItemText(Dialog::kNameEdit, "LAB-WL1");
        d.ClickButton(Dialog::kDhcpOn);
        d.ClickButton(ui::IDOK);
        stillOpen = d.isVisible();
        d.ClickButton(ui::IDCANCEL);
    });
    EXPECT_TRUE(noRadioChosen);
    EXPECT_TRUE(addressOpen);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(code, ui::IDCANCEL);
    const auto shown = ui::test::ShownMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].stringId, 202);
    EXPECT_NE(shown[0].text.find("essid"), std::string::npos) << shown[0].text;
    EXPECT_TRUE(LogAfterClose(bench).empty()) << "nothing is sent";
}

}  // namespace
}  // namespace dialogtest
