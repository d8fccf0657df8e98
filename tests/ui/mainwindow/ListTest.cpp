// The projector list: fixed rows, rows of projectors, refresh order, the limit, the address
// book across runs, the popup menu and delete, and keys that must not close the window.
#include <QTest>
#include <QTreeView>

#include "MainWindowTestSupport.h"
#include "dialogs/DemonstrationProjectors.h"
#include "dialogs/MainDialogDefaults.h"
#include "discovery/PjlinkSide.h"
#include "platform/FixedText.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "settings/AddressBookStore.h"
#include "tests/support/files/TempFolder.h"
#include "tests/support/language/LanguageTestSupport.h"
#include "ui/ListView.h"

namespace mainwindowtest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kConnectByAddress = "IP 지정 접속";
const std::string kWiredFile = "환경 설정 파일 작성(유선용)";
const std::string kWirelessFile = "환경 설정 파일 작성(무선용)";

class ProjectorListTest : public MainWindowTest {
  protected:
    lanterna::HiveFile Hive() const { return {TempPath("hive"), lanterna::RealFileSeam()}; }
    void StoreBook(const std::vector<std::pair<std::string, std::string>>& entries) {
        lanterna::AddressBook stored;
        for (const auto& [entry, type] : entries) {
            stored.Append(entry, type);
        }
        ASSERT_EQ(lanterna::SaveAddressBook(stored, Hive()), 1);
    }
    std::vector<int> MenuIds() const {
        std::vector<int> ids;
        for (const MenuCommand& command : lastMenu) {
            ids.push_back(command.id);
        }
        return ids;
    }
    void RightClickRow(int row) {
        window->ListView(CMainDialog::kListControl)->SelectRow(row);
        window->SendCommand(CMainDialog::kListControl, ui::Notify::RightClicked);
    }
};

// ---- rows ---------------------------------------------------------------------------------

TEST_F(ProjectorListTest, FreshStartShowsExactlyTheThreeFixedRows) {
    Open();
    EXPECT_THAT(Labels(), ElementsAre(kConnectByAddress, kWiredFile, kWirelessFile));
    EXPECT_THAT(Images(), ElementsAre(0, 3, 4));
    EXPECT_EQ(window->GetWindowText(), "Lanterna");
    EXPECT_EQ(window->ListView(CMainDialog::kListControl)->ImageCount(), 5);
    EXPECT_TRUE(state->projectors.Empty());
    EXPECT_EQ(searches, 1);
}

TEST_F(ProjectorListTest, WindowIsUpBeforeItsFirstSearchRuns) {
    window = std::make_unique<CMainDialog>(
        *state,
        lanterna::dialogs::AddressBookPlace{*book, {TempPath("hive"), lanterna::RealFileSeam()}},
        Services());
    ASSERT_TRUE(window->Create());
    window->show();
    EXPECT_EQ(searches, 0) << "opening the window must not wait for the search";
    EXPECT_TRUE(window->AddressBookPending());
    EXPECT_TRUE(ui::test::PumpUntil([&] { return searches == 1; }));
    EXPECT_FALSE(window->AddressBookPending());
}

TEST_F(ProjectorListTest, FoundProjectorsShowNameAboveAddressWithTheFoundImage) {
    found = {MakeProjector("HALL", "10.1.1.5"), MakeProjector("", "10.1.1.6")};
    Open();
    EXPECT_THAT(Labels(), ElementsAre(kConnectByAddress, kWiredFile, kWirelessFile,
                                      "\n10.1.1.6", "HALL\n10.1.1.5"));
    EXPECT_THAT(Images(), ElementsAre(0, 3, 4, 2, 2));
    ExpectRowsMatchRecords();
}

// A right-to-left override in a name is shown as a mark and reorders nothing: the name is set
// apart from the address line under it (and from the details view's other columns).
TEST_F(ProjectorListTest, ANameCannotReorderItselfOrTheAddressUnderIt) {
    found = {MakeProjector("ROOM\xE2\x80\xAE" "exe.1", "10.88.1.4")};
    Open();
    const std::string isolated = "\xE2\x81\xA8ROOM[U+202E]exe.1\xE2\x81\xA9";
    EXPECT_THAT(Labels(), ElementsAre(kConnectByAddress, kWiredFile, kWirelessFile,
                                      isolated + "\n10.88.1.4"));
    EXPECT_EQ(Labels().back().find("\xE2\x80\xAE"), std::string::npos);
}

TEST_F(ProjectorListTest, DuplicatesWithTheSameNameGoButTheSameAddressUnderAnotherNameStays) {
    found = {MakeProjector("A", "10.1.1.5"), MakeProjector("B", "10.1.1.6"),
             MakeProjector("A", "10.1.1.5"), MakeProjector("A2", "10.1.1.5")};
    Open();
    EXPECT_THAT(Labels(), ElementsAre(kConnectByAddress, kWiredFile, kWirelessFile, "A\n10.1.1.5",
                                      "A2\n10.1.1.5", "B\n10.1.1.6"));
    ExpectRowsMatchRecords();
}

TEST_F(ProjectorListTest, AddressBookEntryAlsoFoundIsListedOnceAsFound) {
    StoreBook({{"OLDNAME\n10.1.1.5", "21"}, {"ROOM\n10.1.1.9", "30"}, {"no-line-feed", "0"}});
    found = {MakeProjector("HALL", "10.1.1.5")};
    Open();
    EXPECT_THAT(Labels(), ElementsAre(kConnectByAddress, kWiredFile, kWirelessFile,
                                      "HALL\n10.1.1.5", "ROOM\n10.1.1.9"));
    EXPECT_THAT(Images(), ElementsAre(0, 3, 4, 2, 1));
    EXPECT_EQ(state->projectors.At(1)->imType, 30);
    EXPECT_EQ(book->Size(), 3u);  // the entry without a line feed stays in the book
    ExpectRowsMatchRecords();
}

TEST_F(ProjectorListTest, AddressBookIsLoadedOnceAndMergedAtEveryRefresh) {
    StoreBook({{"ROOM\n10.1.1.9", "30"}});
    Open();
    EXPECT_FALSE(window->AddressBookPending());
    window->ClickButton(CMainDialog::kRefreshButton);
    EXPECT_EQ(searches, 2);
    EXPECT_EQ(book->Size(), 1u);  // not loaded a second time
    EXPECT_THAT(Labels().back(), "ROOM\n10.1.1.9");
    ExpectRowsMatchRecords();
}

TEST_F(ProjectorListTest, PastTheLimitString149ShowsOnceAndTheFirstListedStay) {
    const std::size_t limit = lanterna::ProjectorList::kDisplayLimit;
    for (std::size_t i = 0; i < limit + 6; ++i) {
        found.push_back(MakeProjector("P" + std::to_string(i),
                                      "10.2." + std::to_string(i / 200) + "." +
                                          std::to_string(i % 200 + 1)));
    }
    Open();
    EXPECT_THAT(ShownIds(), ElementsAre(149));
    EXPECT_EQ(state->projectors.Size(), limit);
    EXPECT_GE(RowOf("P" + std::to_string(limit - 1)), 3);
    EXPECT_EQ(RowOf("P" + std::to_string(limit)), -1);
    ExpectRowsMatchRecords();
}

TEST_F(ProjectorListTest, DebugModeListsFiveDemonstrationProjectorsBeforeFoundOnes) {
    state->debugMode = 1;
    found = {MakeProjector("REAL", "10.1.1.5")};
    Open();
    ASSERT_EQ(state->projectors.Size(), 6u);
    const std::vector<int> origins{0, 1, 2, 0, 1};
    const std::vector<int> types{21, 22, 30, 22, 30};
    for (int i = 0; i < 5; ++i) {
        const ProjectorRecord& demo = *state->projectors.At(i);
        EXPECT_EQ(lanterna::TextOf(demo.address), "172.20.28.10" + std::to_string(i));
        EXPECT_EQ(demo.origin, origins[i]);
        EXPECT_EQ(demo.imType, types[i]);
        EXPECT_EQ(demo.wepEnabled, i >= 3 ? 1 : 0);
        EXPECT_EQ(demo.dhcp, (i == 0 || i == 2 || i == 3) ? 1 : 0);
        EXPECT_EQ(demo.mailNotify, (i == 0 || i == 1 || i == 3) ? 1 : 0);
    }
    EXPECT_EQ(state->projectors.At(0)->mailEvents1, 42u);
    EXPECT_EQ(lanterna::TextOf(state->projectors.At(5)->projectorName), "REAL");
    // Shown by name: HALL-1F, LAB-WL1, LAB-WL2, REAL, ROOM-201, ROOM-202.
    EXPECT_THAT(Images(), ElementsAre(0, 3, 4, 2, 2, 1, 2, 1, 1));
    ExpectRowsMatchRecords();
}

// ---- popup menu and delete ----------------------------------------------------------------

TEST_F(ProjectorListTest, PopupMenuOffersDeleteOnlyForAddedAndImportedProjectors) {
    StoreBook({{"ADDED\n10.1.1.9", "30"}});
    found = {MakeProjector("FOUND", "10.1.1.5")};
    Open();
    RightClickRow(RowOf("FOUND"));
    EXPECT_THAT(MenuIds(), ElementsAre(CMainDialog::kSettingsCommand,
                                       CMainDialog::kChangePasswordCommand,
                                       CMainDialog::kSaveSettingsFilesCommand,
                                       CMainDialog::kAuditCommand,
                                       CMainDialog::kExportInventoryCommand,
                                       CMainDialog::kHealthCommand,
                                       CMainDialog::kPowerOnCommand,
                                       CMainDialog::kPowerOffCommand,
                                       CMainDialog::kDetailsViewCommand,
                                       CMainDialog::kOtherSubnetsCommand));
    EXPECT_EQ(state->selectedIndex, 0);
    RightClickRow(RowOf("ADDED"));
    ASSERT_EQ(lastMenu.size(), 11u);
    EXPECT_EQ(lastMenuName, "프로젝터 메뉴");
    EXPECT_EQ(lastMenu[1].id, CMainDialog::kDeleteCommand);
    EXPECT_EQ(lastMenu[1].text, "삭제");
    state->projectors.At(1)->origin = 2;
    EXPECT_EQ(window->PopupMenuFor(RowOf("ADDED")).size(), 11u);
    RightClickRow(1);  // a fixed row: only the window's own commands
    ASSERT_EQ(lastMenu.size(), 2u);
    EXPECT_EQ(lastMenu[0].id, CMainDialog::kDetailsViewCommand);
    EXPECT_EQ(lastMenu[1].text, "다른 서브넷...");
}

// A projector only PJLink found is marked, and whatever its network module would be asked is
// greyed with the reason (for a selection of such projectors too): not run when chosen, and
// opening it says why instead of probing.
TEST_F(ProjectorListTest, AProjectorOnlyPjlinkFoundIsMarkedAndKeptFromItsModulesCommands) {
    ProjectorRecord lamp = MakeProjector("ROOM-202", "10.1.1.7");
    lamp.foundBy = lanterna::kFinderPjlink;
    ProjectorRecord lamp2 = MakeProjector("ROOM-203", "10.1.1.8");
    lamp2.foundBy = lanterna::kFinderPjlink;
    found = {MakeProjector("FOUND", "10.1.1.5"), lamp, lamp2};
    Open();
    const int row = RowOf("ROOM-202");
    ASSERT_GE(row, 0);
    EXPECT_EQ(CMainDialog::RowLabelOf(*window->Rows().EntryAt(row).record),
              CMainDialog::RowLabelOf(MakeProjector("ROOM-202", "10.1.1.7")) + " (PJLink만)");
    const auto expectOnlyPjlinkOffered = [&](std::size_t size) {
        ASSERT_EQ(lastMenu.size(), size);
        for (const MenuCommand& command : lastMenu) {
            const bool offered = command.id == CMainDialog::kDetailsViewCommand ||
                                 command.id == CMainDialog::kOtherSubnetsCommand ||
                                 command.id == CMainDialog::kHealthCommand ||
                                 command.id == CMainDialog::kPowerOnCommand ||
                                 command.id == CMainDialog::kPowerOffCommand;
            EXPECT_EQ(command.greyedReason.empty(), offered) << command.id;
        }
        EXPECT_EQ(lastMenu[0].greyedReason,
                  lanterna::LoadString(lanterna::kStringPjlinkOnlyNoSettings));
    };
    RightClickRow(row);
    expectOnlyPjlinkOffered(10);
    const auto* room202 = window->Rows().EntryAt(row).record;
    const auto* room203 = window->Rows().EntryAt(RowOf("ROOM-203")).record;
    const auto* foundRecord = window->Rows().EntryAt(RowOf("FOUND")).record;
    window->SelectProjectors({room202, room203});
    window->SendCommand(CMainDialog::kListControl, ui::Notify::RightClicked);
    expectOnlyPjlinkOffered(10);
    window->SelectProjectors({room202, foundRecord});
    window->SendCommand(CMainDialog::kListControl, ui::Notify::RightClicked);
    EXPECT_TRUE(lastMenu[0].greyedReason.empty()) << "a module among them is reached";
    const std::size_t shownBefore = ShownIds().size();
    menuChoice = CMainDialog::kSettingsCommand;
    RightClickRow(row);
    EXPECT_EQ(ShownIds().size(), shownBefore) << "a greyed command is not run";
    window->OpenProjector(row);
    EXPECT_TRUE(operations.empty()) << "nothing is asked of its network module";
    EXPECT_EQ(settingsRuns, 0);
    ASSERT_EQ(ShownIds().size(), shownBefore + 1);
    EXPECT_EQ(ShownIds().back(), lanterna::kStringPjlinkOnlyNoSettings);
    menuChoice = 0;
    RightClickRow(RowOf("FOUND"));
    for (const MenuCommand& command : lastMenu) {
        EXPECT_TRUE(command.greyedReason.empty()) << command.id;
    }
}

// A read tells the module's hardware address: the row only PJLink found for the same projector
// (its search reported that hardware address, from another address) joins the read one, and
// joins it again after a refresh.
TEST_F(ProjectorListTest, AReadJoinsTheRowOnlyPjlinkFoundForTheSameProjector) {
    ProjectorRecord side = MakeProjector("", "10.1.1.50");
    side.foundBy = lanterna::kFinderPjlink;
    lanterna::CopyText(side.pjlinkMacAddress, "02:00:0A:01:01:05");
    found = {MakeProjector("HALL-1F", "10.1.1.5"), side};
    Open();
    const std::size_t listed = state->projectors.Size();
    operationResults = {1, 1};
    duringOperation = [this](WorkerMode mode) {
        if (mode == WorkerMode::kRead) {
            lanterna::CopyText(state->SelectedRecord()->macAddress, "02000A010105");
        }
    };
    window->OnDoubleClick(RowOf("HALL-1F"));
    EXPECT_EQ(settingsRuns, 1) << "the settings open on the read projector as ever";
    const auto expectJoined = [&] {
        ASSERT_EQ(state->projectors.Size(), listed - 1);
        const ProjectorRecord* hall = window->Rows().EntryAt(RowOf("HALL-1F")).record;
        ASSERT_NE(hall, nullptr);
        EXPECT_EQ(hall->foundBy & lanterna::kFinderPjlink, lanterna::kFinderPjlink);
        EXPECT_EQ(lanterna::PjlinkAddressOf(*hall), "10.1.1.50");
        ExpectRowsMatchRecords();
    };
    expectJoined();
    duringOperation = nullptr;
    window->Refresh(false);
    expectJoined();
}

TEST_F(ProjectorListTest, InEnglishTheFixedRowsAndThePopupMenuSpeakEnglish) {
    const lanterna::test::ScopedLanguage english(lanterna::Language::English);
    StoreBook({{"ADDED\n10.1.1.9", "30"}});
    found = {MakeProjector("FOUND", "10.1.1.5")};
    Open();
    EXPECT_THAT(Labels(), ElementsAre("Connect by IP address", "Create configuration file (wired)",
                                      "Create configuration file (wireless)", "ADDED\n10.1.1.9",
                                      "FOUND\n10.1.1.5"));
    // A screen reader names the list and its popup menu, neither after the window.
    EXPECT_EQ(window->ListView(CMainDialog::kListControl)->accessibleName(), "Projectors");
    EXPECT_EQ(window->DetailsView()->accessibleName(), "Projectors");
    RightClickRow(RowOf("ADDED"));
    EXPECT_EQ(lastMenuName, "Projector commands");
    std::vector<std::string_view> texts;
    for (const MenuCommand& command : lastMenu) {
        texts.push_back(command.text);
    }
    EXPECT_THAT(texts, ElementsAre("Settings", "Delete", "Change password",
                                   "Save settings files…", "Audit…", "Export inventory…",
                                   "Health…", "Power on", "Power off", "Details view",
                                   "Other subnets..."));
}

// Ctrl+A, Shift+arrows and Ctrl-click select many; a fixed row never stays among them; the
// menu of several offers the commands on a selection; a plain click selects one again.
TEST_F(ProjectorListTest, ManySelectedNeverHoldAFixedRowAndGetTheSelectionMenu) {
    found = {MakeProjector("ROOM-1", "10.1.1.1"), MakeProjector("ROOM-2", "10.1.1.2"),
             MakeProjector("ROOM-3", "10.1.1.3"), MakeProjector("ROOM-4", "10.1.1.4")};
    Open();
    ui::CListView* list = window->ListView(CMainDialog::kListControl);
    const auto names = [&] {
        std::vector<std::string> selected;
        for (const ProjectorRecord* record : window->SelectedProjectors()) {
            selected.emplace_back(lanterna::TextOf(record->projectorName));
        }
        return selected;
    };
    const auto click = [&](int row, Qt::KeyboardModifiers modifiers) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                          list->ItemRect(row).center());
    };
    list->setFocus();
    click(0, Qt::NoModifier);  // a fixed row alone may be selected
    EXPECT_THAT(list->SelectedRows(), ElementsAre(0));
    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    EXPECT_THAT(names(), ElementsAre("ROOM-1", "ROOM-2", "ROOM-3", "ROOM-4"));
    EXPECT_THAT(list->SelectedRows(), ElementsAre(3, 4, 5, 6));
    click(RowOf("ROOM-2"), Qt::NoModifier);
    EXPECT_THAT(names(), ElementsAre("ROOM-2"));
    QTest::keyClick(list, Qt::Key_Right, Qt::ShiftModifier);
    click(RowOf("ROOM-4"), Qt::ControlModifier);
    click(2, Qt::ControlModifier);  // a fixed row among projectors is left out
    EXPECT_THAT(names(), ElementsAre("ROOM-2", "ROOM-3", "ROOM-4"));
    EXPECT_THAT(list->SelectedRows(), ElementsAre(4, 5, 6));
    window->SendCommand(CMainDialog::kListControl, ui::Notify::RightClicked);
    EXPECT_THAT(MenuIds(), ElementsAre(CMainDialog::kApplySettingsFileCommand,
                                       CMainDialog::kChangePasswordsCommand,
                                       CMainDialog::kSaveSettingsFilesCommand,
                                       CMainDialog::kAuditCommand,
                                       CMainDialog::kExportInventoryCommand,
                                       CMainDialog::kHealthCommand,
                                       CMainDialog::kPowerOnCommand,
                                       CMainDialog::kPowerOffCommand,
                                       CMainDialog::kDetailsViewCommand,
                                       CMainDialog::kOtherSubnetsCommand));
    EXPECT_EQ(lastMenu[0].text, "설정 파일 적용…");
    click(RowOf("ROOM-3"), Qt::NoModifier);
    EXPECT_THAT(names(), ElementsAre("ROOM-3"));
}

TEST_F(ProjectorListTest, DeletingAnAddedProjectorRemovesRowRecordAndBookEntry) {
    StoreBook({{"ONE\n10.1.1.7", "21"}, {"TWO\n10.1.1.8", "21"}, {"THREE\n10.1.1.9", "22"}});
    found = {MakeProjector("FOUND", "10.1.1.5")};
    Open();
    menuChoice = CMainDialog::kDeleteCommand;
    RightClickRow(RowOf("TWO"));
    EXPECT_EQ(state->selectedIndex, -1);
    EXPECT_THAT(Labels(), ElementsAre(kConnectByAddress, kWiredFile, kWirelessFile,
                                      "FOUND\n10.1.1.5", "ONE\n10.1.1.7", "THREE\n10.1.1.9"));
    EXPECT_THAT(book->ManualEntries(), ElementsAre("ONE\n10.1.1.7", "THREE\n10.1.1.9"));
    ExpectRowsMatchRecords();

    // The rows after it open their own projectors.
    operationResults = {1, 1};
    window->OnDoubleClick(RowOf("THREE"));
    ASSERT_EQ(operations.size(), 2u);
    EXPECT_EQ(operations[0].currentAddress, "10.1.1.9");
}

TEST_F(ProjectorListTest, SettingsAndPasswordCommandsWorkOnTheProjectorUnderTheMenu) {
    found = {MakeProjector("FIRST", "10.1.1.5"), MakeProjector("SECOND", "10.1.1.6")};
    Open();
    menuChoice = CMainDialog::kSettingsCommand;
    operationResults = {1, 1};
    RightClickRow(4);
    ASSERT_EQ(operations.size(), 2u);
    EXPECT_EQ(operations[0].currentAddress, "10.1.1.6");
    EXPECT_EQ(settingsRuns, 1);
    menuChoice = CMainDialog::kChangePasswordCommand;
    RightClickRow(3);
    EXPECT_EQ(passwordChangeRuns, 1);
    EXPECT_EQ(state->selectedIndex, 0);
    EXPECT_EQ(operations.size(), 2u);
}

TEST_F(ProjectorListTest, ImportOffersListFilesFirstThenEveryFile) {
    EXPECT_EQ(
        lanterna::dialogs::ListFileFilters(),
        QStringList({QStringLiteral("Sentro 목록 파일 (*.ini)"), QStringLiteral("모든 파일 (*)")}));
}

TEST_F(ProjectorListTest, QuestionMarkButtonOffersHelpAndAbout) {
    Open();
    menuChoice = CMainDialog::kAboutCommand;
    window->ClickButton(CMainDialog::kAboutButton);
    ASSERT_EQ(lastMenu.size(), 2u);
    EXPECT_EQ(lastMenu[0].id, CMainDialog::kHelpCommand);
    EXPECT_EQ(lastMenu[0].text, "도움말");
    EXPECT_EQ(aboutRuns, 1);
    menuChoice = CMainDialog::kHelpCommand;
    window->ClickButton(CMainDialog::kAboutButton);
    EXPECT_EQ(helpRuns, 1);
    menuChoice = CMainDialog::kDeleteCommand;  // not on this menu
    window->ClickButton(CMainDialog::kAboutButton);
    EXPECT_EQ(aboutRuns + helpRuns, 2);
}

TEST_F(ProjectorListTest, FoundProjectorCannotBeDeletedThroughTheCommand) {
    found = {MakeProjector("FOUND", "10.1.1.5")};
    Open();
    menuChoice = CMainDialog::kDeleteCommand;
    RightClickRow(3);
    EXPECT_EQ(state->projectors.Size(), 1u);
}

// ---- address book across runs -------------------------------------------------------------

TEST_F(ProjectorListTest, AddressBookIsWrittenOnCloseAndReadAtTheNextStart) {
    Open();
    addressEntryAddress = {10, 3, 0, 7};
    addressEntryName = "NEWPJ";
    addressEntryResults = {1070};
    window->OnDoubleClick(0);
    ASSERT_THAT(book->ManualEntries(), ElementsAre("NEWPJ\n10.3.0.7"));

    Reopen();  // not closed: nothing was written
    EXPECT_TRUE(state->projectors.Empty());

    addressEntryResults = {1070};
    window->OnDoubleClick(0);
    window->close();  // the close request
    EXPECT_FALSE(window->isVisible());
    Reopen();
    EXPECT_THAT(book->ManualEntries(), ElementsAre("NEWPJ\n10.3.0.7"));
    EXPECT_THAT(Labels().back(), "NEWPJ\n10.3.0.7");
    EXPECT_THAT(Images().back(), 1);
}

TEST_F(ProjectorListTest, ClosingBeforeTheFirstRefreshLeavesTheBookAlone) {
    StoreBook({{"HALL-1F\n10.4.0.1", "21"}});
    window = std::make_unique<CMainDialog>(
        *state, lanterna::dialogs::AddressBookPlace{*book, Hive()}, Services());
    ASSERT_TRUE(window->Create());
    window->show();
    ASSERT_TRUE(window->AddressBookPending());
    window->close();
    lanterna::AddressBook reread;
    ASSERT_EQ(lanterna::LoadAddressBook(reread, Hive()), 1);
    EXPECT_THAT(reread.ManualEntries(), ElementsAre("HALL-1F\n10.4.0.1"))
        << "an empty book must not be written";
}

TEST_F(ProjectorListTest, EnterAndEscapeDoNotCloseTheWindow) {
    Open();
    window->activateWindow();
    QWidget* focus = window->focusWidget() != nullptr ? window->focusWidget() : window.get();
    QTest::keyClick(focus, Qt::Key_Escape);
    QTest::keyClick(focus, Qt::Key_Return);
    PumpEvents();
    EXPECT_TRUE(window->isVisible());
    EXPECT_THAT(ShownIds(), IsEmpty());
}

}  // namespace
}  // namespace mainwindowtest
