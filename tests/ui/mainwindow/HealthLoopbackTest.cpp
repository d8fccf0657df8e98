// The window's health over PJLink, on its real dialogs, against two simulated projectors on
// loopback addresses of this test's own (127.89.3.1-2, one ephemeral port each for the module
// and for PJLink): the one reporting a lamp error is badged by the background reading and
// found by "Health..."; the one locked with a PJLink password is asked for it by its own prompt,
// as it is when both are switched off.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "dialogs/DialogIds.h"
#include "dialogs/FleetTableDialog.h"
#include "dialogs/FleetWording.h"
#include "dialogs/MainDialog.h"
#include "dialogs/MainDialogDefaults.h"
#include "dialogs/PjlinkPasswordDialog.h"
#include "platform/FixedText.h"
#include "resources/StringIds.h"
#include "settings/AddressBookStore.h"
#include "tools/projector-sim/SimulatedProjector.h"
#include "ui/TableView.h"
#include "ui/TestHooks.h"

namespace mainwindowtest {
namespace {

using lanterna::dialogs::CMainDialog;
using lanterna::dialogs::Words;

constexpr int kSearchTemplate = 139;
constexpr int kWaitMs = 30000;

class HealthOnLoopback : public ::testing::Test {
  protected:
    void SetUp() override {
        std::uint16_t port = 0;
        std::uint16_t pjlinkPort = 0;
        for (const auto& [address, name, pjlinkPassword, errors] :
             {std::tuple{"127.89.3.1", "HALL-1F", "", "020000"},
              std::tuple{"127.89.3.2", "ROOM-201", "pj", "000000"}}) {
            lanterna::sim::SimulatorConfig config;
            config.address = address;
            config.port = port;
            config.secondaryPort = 0;
            config.name = name;
            config.password = "module";  // the module's own, never sent over PJLink
            config.pjlink.enabled = true;
            config.pjlink.port = pjlinkPort;
            config.pjlink.password = pjlinkPassword;
            config.pjlink.errors = errors;
            auto projector = std::make_unique<lanterna::sim::SimulatedProjector>(config);
            std::string reason;
            ASSERT_TRUE(projector->Start(&reason)) << reason;
            port = projector->TcpPort();
            pjlinkPort = projector->Pjlink()->Port();
            projectors.push_back(std::move(projector));
        }
        lanterna::StateOptions options;
        options.projectorPort = port;
        state = std::make_unique<lanterna::ApplicationState>(options);
        std::string pattern =
            (std::filesystem::temp_directory_path() / "mainwindow-health-XXXXXX").string();
        folder = mkdtemp(pattern.data());
        hive = {folder + "/hive", lanterna::RealFileSeam()};
        lanterna::AddressBook stored;
        stored.Append("ROOM-201\n127.89.3.2", "21");
        ASSERT_EQ(lanterna::SaveAddressBook(stored, hive), 1);

        const auto& first = *projectors.front();
        const lanterna::SearchTargets targets{
            .hello = {.address = first.Address(), .port = first.HelloPort(), .localPort = 0},
            .secondary = {.address = first.Address(), .port = first.SecondaryPort()},
            .pjlink = {.address = first.Address(), .port = 9, .localPort = 0}};
        auto services = lanterna::dialogs::DefaultMainDialogServices(*state, targets);
        services.fleetNetwork.pjlinkPort = pjlinkPort;
        services.trackPopupMenu = [this](CMainDialog&, const auto&, QPoint, const auto&) {
            return menuChoice;
        };
        window = std::make_unique<CMainDialog>(
            *state, lanterna::dialogs::AddressBookPlace{book, hive}, std::move(services));
        ui::test::ScriptNextDialog(
            kSearchTemplate,
            [this](ui::CDialog& dialog) {
                QObject::connect(&dialog, &QDialog::finished, [this] { ++searchesDone; });
            },
            kWaitMs);
        ASSERT_TRUE(window->Create());
        window->show();
        ASSERT_TRUE(ui::test::PumpUntil([&] { return searchesDone >= 1; }, kWaitMs));
    }

    void TearDown() override {
        window.reset();
        EXPECT_THAT(ui::test::TakeProblems(), ::testing::IsEmpty());
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    const lanterna::ProjectorRecord* Record(const std::string& name) const {
        for (std::size_t i = 0; i < state->projectors.Size(); ++i) {
            if (lanterna::TextOf(state->projectors.At(i)->projectorName) == name) {
                return state->projectors.At(i);
            }
        }
        return nullptr;
    }

    // What the list shows of `record` in `column` under `role`.
    QVariant Shown(const lanterna::ProjectorRecord* record, int column, int role) const {
        const auto& rows = window->Rows();
        auto& shown = const_cast<lanterna::dialogs::CProjectorRows&>(rows).Shown();
        return shown.index(rows.ShownRowOf(record), column).data(role);
    }

    ui::test::Session session;
    std::vector<std::unique_ptr<lanterna::sim::SimulatedProjector>> projectors;
    std::unique_ptr<lanterna::ApplicationState> state;
    lanterna::AddressBook book;
    lanterna::HiveFile hive;
    std::string folder;
    std::unique_ptr<CMainDialog> window;
    int searchesDone = 0;
    int menuChoice = CMainDialog::kHealthCommand;
};

TEST_F(HealthOnLoopback, LampErrorIsBadgedAndFoundByTheHealthTable) {
    using namespace lanterna;
    using namespace lanterna::dialogs;
    const ProjectorRecord* hall = Record("HALL-1F");
    const ProjectorRecord* room = Record("ROOM-201");
    ASSERT_NE(hall, nullptr);
    ASSERT_NE(room, nullptr);

    // The background reading, begun by the listing, without a dialog in the way.
    ASSERT_TRUE(ui::test::PumpUntil([&] { return window->Health().Find("127.89.3.1") != nullptr; },
                                    kWaitMs));
    const std::string lampError = Words(kStringPartError, {Words(kStringPartFirst + 1)});
    const auto& model = const_cast<CProjectorRows&>(window->Rows()).Model();
    EXPECT_TRUE(model.Badged(*hall));
    EXPECT_FALSE(model.Badged(*room)) << "locked: not read, nothing to say";
    const std::string description =
        Shown(hall, kColumnLabel, Qt::AccessibleDescriptionRole).toString().toStdString();
    EXPECT_NE(description.find(Words(kStringNeedsAttention, {lampError})), std::string::npos)
        << description;
    EXPECT_EQ(Shown(hall, kColumnErrors, Qt::DisplayRole).toString().toStdString(), lampError);
    EXPECT_EQ(Shown(hall, kColumnPower, Qt::DisplayRole).toString().toStdString(),
              Words(kStringPowerOn));
    EXPECT_EQ(Shown(room, kColumnErrors, Qt::DisplayRole).toString(), QStringLiteral("\u2014"));

    // "Health..." on both: the locked one is asked for its PJLink password by name, read again
    // with it, and the table shows both.
    std::string prompt;
    QString editName;
    std::vector<std::vector<std::string>> rows;
    ui::test::ScriptNextDialog(
        kFleetProgressTemplate, [](ui::CDialog&) {}, kWaitMs);
    ui::test::ScriptNextDialog(kPjlinkPasswordTemplate, [&](ui::CDialog& dialog) {
        prompt = dialog.GetDlgItemText(CPjlinkPasswordDialog::kTextLabel);
        editName = dialog.GetDlgItem(CPjlinkPasswordDialog::kPasswordEdit)->accessibleName();
        dialog.SetDlgItemText(CPjlinkPasswordDialog::kPasswordEdit, "pj");
        dialog.ClickButton(ui::IDOK);
    });
    ui::test::ScriptNextDialog(
        kFleetProgressTemplate, [](ui::CDialog&) {}, kWaitMs);
    ui::test::ScriptNextDialog(kHealthTemplate, [&](ui::CDialog& dialog) {
        rows = dialog.GetDlgItemAs<ui::CTableView>(CFleetTableDialog::kTable)->Rows();
        dialog.ClickButton(ui::IDOK);
    });
    window->SelectProjectors({hall, room});
    window->SendCommand(CMainDialog::kListControl, ui::Notify::RightClicked);

    EXPECT_NE(prompt.find("ROOM-201 (127.89.3.2)"), std::string::npos) << prompt;
    EXPECT_FALSE(editName.isEmpty()) << "the password box has a name for a screen reader";
    const std::string model2000 = "SIMULATED SIM-2000";
    EXPECT_THAT(
        rows,
        ::testing::UnorderedElementsAre(
            std::vector<std::string>{"HALL-1F (127.89.3.1)", Words(kStringPowerOn), "1520",
                                     lampError, model2000, Words(kStringHealthRead)},
            std::vector<std::string>{"ROOM-201 (127.89.3.2)", Words(kStringPowerOn), "1520",
                                     Words(kStringNoErrors), model2000, Words(kStringHealthRead)}));
    EXPECT_EQ(window->PjlinkPasswords().Known("127.89.3.2"), "pj") << "kept for the session";
    EXPECT_EQ(window->Passwords().Known("127.89.3.2", "", false), std::nullopt)
        << "the PJLink password is not the module's";
    EXPECT_EQ(Shown(room, kColumnErrors, Qt::DisplayRole).toString().toStdString(),
              Words(kStringNoErrors))
        << "the list shows what the table read";
}

TEST_F(HealthOnLoopback, PowerOffAsksFirstThenSwitchesEachAndTellsTheOutcome) {
    using namespace lanterna;
    using namespace lanterna::dialogs;
    const auto* hall = Record("HALL-1F");
    const auto* room = Record("ROOM-201");
    ASSERT_NE(hall, nullptr);
    ASSERT_NE(room, nullptr);
    const auto powerSent = [this] {
        int sent = 0;
        for (const auto& projector : projectors) {
            for (const std::string& line : projector->Pjlink()->Log()) {
                sent += line.find("POWR 0") != std::string::npos ? 1 : 0;
            }
        }
        return sent;
    };
    window->SelectProjectors({hall, room});
    menuChoice = CMainDialog::kPowerOffCommand;

    // "No" switches nothing.
    ui::test::AnswerNextMessage(ui::IDNO);
    window->SendCommand(CMainDialog::kListControl, ui::Notify::RightClicked);
    const auto shown = ui::test::ShownMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, Words(kStringConfirmPowerOff, {"2"}));
    EXPECT_EQ(powerSent(), 0);

    // "Yes": the locked one is asked for its PJLink password and switched with it.
    std::string prompt;
    std::vector<std::vector<std::string>> rows;
    std::string summary;
    ui::test::AnswerNextMessage(ui::IDYES);
    ui::test::ScriptNextDialog(kFleetProgressTemplate, [](ui::CDialog&) {}, kWaitMs);
    ui::test::ScriptNextDialog(kPjlinkPasswordTemplate, [&](ui::CDialog& dialog) {
        prompt = dialog.GetDlgItemText(CPjlinkPasswordDialog::kTextLabel);
        dialog.SetDlgItemText(CPjlinkPasswordDialog::kPasswordEdit, "pj");
        dialog.ClickButton(ui::IDOK);
    });
    ui::test::ScriptNextDialog(kFleetProgressTemplate, [](ui::CDialog&) {}, kWaitMs);
    ui::test::ScriptNextDialog(kFleetResultsTemplate, [&](ui::CDialog& dialog) {
        rows = dialog.GetDlgItemAs<ui::CTableView>(CFleetTableDialog::kTable)->Rows();
        summary = dialog.GetDlgItemText(CFleetTableDialog::kSummaryLabel);
        dialog.ClickButton(ui::IDOK);
    });
    window->SendCommand(CMainDialog::kListControl, ui::Notify::RightClicked);

    EXPECT_NE(prompt.find("ROOM-201 (127.89.3.2)"), std::string::npos) << prompt;
    EXPECT_THAT(rows, ::testing::UnorderedElementsAre(
                          std::vector<std::string>{"HALL-1F (127.89.3.1)",
                                                   Words(kStringSwitchedOff), ""},
                          std::vector<std::string>{"ROOM-201 (127.89.3.2)",
                                                   Words(kStringSwitchedOff), ""}));
    EXPECT_EQ(summary, Words(kStringResultsSummary, {"2", "2", "0", "0"}));
    for (const auto& projector : projectors) {
        EXPECT_EQ(projector->Pjlink()->Config().power, "0") << projector->Address();
    }
    EXPECT_EQ(powerSent(), 2) << "once each, the locked one only with its password";
}

}  // namespace
}  // namespace mainwindowtest
