// CNetworkSettingsDialog over a real link to a simulated projector: OK writes what changed, and
// the settings the projector refuses come back as red lamps.
#include "FlowSupport.h"
#include "dialogs/NetworkSettingsDialog.h"
#include "dialogs/OperationProgressDialog.h"
#include "ui/IpAddressControl.h"

namespace dialogtest {
namespace {

using lanterna::dialogs::CNetworkSettingsDialog;
using Dialog = CNetworkSettingsDialog;
using NetworkSettingsFlow = DialogTest;

// The projector listens on loopback but reports the static set-up of a room's network.
void GiveRoomAddresses(lanterna::sim::SimulatedProjector& projector) {
    auto settings = projector.Settings();
    settings.wired.ipAddress = {192, 168, 10, 21};
    settings.wired.subnetMask = {255, 255, 255, 0};
    settings.wired.gateway = {192, 168, 10, 1};
    projector.SetSettings(settings);
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
    const auto log = bench.projector.CommandLog();
    EXPECT_EQ(log,
              (std::vector<std::string>{"NWDNS 10.0.0.53 0.0.0.0",
                                        "NWCNF OFF 192.168.10.77 255.255.255.0 192.168.10.1"}));
    EXPECT_NE(bench.state->link, nullptr) << "the opener closes the link";
}

}  // namespace
}  // namespace dialogtest
