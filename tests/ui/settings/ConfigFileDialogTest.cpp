// CNetworkConfigFileDialog: its set-up for a wired and a wireless file, two files from one
// dialog (the second after the SNMP file dialog), a refused file name asked again, and wireless
// files composed in the wireless security dialog, read back with lanternactl.
#include "SettingsTestSupport.h"
#include "dialogs/NetworkConfigFileDialog.h"
#include "settings/ConfigFile.h"
#include "tests/support/cli/CliHarness.h"

namespace settingstest {
namespace {

using lanterna::dialogs::CNetworkConfigFileDialog;
using Dialog = lanterna::dialogs::CNetworkSettingsDialog;

std::string PlainTextOf(const std::string& path) {
    std::string text;
    EXPECT_EQ(lanterna::ReadConfigFile(path, text), lanterna::kConfigFileRead) << path;
    return text;
}

void FillWired(ui::CDialog& d) {
    Type(d, Dialog::kNameEdit, "HALL-1F");
    Type(d, Dialog::kIpAddressControl, "192.168.10.99");  // a listed address is fine here
    Type(d, Dialog::kSubnetMaskControl, "255.255.255.0");
    Type(d, Dialog::kGatewayControl, "192.168.10.1");
}

TEST_F(DialogTest, ConfigFileVariantsHideTheServerRowsAndRenameTheButtons) {
    for (const int wireless : {0, 1}) {
        CNetworkConfigFileDialog dialog(wireless);
        ASSERT_TRUE(dialog.Create());
        for (const int id :
             {Dialog::kDns1Control, Dialog::kDns2Label, Dialog::kDomainEdit, Dialog::kWins2Control,
              Dialog::kMacValue, Dialog::kSaveButton, Dialog::kNameMarker}) {
            EXPECT_FALSE(dialog.IsDlgItemVisible(id)) << id;
        }
        EXPECT_EQ(dialog.IsDlgButtonChecked(Dialog::kPrimaryWired), 1);
        EXPECT_EQ(dialog.IsDlgButtonChecked(Dialog::kDhcpOff), 1);
        EXPECT_EQ(dialog.GetDlgItemText(ui::IDOK), "작성");
        EXPECT_EQ(dialog.GetDlgItemText(ui::IDCANCEL), "닫기");
        EXPECT_EQ(dialog.IsDlgItemEnabled(Dialog::kWirelessButton), wireless == 1);
        EXPECT_EQ(dialog.FileRecord().wirelessActive, wireless);
        dialog.ClickButton(Dialog::kDhcpOn);
        EXPECT_FALSE(dialog.IsDlgItemEnabled(Dialog::kGatewayControl));
    }
}

TEST_F(DialogTest, CreateWritesAFileOnEveryPressAndTheDialogStaysOpen) {
    CScratchFolder folder;
    CQueuedChooser chooser;
    chooser.answers = {folder.Path("first.ncf"), folder.Path("second.ncf")};
    CNetworkConfigFileDialog dialog(0);
    dialog.SetSaveFileChooser(chooser.Function());
    bool openAfterBoth = false;
    ui::test::RunModal(dialog, [&](ui::CDialog& d) {
        FillWired(d);
        d.ClickButton(ui::IDOK);
        ui::test::ScriptNextDialog(136, [](ui::CDialog& snmp) {
            Type(snmp, 1009, "192.168.10.3");
            Type(snmp, 1042, "campus");
            snmp.ClickButton(ui::IDOK);
        });
        d.ClickButton(Dialog::kSnmpButton);
        d.ClickButton(Dialog::kPrimaryWireless);
        d.ClickButton(Dialog::kDhcpOn);
        d.ClickButton(ui::IDOK);
        openAfterBoth = d.isVisible();
        d.ClickButton(ui::IDCANCEL);
    });
    EXPECT_TRUE(openAfterBoth);
    ASSERT_EQ(chooser.requests.size(), 2u);
    EXPECT_EQ(chooser.requests[0].titleId, 192);
    EXPECT_EQ(chooser.requests[0].filterId, 191);
    EXPECT_EQ(chooser.requests[0].fileName, "HALL-1F");
    EXPECT_EQ(chooser.requests[0].defaultExtension, "ncf");
    EXPECT_EQ(PlainTextOf(folder.Path("first.ncf")),
              "[NetConfig]\nNWSMTPACT OFF\nNWTRAPIP1 0.0.0.0\nNWTRAPIP2 0.0.0.0\nNWPRIMIF 0\n"
              "NWPNAME HALL-1F\nNWCNF OFF 192.168.10.99 255.255.255.0 192.168.10.1\n");
    EXPECT_EQ(PlainTextOf(folder.Path("second.ncf")),
              "[NetConfig]\nNWSMTPACT OFF\nNWTRAPIP1 192.168.10.3\nNWTRAPIP2 0.0.0.0\n"
              "NWCNAME campus\nNWPRIMIF 1\nNWPNAME HALL-1F\nNWCNF ON 0.0.0.0 0.0.0.0 0.0.0.0\n");
    EXPECT_TRUE(ShownIds().empty());
}

TEST_F(DialogTest, NameOutsidePlainCharactersIsRefusedAndAskedAgainInItsFolder) {
    CScratchFolder folder;
    CQueuedChooser chooser;
    chooser.answers = {folder.Path("강당.ncf"), folder.Path("hall.ncf")};
    CNetworkConfigFileDialog dialog(1);
    dialog.SetSaveFileChooser(chooser.Function());
    ui::test::RunModal(dialog, [](ui::CDialog& d) {
        FillWired(d);
        d.ClickButton(ui::IDOK);
        d.ClickButton(ui::IDCANCEL);
    });
    EXPECT_EQ(ShownIds(), std::vector<int>{193});
    ASSERT_EQ(chooser.requests.size(), 2u);
    EXPECT_EQ(chooser.requests[1].folder, folder.folder.string());
    EXPECT_FALSE(std::filesystem::exists(folder.Path("강당.ncf")));
    EXPECT_EQ(PlainTextOf(folder.Path("hall.ncf")),
              "[NetConfig]\nNWSMTPACT OFF\nNWTRAPIP1 0.0.0.0\nNWTRAPIP2 0.0.0.0\nNWPRIMIF 0\n"
              "NWPNAME HALL-1F\n"
              "NWWLCNFS OFF 192.168.10.99 255.255.255.0 192.168.10.1 00\nNWWLSEC 000000\n");
}

TEST_F(DialogTest, WirelessFilesFromTheSecurityDialogReadBackWithLanternactl) {
    CScratchFolder folder;
    CQueuedChooser chooser;
    chooser.answers = {folder.Path("psk.ncf"), folder.Path("leap.ncf")};
    CNetworkConfigFileDialog dialog(1);
    dialog.SetSaveFileChooser(chooser.Function());
    ui::test::RunModal(dialog, [](ui::CDialog& d) {
        FillWired(d);
        Type(d, Dialog::kNameEdit, "LAB-WL1");
        ui::test::ScriptNextDialog(147, [](ui::CDialog& wireless) {
            Type(wireless, 1043, "LAB-WL");
            wireless.ClickButton(1205);  // WPA-PSK
            Type(wireless, 1044, "lab-wireless-passphrase");
            wireless.ClickButton(ui::IDOK);
        });
        d.ClickButton(Dialog::kWirelessButton);
        d.ClickButton(ui::IDOK);
        ui::test::ScriptNextDialog(147, [](ui::CDialog& wireless) {
            EXPECT_EQ(wireless.GetDlgItemText(1044), "**********");
            wireless.ClickButton(1206);  // LEAP
            Type(wireless, 1045, "lab-wl1");
            Type(wireless, 1046, "night-owl!");
            wireless.ClickButton(ui::IDOK);
        });
        d.ClickButton(Dialog::kWirelessButton);
        d.ClickButton(ui::IDOK);
        d.ClickButton(ui::IDCANCEL);
    });
    EXPECT_TRUE(ShownIds().empty());
    const std::string head =
        "[NetConfig]\nNWSMTPACT OFF\nNWTRAPIP1 0.0.0.0\nNWTRAPIP2 0.0.0.0\nNWPRIMIF 0\n"
        "NWPNAME LAB-WL1\nNWWLCNFS OFF 192.168.10.99 255.255.255.0 192.168.10.1 02 LAB-WL\n";
    const lanterna::test::CliRun psk = lanterna::test::RunCli({"ncf-text", folder.Path("psk.ncf")});
    EXPECT_EQ(psk.status, 0) << psk.err;
    EXPECT_EQ(psk.out, head + "NWWLSEC 200100\nNWSECPSK lab-wireless-passphrase\n");
    const lanterna::test::CliRun leap =
        lanterna::test::RunCli({"ncf-text", folder.Path("leap.ncf")});
    EXPECT_EQ(leap.status, 0) << leap.err;
    EXPECT_EQ(leap.out, head + "NWWLSEC 120401\nNWSECUSER lab-wl1\nNWSECPASSWD night-owl!\n");
}

}  // namespace
}  // namespace settingstest
