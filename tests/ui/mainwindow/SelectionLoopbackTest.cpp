// The window's work on a selection, on its real dialogs, against three simulated projectors on
// loopback addresses of this test's own: two of them selected, a settings file applied to them
// as a template through the popup menu, the preview, the progress and the results saved as CSV.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "dialogs/ApplyPreviewDialog.h"
#include "dialogs/AuditDialog.h"
#include "dialogs/DialogIds.h"
#include "dialogs/FleetPasswordDialog.h"
#include "dialogs/FleetProgressDialog.h"
#include "dialogs/FleetTableDialog.h"
#include "dialogs/FleetWording.h"
#include "dialogs/MainDialog.h"
#include "dialogs/MainDialogDefaults.h"
#include "dialogs/PasswordInputDialog.h"
#include "platform/FixedText.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "settings/AddressBookStore.h"
#include "settings/SettingsFile.h"
#include "tests/support/language/LanguageTestSupport.h"
#include "tests/support/sim/SessionsEnded.h"
#include "tools/projector-sim/SimulatedProjector.h"
#include "ui/ListView.h"
#include "ui/TableView.h"
#include "ui/TestHooks.h"

namespace mainwindowtest {
namespace {

using lanterna::dialogs::CMainDialog;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

constexpr int kSearchTemplate = 139;
constexpr int kWaitMs = 30000;

// The lines of the progress dialogs as each closes. A script runs only once its dialog is
// active, and two projectors on loopback may be read before that: the lines are taken as the
// dialog hides instead.
class ProgressLines : public QObject {
  public:
    ProgressLines() { qApp->installEventFilter(this); }
    ~ProgressLines() override { qApp->removeEventFilter(this); }
    ProgressLines(const ProgressLines&) = delete;
    ProgressLines& operator=(const ProgressLines&) = delete;

    std::vector<std::vector<std::string>> last;

  protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        const auto* dialog = dynamic_cast<ui::CDialog*>(object);
        if (event->type() == QEvent::Hide && dialog != nullptr &&
            dialog->TemplateId() == lanterna::dialogs::kFleetProgressTemplate) {
            last = dialog->GetDlgItemAs<ui::CTableView>(
                             lanterna::dialogs::CFleetProgressDialog::kLinesTable)
                       ->Rows();
        }
        return false;
    }
};

class SelectionOnLoopback : public ::testing::Test {
  protected:
    void SetUp() override {
        // One port for all: the window reaches every projector on the same port.
        std::uint16_t port = 0;
        for (const auto& [address, name, password] :
             {std::tuple{"127.89.2.1", "ROOM-1", ""}, std::tuple{"127.89.2.2", "ROOM-2", "lab"},
              std::tuple{"127.89.2.3", "ROOM-3", ""}}) {
            lanterna::sim::SimulatorConfig config;
            config.address = address;
            config.port = port;
            config.secondaryPort = 0;
            config.name = name;
            config.password = password;
            auto projector = std::make_unique<lanterna::sim::SimulatedProjector>(config);
            std::string reason;
            ASSERT_TRUE(projector->Start(&reason)) << reason;
            port = projector->TcpPort();
            projectors.push_back(std::move(projector));
        }
        lanterna::StateOptions options;
        options.projectorPort = port;
        state = std::make_unique<lanterna::ApplicationState>(options);
        std::string pattern =
            (std::filesystem::temp_directory_path() / "mainwindow-selection-XXXXXX").string();
        folder = mkdtemp(pattern.data());
        hive = {folder + "/hive", lanterna::RealFileSeam()};
        lanterna::AddressBook stored;
        stored.Append("ROOM-2\n127.89.2.2", "21");
        stored.Append("ROOM-3\n127.89.2.3", "21");
        ASSERT_EQ(lanterna::SaveAddressBook(stored, hive), 1);
    }

    void TearDown() override {
        window.reset();
        EXPECT_THAT(ui::test::TakeProblems(), IsEmpty());
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    // The window with the real services; its search reaches the first projector only, the
    // others are in the address book; the file choosers give the test's files.
    void Open(const std::string& settingsFile) {
        const auto& first = *projectors.front();
        const lanterna::SearchTargets targets{
            .hello = {.address = first.Address(), .port = first.HelloPort(), .localPort = 0},
            .secondary = {.address = first.Address(), .port = first.SecondaryPort()},
            .pjlink = {.address = first.Address(), .port = 9, .localPort = 0}};
        auto services = lanterna::dialogs::DefaultMainDialogServices(*state, targets);
        chosenFile = settingsFile;
        services.chooseSettingsFile = [this](CMainDialog&) { return chosenFile; };
        services.chooseFolder = [this](CMainDialog&) { return folder; };
        services.chooseCsvFile = [this](QWidget&, const std::string& suggested) {
            return folder + "/" + suggested;
        };
        services.trackPopupMenu = [this](CMainDialog&, const auto& menu, QPoint, const auto&) {
            menuShown = menu;
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

    const lanterna::ProjectorRecord* Record(const std::string& name) const {
        for (std::size_t i = 0; i < state->projectors.Size(); ++i) {
            if (lanterna::TextOf(state->projectors.At(i)->projectorName) == name) {
                return state->projectors.At(i);
            }
        }
        return nullptr;
    }

    ui::test::Session session;
    std::vector<std::unique_ptr<lanterna::sim::SimulatedProjector>> projectors;
    std::unique_ptr<lanterna::ApplicationState> state;
    lanterna::AddressBook book;
    lanterna::HiveFile hive;
    std::string folder;
    std::string chosenFile;  // what the settings file chooser gives
    std::unique_ptr<CMainDialog> window;
    std::vector<lanterna::dialogs::MenuCommand> menuShown;
    int menuChoice = CMainDialog::kApplySettingsFileCommand;
    int searchesDone = 0;
};

std::vector<std::string> Column(const ui::CTableView* table, int column) {
    std::vector<std::string> cells;
    for (int row = 0; table != nullptr && row < table->RowCount(); ++row) {
        cells.push_back(table->CellText(row, column));
    }
    return cells;
}

// Two of three selected, one of them locked: its password is asked for again after a wrong one,
// and not asked for the write (the preview's read found it), the preview lists exactly the settings
// that differ, the two receive the template's lines and keep their own names, the third receives
// nothing.
TEST_F(SelectionOnLoopback, TemplateGoesToTheSelectedProjectorsOnly) {
    lanterna::ProjectorRecord site{};
    lanterna::CopyText(site.projectorName, "TEMPLATE");
    site.imType = 21;
    site.ipAddress = {10, 9, 9, 9};
    site.subnetMask = {255, 0, 0, 0};
    site.dns1 = {10, 0, 0, 53};
    site.dns1State = site.dns2State = lanterna::kStateRead;
    lanterna::CopyText(site.community, "site");
    const std::string file = folder + "/site.ini";
    ASSERT_EQ(lanterna::WriteSettingsFile(site, file), 1);
    Open(file);
    ASSERT_EQ(state->projectors.Size(), 3u);
    window->SelectProjectors({Record("ROOM-1"), Record("ROOM-2")});
    ASSERT_EQ(window->SelectedProjectors().size(), 2u);

    using namespace lanterna::dialogs;
    std::vector<std::string> prompts;
    std::vector<std::string> previewed;
    std::vector<std::string> results;
    ui::test::ScriptNextDialog(kFleetProgressTemplate, [](ui::CDialog&) {}, kWaitMs);
    for (const char* typed : {"wrong", "lab"}) {  // a refused password is asked for again
        ui::test::ScriptNextDialog(kPasswordInputTemplate, [&prompts, typed](ui::CDialog& dialog) {
            prompts.push_back(dialog.GetDlgItemText(CPasswordInputDialog::kTextLabel));
            dialog.SetDlgItemText(CPasswordInputDialog::kPasswordEdit, typed);
            dialog.ClickButton(ui::IDOK);
        });
    }
    ui::test::ScriptNextDialog(kApplyPreviewTemplate, [&](ui::CDialog& dialog) {
        const auto* table = dialog.GetDlgItemAs<ui::CTableView>(CApplyPreviewDialog::kChangesTable);
        for (int row = 0; table != nullptr && row < table->RowCount(); ++row) {
            previewed.push_back(table->CellText(row, 0).substr(0, 6) + " " +
                                table->CellText(row, 1) + " " + table->CellText(row, 3));
        }
        dialog.ClickButton(ui::IDOK);
    });
    ui::test::ScriptNextDialog(kFleetProgressTemplate, [](ui::CDialog&) {}, kWaitMs);
    ui::test::ScriptNextDialog(kFleetResultsTemplate, [&](ui::CDialog& dialog) {
        results = Column(dialog.GetDlgItemAs<ui::CTableView>(CFleetTableDialog::kTable), 0);
        dialog.ClickButton(CFleetTableDialog::kSaveCsvButton);
        dialog.ClickButton(ui::IDOK);
    });
    window->SendCommand(CMainDialog::kListControl, ui::Notify::RightClicked);

    ASSERT_FALSE(menuShown.empty());
    EXPECT_EQ(menuShown.front().id, CMainDialog::kApplySettingsFileCommand);
    ASSERT_EQ(prompts.size(), 2u) << "not asked again for the write";
    for (const std::string& prompt : prompts) {
        EXPECT_NE(prompt.find("ROOM-2 (127.89.2.2)"), std::string::npos) << prompt;
    }
    // The settings as the dialogs name them, in the user's language.
    EXPECT_THAT(previewed, UnorderedElementsAre(
                               "ROOM-1 커뮤니티 이름 site", "ROOM-1 기본 설정 DNS 서버 10.0.0.53",
                               "ROOM-2 커뮤니티 이름 site", "ROOM-2 기본 설정 DNS 서버 10.0.0.53"));
    EXPECT_THAT(results, UnorderedElementsAre("ROOM-1 (127.89.2.1)", "ROOM-2 (127.89.2.2)"));
    for (std::size_t i = 0; i < projectors.size(); ++i) {
        ASSERT_TRUE(lanterna::test::WaitUntilSessionsEnd(*projectors[i]));
        const std::vector<std::string> log = projectors[i]->CommandLog();
        const auto wrote = [&log](const std::string& line) {
            return std::find(log.begin(), log.end(), line) != log.end();
        };
        EXPECT_EQ(wrote("NWCNAME site"), i < 2) << i;
        EXPECT_EQ(wrote("NWDNS 10.0.0.53 0.0.0.0"), i < 2) << i;
        EXPECT_EQ(projectors[i]->Settings().community, i < 2 ? "site" : "public") << i;
        EXPECT_EQ(projectors[i]->Settings().name, "ROOM-" + std::to_string(i + 1));
    }
    EXPECT_THAT(projectors[2]->CommandLog(), IsEmpty()) << "the one not selected";
    std::ifstream csv(folder + "/results.csv");
    std::vector<std::string> lines;
    for (std::string line; std::getline(csv, line);) {
        lines.push_back(line.substr(0, line.find(',')));
    }
    EXPECT_EQ(lines.size(), 3u) << "titles and two rows";
}

// A template that cannot be used names the key that is wrong, and no projector is reached.
// A file with a wrong key names it; a file of nothing but a projector's own identity says it
// changes nothing. Neither reads a projector.
TEST_F(SelectionOnLoopback, TemplateThatCannotBeUsedNamesItsWrongKey) {
    const std::string file = folder + "/bad.ini";
    const std::string identity = folder + "/identity.ini";
    std::ofstream(file) << "[FILE]\nNM_INIVER=200\n[SNMP]\nNM_TRAP1=300.1.1.1\n";
    std::ofstream(identity) << "[FILE]\nNM_INIVER=200\n[COMMON]\nNM_PROJECTORNAME=HALL-1F\n"
                               "[NETWORK]\nNM_DHCP=1\n";
    Open(file);
    window->SelectProjectors({Record("ROOM-1"), Record("ROOM-3")});
    ui::test::AnswerNextMessage(ui::IDOK);
    window->SendCommand(CMainDialog::kListControl, ui::Notify::RightClicked);
    std::vector<ui::test::ShownMessage> shown = ui::test::ShownMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].text.find("[SNMP] NM_TRAP1=300.1.1.1"), std::string::npos)
        << shown[0].text;
    chosenFile = identity;
    ui::test::ClearShownMessages();
    ui::test::AnswerNextMessage(ui::IDOK);
    window->SendCommand(CMainDialog::kListControl, ui::Notify::RightClicked);
    shown = ui::test::ShownMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, lanterna::LoadString(lanterna::kStringTemplateEmpty));
    for (const auto& projector : projectors) {
        ASSERT_TRUE(lanterna::test::WaitUntilSessionsEnd(*projector));
        EXPECT_THAT(projector->CommandLog(), IsEmpty());
    }
}

// One new password for the two selected (the current password asked for of the one that has
// one, a wrong one asked for again), then an audit, the inventory and the backup of the same
// two, which ask nothing: the session remembers the new password.
TEST_F(SelectionOnLoopback, PasswordChangeOfTheSelectionIsRememberedByAuditInventoryAndBackup) {
    Open(folder + "/unused.ini");
    window->SelectProjectors({Record("ROOM-1"), Record("ROOM-2")});
    using namespace lanterna::dialogs;
    int prompts = 0;
    int lockedPrompts = 0;
    std::vector<std::vector<std::string>> findings;
    std::string summary;
    ui::test::ScriptNextDialog(kFleetPasswordTemplate, [](ui::CDialog& dialog) {
        dialog.SetDlgItemText(CFleetPasswordDialog::kNewEdit, "fresh");
        dialog.SetDlgItemText(CFleetPasswordDialog::kRepeatEdit, "fresh");
        dialog.ClickButton(ui::IDOK);
    });
    ui::test::ScriptNextDialog(kFleetProgressTemplate, [](ui::CDialog&) {}, kWaitMs);
    // The current password of the locked one, whose first answer is wrong; the other asks for
    // none.
    for (int prompt = 0; prompt < 2; ++prompt) {
        ui::test::ScriptNextDialog(
            kPasswordInputTemplate, [&prompts, &lockedPrompts](ui::CDialog& dialog) {
                ++prompts;
                const bool locked =
                    dialog.GetDlgItemText(CPasswordInputDialog::kTextLabel).find("ROOM-2") !=
                    std::string::npos;
                lockedPrompts += locked ? 1 : 0;
                const char* typed = !locked ? "" : lockedPrompts == 1 ? "wrong" : "lab";
                dialog.SetDlgItemText(CPasswordInputDialog::kPasswordEdit, typed);
                dialog.ClickButton(ui::IDOK);
            });
    }
    ui::test::ScriptNextDialog(kFleetResultsTemplate,
                               [](ui::CDialog& dialog) { dialog.ClickButton(ui::IDOK); });
    menuChoice = CMainDialog::kChangePasswordsCommand;
    window->SendCommand(CMainDialog::kListControl, ui::Notify::RightClicked);
    EXPECT_EQ(prompts, 2);
    EXPECT_EQ(lockedPrompts, 2) << "the wrong current password was not asked for again";
    for (const std::size_t i : {0u, 1u}) {
        ASSERT_TRUE(lanterna::test::WaitUntilSessionsEnd(*projectors[i]));
        EXPECT_EQ(projectors[i]->Settings().password, "fresh") << i;
    }
    EXPECT_EQ(projectors[2]->Settings().password, "");

    ui::test::ScriptNextDialog(kFleetProgressTemplate, [](ui::CDialog&) {}, kWaitMs);
    ui::test::ScriptNextDialog(kAuditTemplate, [&](ui::CDialog& dialog) {
        findings = dialog.GetDlgItemAs<ui::CTableView>(CAuditDialog::kGroupsTable)->Rows();
        summary = dialog.GetDlgItemText(CAuditDialog::kSummaryLabel);
        dialog.ClickButton(ui::IDOK);
    });
    menuChoice = CMainDialog::kAuditCommand;
    window->SendCommand(CMainDialog::kListControl, ui::Notify::RightClicked);
    // Both read with the new password: no finding of a missing one, the community "public" kept.
    EXPECT_EQ(summary, "점검한 프로젝터 2대: 심각 0, 경고 2, 참고 0, 읽지 못함 0");
    EXPECT_EQ(findings,
              (std::vector<std::vector<std::string>>{{"경고", "널리 알려진 커뮤니티 이름", "2"}}));

    ui::test::ScriptNextDialog(kFleetProgressTemplate, [](ui::CDialog&) {}, kWaitMs);
    ui::test::ScriptNextDialog(kFleetResultsTemplate,
                               [](ui::CDialog& dialog) { dialog.ClickButton(ui::IDOK); });
    menuChoice = CMainDialog::kExportInventoryCommand;
    window->SendCommand(CMainDialog::kListControl, ui::Notify::RightClicked);
    EXPECT_EQ(prompts, 2) << "the new password was remembered";
    std::ifstream csv(folder + "/inventory.csv");
    std::vector<std::string> firstCells;
    for (std::string line; std::getline(csv, line);) {
        firstCells.push_back(line.substr(0, line.find(',')));
    }
    EXPECT_THAT(firstCells, ElementsAre("address", "127.89.2.1", "127.89.2.2"));

    // The backup: a line per projector as it is read, then a folder of its own with a settings
    // file per projector and the index.
    std::vector<std::string> saved;
    const ProgressLines progress;
    ui::test::ScriptNextDialog(kFleetProgressTemplate, [](ui::CDialog&) {}, kWaitMs);
    ui::test::ScriptNextDialog(kFleetResultsTemplate, [&](ui::CDialog& dialog) {
        saved = Column(dialog.GetDlgItemAs<ui::CTableView>(CFleetTableDialog::kTable), 2);
        dialog.ClickButton(ui::IDOK);
    });
    menuChoice = CMainDialog::kSaveSettingsFilesCommand;
    window->SendCommand(CMainDialog::kListControl, ui::Notify::RightClicked);
    EXPECT_EQ(prompts, 2);
    std::vector<std::string> files;
    for (const auto& run : std::filesystem::directory_iterator(folder)) {
        if (run.is_directory()) {
            for (const auto& file : std::filesystem::directory_iterator(run.path())) {
                files.push_back(file.path().filename().string());
            }
        }
    }
    const std::string read = OutcomeWords(lanterna::fleet::Outcome::kRead);
    EXPECT_THAT(progress.last,
                UnorderedElementsAre(std::vector<std::string>{"ROOM-1 (127.89.2.1)", read},
                                     std::vector<std::string>{"ROOM-2 (127.89.2.2)", read}));
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_THAT(files, UnorderedElementsAre("index.csv", saved[0], saved[1]));
    EXPECT_THAT(projectors[2]->CommandLog(), IsEmpty()) << "the one not selected";
}

// The audit of two projectors without a password that keep the community "public": its findings
// grouped by kind in the user's words, the projectors of the kind chosen beneath, each whole in
// the pane below; the dialog takes the room it is given. An audit without findings says so.
TEST_F(SelectionOnLoopback, AuditGroupsItsFindingsInTheUsersWordsAndTakesTheRoom) {
    using namespace lanterna::dialogs;
    Open(folder + "/unused.ini");
    window->SelectProjectors({Record("ROOM-1"), Record("ROOM-3")});
    std::vector<std::vector<std::string>> groups;
    std::vector<std::string> beneath;
    std::string summary;
    std::string meaning;
    std::string pane;
    int grown = 0;
    ui::test::ScriptNextDialog(
        kFleetProgressTemplate, [](ui::CDialog&) {}, kWaitMs);
    ui::test::ScriptNextDialog(kAuditTemplate, [&](ui::CDialog& dialog) {
        auto* kinds = dialog.GetDlgItemAs<ui::CTableView>(CAuditDialog::kGroupsTable);
        auto* projectorsTable = dialog.GetDlgItemAs<ui::CTableView>(CAuditDialog::kProjectorsTable);
        groups = kinds->Rows();
        summary = dialog.GetDlgItemText(CAuditDialog::kSummaryLabel);
        kinds->setFocus();
        QTest::keyClick(kinds, Qt::Key_Down);  // the second kind
        meaning = dialog.GetDlgItemText(CAuditDialog::kMeaningLabel);
        beneath = Column(projectorsTable, 0);
        pane = dialog.GetDlgItemText(CAuditDialog::kRowDetails);
        const int before = projectorsTable->height();
        dialog.resize(dialog.size() + QSize(200, 150));
        QApplication::processEvents();
        grown = projectorsTable->height() - before;
        dialog.ClickButton(ui::IDOK);
    });
    menuChoice = CMainDialog::kAuditCommand;
    window->SendCommand(CMainDialog::kListControl, ui::Notify::RightClicked);
    EXPECT_EQ(summary, "점검한 프로젝터 2대: 심각 2, 경고 2, 참고 0, 읽지 못함 0");
    EXPECT_EQ(groups, (std::vector<std::vector<std::string>>{
                          {"심각", "암호 없음", "2"}, {"경고", "널리 알려진 커뮤니티 이름", "2"}}));
    EXPECT_EQ(meaning, lanterna::LoadString(380));
    EXPECT_THAT(beneath, ElementsAre("ROOM-1 (127.89.2.1)", "ROOM-3 (127.89.2.3)"));
    EXPECT_EQ(pane, "프로젝터: ROOM-1 (127.89.2.1)\n자세한 내용: 커뮤니티 \"public\"");
    EXPECT_EQ(grown, 150) << "the list of projectors takes the height gained";

    bool tablesShown = true;
    CAuditDialog::Content none;
    none.summary = "-";
    CAuditDialog empty(std::move(none));
    ui::test::RunModal(empty, [&](ui::CDialog& dialog) {
        tablesShown = dialog.IsDlgItemVisible(CAuditDialog::kGroupsTable) ||
                      dialog.IsDlgItemVisible(CAuditDialog::kProjectorsTable);
        dialog.ClickButton(ui::IDOK);
    });
    EXPECT_FALSE(tablesShown) << "no empty grid";
}

// Counts worded in English take their singular.
TEST(CountWords, EnglishHasASingular) {
    const lanterna::test::ScopedLanguage english(lanterna::Language::English);
    using lanterna::dialogs::CountWords;
    EXPECT_EQ(CountWords(1, lanterna::kStringOneWarning, lanterna::kStringWarningsCount),
              "1 warning");
    EXPECT_EQ(CountWords(0, lanterna::kStringOneWarning, lanterna::kStringWarningsCount),
              "0 warnings");
    EXPECT_EQ(CountWords(1, lanterna::kStringResultsSummaryOne, lanterna::kStringResultsSummary,
                         {"1", "0", "0"}),
              "1 projector: 1 succeeded, 0 failed, 0 not started");
}

}  // namespace
}  // namespace mainwindowtest
