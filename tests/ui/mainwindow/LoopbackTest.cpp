// The main window on its real dialogs, against a simulated projector on a loopback address of
// this test's own: the search behind its wait dialog (pointed at the projector, never
// broadcast), the address book merged with what it found, a projector opened over the link, and
// a dropped settings file written to the projector.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <algorithm>
#include <filesystem>

#include "dialogs/MainDialog.h"
#include "dialogs/MainDialogDefaults.h"
#include "fleet/History.h"
#include "platform/FixedText.h"
#include "settings/AddressBookStore.h"
#include "settings/SettingsFile.h"
#include "tests/support/sim/SessionsEnded.h"
#include "tools/projector-sim/SimulatedProjector.h"
#include "ui/ListView.h"
#include "ui/TestHooks.h"

namespace mainwindowtest {
namespace {

using lanterna::dialogs::CMainDialog;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int kSearchTemplate = 139;
constexpr int kProgressTemplate = 133;
constexpr int kSearchWaitMs = 30000;
constexpr int kNetworkSettingsTemplate = 130;
constexpr int kNameEdit = 1029;
constexpr int kDhcpOff = 1082;
constexpr int kIpAddressControl = 1031;
constexpr int kSubnetMaskControl = 1032;
constexpr int kGatewayControl = 1033;
constexpr int kWirelessButton = 1074;

class LoopbackWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        lanterna::sim::SimulatorConfig config;
        config.address = "127.89.0.1";
        config.port = 0;
        config.secondaryPort = 0;
        config.name = "LOOP-PJ";
        config.imType = 22;
        projector = std::make_unique<lanterna::sim::SimulatedProjector>(config);
        std::string reason;
        ASSERT_TRUE(projector->Start(&reason)) << reason;
        lanterna::StateOptions options;
        options.projectorPort = projector->TcpPort();
        state = std::make_unique<lanterna::ApplicationState>(options);
        std::string pattern =
            (std::filesystem::temp_directory_path() / "mainwindow-loop-XXXXXX").string();
        folder = mkdtemp(pattern.data());
        hive = {folder + "/hive", lanterna::RealFileSeam()};
    }

    void TearDown() override {
        window.reset();
        EXPECT_THAT(ui::test::TakeProblems(), IsEmpty());
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    // The window with the real services, its searches at the simulated projector only.
    void Open() {
        const lanterna::SearchTargets targets{
            .hello = {.address = projector->Address(),
                      .port = projector->HelloPort(),
                      .localPort = 0},
            .secondary = {.address = projector->Address(), .port = projector->SecondaryPort()},
            .pjlink = {.address = projector->Address(), .port = 9, .localPort = 0}};
        auto services = lanterna::dialogs::DefaultMainDialogServices(*state, targets);
        services.historyFolder = folder + "/history";
        window = std::make_unique<CMainDialog>(
            *state, lanterna::dialogs::AddressBookPlace{book, hive}, std::move(services));
        ExpectSearch();
        ASSERT_TRUE(window->Create());
        window->show();
        ASSERT_TRUE(ui::test::PumpUntil([&] { return searchesDone >= 1; }, kSearchWaitMs));
    }

    // The next wait dialog runs unattended; it ends itself once both searches have reported.
    void ExpectSearch() {
        ui::test::ScriptNextDialog(
            kSearchTemplate,
            [this](ui::CDialog& dialog) {
                QObject::connect(&dialog, &QDialog::finished, [this] { ++searchesDone; });
            },
            kSearchWaitMs);
    }
    // The next progress run goes unattended too: its worker ends it.
    static void ExpectProgress() {
        ui::test::ScriptNextDialog(kProgressTemplate, [](ui::CDialog&) {});
    }

    std::vector<std::string> Labels() const {
        std::vector<std::string> labels;
        const ui::CListView* list = window->ListView(CMainDialog::kListControl);
        for (int row = 3; row < list->ItemCount(); ++row) {
            labels.push_back(list->ItemText(row) + " #" + std::to_string(list->ItemImage(row)));
        }
        return labels;
    }

    bool Received(const std::string& prefix) const {
        const auto log = projector->CommandLog();
        return std::any_of(log.begin(), log.end(),
                           [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
    }

    ui::test::Session session;
    std::unique_ptr<lanterna::sim::SimulatedProjector> projector;
    std::unique_ptr<lanterna::ApplicationState> state;
    lanterna::AddressBook book;
    lanterna::HiveFile hive;
    std::string folder;
    std::unique_ptr<CMainDialog> window;
    int searchesDone = 0;
};

TEST_F(LoopbackWindow, FoundProjectorIsListedOnceAndTheBookEntryOfItsAddressAddsNoRow) {
    lanterna::AddressBook stored;
    stored.Append("OLDNAME\n127.89.0.1", "21");
    stored.Append("ELSEWHERE\n127.89.0.9", "30");
    ASSERT_EQ(lanterna::SaveAddressBook(stored, hive), 1);
    Open();
    EXPECT_THAT(Labels(), ElementsAre("ELSEWHERE\n127.89.0.9 #1", "LOOP-PJ\n127.89.0.1 #2"));
    EXPECT_EQ(state->projectors.At(0)->imType, 22);  // the hello's type survives the merge
}

// The window's main road: a double-click reads the projector, the settings dialog takes a new
// name and a static address in place of DHCP, OK writes exactly that, and the list shows the
// projector as written without a search.
TEST_F(LoopbackWindow, OpenedProjectorTakesANewNameAndAStaticAddressFromTheSettingsDialog) {
    auto settings = projector->Settings();
    settings.wired.dhcp = true;
    projector->SetSettings(settings);
    Open();
    ASSERT_EQ(state->projectors.Size(), 1u);
    ExpectProgress();  // probe
    ExpectProgress();  // read
    ui::test::ScriptNextDialog(kNetworkSettingsTemplate, [this](ui::CDialog& dialog) {
        EXPECT_TRUE(Received("NWPNAME?")) << "the read asked for the name";
        projector->ClearCommandLog();
        dialog.SetDlgItemText(kNameEdit, "HALL-1F");
        dialog.ClickButton(kDhcpOff);
        dialog.SetDlgItemText(kIpAddressControl, "192.168.10.21");
        dialog.SetDlgItemText(kSubnetMaskControl, "255.255.255.0");
        dialog.SetDlgItemText(kGatewayControl, "192.168.10.1");
        ExpectProgress();  // write
        dialog.ClickButton(ui::IDOK);
    });
    window->OnDoubleClick(3);
    // IMSTAT and NWRESET get no reply: the log is complete once the session has ended.
    EXPECT_TRUE(lanterna::test::WaitUntilSessionsEnd(*projector));
    EXPECT_THAT(projector->CommandLog(),
                ElementsAre("NWPNAME HALL-1F", "NWCNF OFF 192.168.10.21 255.255.255.0 192.168.10.1",
                            "IMSTAT 31", "NWRESET"));
    std::vector<int> shown;
    for (const auto& message : ui::test::ShownMessages()) {
        shown.push_back(message.stringId);
    }
    EXPECT_THAT(shown, ElementsAre(133));
    EXPECT_FALSE(state->link) << "closed after the dialog";
    EXPECT_EQ(searchesDone, 1) << "no search after a write";
    EXPECT_THAT(Labels(), ElementsAre("HALL-1F\n192.168.10.21 #2"));
    const lanterna::fleet::CHistory history(folder + "/history");
    EXPECT_EQ(history.Entries(settings.mac).size(), 1u);
    EXPECT_THAT(history.ChangeLogLines(settings.mac),
                ElementsAre(::testing::HasSubstr("\tLOOP-PJ\tNWPNAME HALL-1F; NWCNF OFF")));
}

TEST_F(LoopbackWindow, ConfigurationFileRowsOpenTheWiredAndTheWirelessFileDialog) {
    Open();
    std::vector<std::string> seen;
    for (const int row : {1, 2}) {
        ui::test::ScriptNextDialog(kNetworkSettingsTemplate, [&seen](ui::CDialog& dialog) {
            seen.push_back(dialog.GetDlgItemText(ui::IDOK) +
                           (dialog.IsDlgItemEnabled(kWirelessButton) ? " wireless" : " wired"));
            dialog.ClickButton(ui::IDCANCEL);
        });
        window->OnDoubleClick(row);
    }
    EXPECT_THAT(seen, ElementsAre("작성 wired", "작성 wireless"));
    EXPECT_TRUE(projector->CommandLog().empty()) << "no link for a file";
}

// The file goes over a full read, which the history keeps whole before anything is sent.
TEST_F(LoopbackWindow, DroppedSettingsFileIsWrittenToTheProjectorAndShownAsWritten) {
    auto settings = projector->Settings();
    settings.community = "campus7";
    projector->SetSettings(settings);
    Open();
    lanterna::ProjectorRecord saved{};
    lanterna::CopyText(saved.projectorName, "APPLIED");
    // The file names an address a projector may take (no loopback one), as every write must.
    saved.ipAddress = {10, 89, 0, 1};
    saved.subnetMask = {255, 0, 0, 0};
    const std::string file = folder + "/applied.ini";
    ASSERT_EQ(lanterna::WriteSettingsFile(saved, file), 1);

    ExpectProgress();  // probe
    ExpectProgress();  // read
    ExpectProgress();  // write
    ui::test::AnswerNextMessage(ui::IDYES);
    ui::CListView* list = window->ListView(CMainDialog::kListControl);
    emit list->filesDropped(list->ItemRect(3).center(), {file});
    ASSERT_TRUE(ui::test::PumpUntil(
        [&] { return Labels() == std::vector<std::string>{"APPLIED\n10.89.0.1 #2"}; },
        kSearchWaitMs));
    EXPECT_EQ(searchesDone, 1) << "no search after a write";

    EXPECT_EQ(projector->QueryValue("NWPNAME").value_or(""), "APPLIED");
    std::vector<int> shown;
    for (const auto& message : ui::test::ShownMessages()) {
        shown.push_back(message.stringId);
    }
    EXPECT_THAT(shown, ElementsAre(109, 133));  // the question, then "the projector has been set"
    EXPECT_FALSE(state->link);

    const lanterna::fleet::CHistory history(folder + "/history");
    ASSERT_EQ(history.Entries(settings.mac).size(), 1u);
    lanterna::ProjectorRecord kept{};
    ASSERT_TRUE(history.ReadEntry(settings.mac, 0, kept));
    EXPECT_EQ(lanterna::TextOf(kept.projectorName), "LOOP-PJ");
    EXPECT_EQ(lanterna::TextOf(kept.community), "campus7");
    const auto log = history.ChangeLogLines(settings.mac);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_THAT(log[0], ::testing::HasSubstr("\t127.89.0.1\tLOOP-PJ\t"));
    EXPECT_THAT(log[0], ::testing::HasSubstr("NWPNAME APPLIED"));
    EXPECT_THAT(log[0], ::testing::HasSubstr("\tset\t"));
}

// A read whose link is cut off halfway is a failed read: the window says where it stopped and
// opens no settings dialog on what little was read.
TEST_F(LoopbackWindow, ReadThatLosesItsLinkSaysWhereAndOpensNoSettingsDialog) {
    auto faults = projector->Faults();
    faults.replyFaults = {{"NWSMTPSRV", {lanterna::sim::ReplyFaultKind::kCut, 4, {}}}};
    projector->SetFaults(faults);
    Open();
    ExpectProgress();  // probe
    ExpectProgress();  // read
    window->OnDoubleClick(3);
    const auto shown = ui::test::ShownMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].stringId, 200);
    EXPECT_NE(shown[0].text.find("smtpServer"), std::string::npos) << shown[0].text;
    EXPECT_FALSE(state->link);
    EXPECT_EQ(searchesDone, 1) << "no refresh";
}

}  // namespace
}  // namespace mainwindowtest
