#include "MainWindowTestSupport.h"

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "platform/FixedText.h"
#include "record/DottedAddress.h"
#include "settings/AddressBookStore.h"
#include "ui/ListView.h"

namespace mainwindowtest {

ProjectorRecord MakeProjector(const std::string& name, const std::string& address, int origin,
                              int imType) {
    ProjectorRecord record{};
    lanterna::CopyText(record.projectorName, name);
    lanterna::CopyText(record.address, address);
    lanterna::ScanDottedInto(address, record.ipAddress);
    record.origin = origin;
    record.imType = static_cast<std::uint8_t>(imType);
    return record;
}

MainWindowTest::MainWindowTest()
    : state(std::make_unique<lanterna::ApplicationState>()),
      book(std::make_unique<lanterna::AddressBook>()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "mainwindow-XXXXXX").string();
    folder = mkdtemp(pattern.data());
}

MainWindowTest::~MainWindowTest() {
    window.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

void MainWindowTest::TearDown() {
    EXPECT_THAT(ui::test::TakeProblems(), ::testing::IsEmpty());
}

std::string MainWindowTest::TempPath(const std::string& name) const {
    return folder + "/" + name;
}

lanterna::dialogs::MainDialogServices MainWindowTest::Services() {
    lanterna::dialogs::MainDialogServices services;
    services.historyFolder = historyFolder;
    services.runSearch = [this](CMainDialog&, lanterna::ProjectorList& projectors) {
        ++searches;
        for (const ProjectorRecord& record : found) {
            projectors.Append(record);
        }
    };
    services.runOperation = [this](CMainDialog&, WorkerMode mode, bool passwordEntered) {
        operations.push_back({mode, passwordEntered,
                              std::string(lanterna::TextOf(state->currentAddress)),
                              state->readAllSettings});
        if (duringOperation) {
            duringOperation(mode);
        }
        if (operationResults.empty()) {
            ADD_FAILURE() << "unexpected progress run in mode " << static_cast<int>(mode);
            return -1;
        }
        const int result = operationResults.front();
        operationResults.pop_front();
        return result;
    };
    services.runAddressEntry = [this](CMainDialog&) {
        if (duringAddressEntry) {
            duringAddressEntry();
        }
        state->pendingAddress = addressEntryAddress;
        lanterna::CopyText(state->pendingName, addressEntryName);
        const int result = addressEntryResults.empty() ? ui::IDCANCEL : addressEntryResults.front();
        if (!addressEntryResults.empty()) {
            addressEntryResults.pop_front();
        }
        return result;
    };
    services.runPasswordInput = [this](CMainDialog&, lanterna::dialogs::PasswordPrompt& prompt) {
        const int result = passwordResults.empty() ? ui::IDCANCEL : passwordResults.front();
        if (!passwordResults.empty()) {
            passwordResults.pop_front();
        }
        if (result == ui::IDOK) {
            prompt.password = passwordTyped;
        }
        prompts.push_back(prompt);
        return result;
    };
    services.runNetworkSettings = [this](CMainDialog&, ProjectorRecord& record) {
        ++settingsRuns;
        if (duringSettings) {
            duringSettings(record);
        }
        const int result = settingsResults.empty() ? ui::IDCANCEL : settingsResults.front();
        if (!settingsResults.empty()) {
            settingsResults.pop_front();
        }
        return result;
    };
    services.runConfigFile = [this](CMainDialog&, bool wireless) {
        configFileRuns.push_back(wireless);
        return ui::IDCANCEL;
    };
    services.chooseListFile = [this](CMainDialog&) { return listFile; };
    services.runAbout = [this](CMainDialog&) { return ++aboutRuns, ui::IDOK; };
    services.runHelp = [this](CMainDialog&) { return ++helpRuns, ui::IDOK; };
    services.runPasswordChange = [this](CMainDialog&) {
        EXPECT_GE(state->selectedIndex, 0);
        return ++passwordChangeRuns, ui::IDCANCEL;
    };
    if (presenceRound) {
        services.presenceRound = [this](const std::vector<std::string>& addresses,
                                        const std::vector<lanterna::Greeting>&) {
            return presenceRound(addresses);
        };
    }
    services.trackPopupMenu = [this](CMainDialog&, const std::vector<MenuCommand>& menu, QPoint,
                                     std::string_view name) {
        lastMenuName = std::string(name);
        lastMenu = menu;
        ++menuRuns;
        return menuChoice;
    };
    return services;
}

void MainWindowTest::StoreBook() {
    lanterna::AddressBook stored;
    stored.Add("ROOM-201", {10, 1, 1, 9}, 22);
    ASSERT_EQ(lanterna::SaveAddressBook(stored, {TempPath("hive"), lanterna::RealFileSeam()}), 1);
}

CMainDialog& MainWindowTest::Open() {
    window = std::make_unique<CMainDialog>(
        *state,
        lanterna::dialogs::AddressBookPlace{*book, {TempPath("hive"), lanterna::RealFileSeam()}},
        Services());
    EXPECT_TRUE(window->Create());
    window->show();
    const int before = searches;
    EXPECT_TRUE(ui::test::PumpUntil([&] { return searches > before; }));
    return *window;
}

void MainWindowTest::Reopen() {
    window.reset();
    state = std::make_unique<lanterna::ApplicationState>();
    book = std::make_unique<lanterna::AddressBook>();
    Open();
}

std::vector<std::string> MainWindowTest::Labels() const {
    std::vector<std::string> labels;
    const ui::CListView* list = window->ListView(CMainDialog::kListControl);
    for (int row = 0; row < list->ItemCount(); ++row) {
        labels.push_back(list->ItemText(row));
    }
    return labels;
}

std::vector<int> MainWindowTest::Images() const {
    std::vector<int> images;
    const ui::CListView* list = window->ListView(CMainDialog::kListControl);
    for (int row = 0; row < list->ItemCount(); ++row) {
        images.push_back(list->ItemImage(row));
    }
    return images;
}

void MainWindowTest::ExpectRowsMatchRecords() const {
    const ui::CListView* list = window->ListView(CMainDialog::kListControl);
    ASSERT_EQ(static_cast<std::size_t>(list->ItemCount()), state->projectors.Size() + 3);
    std::set<const ProjectorRecord*> shown;
    for (int row = 0; row < list->ItemCount(); ++row) {
        const lanterna::dialogs::ListEntry entry = window->Rows().EntryAt(row);
        if (row < 3) {
            EXPECT_EQ(entry.fixedRow, row);
            continue;
        }
        ASSERT_TRUE(entry.IsProjector()) << "row " << row;
        EXPECT_EQ(list->ItemText(row), CMainDialog::RowLabelOf(*entry.record)) << "row " << row;
        EXPECT_EQ(list->ItemImage(row), CMainDialog::RowImageOf(*entry.record)) << "row " << row;
        shown.insert(entry.record);
    }
    state->projectors.ForEach([&](std::size_t index, const ProjectorRecord& record) {
        EXPECT_TRUE(shown.contains(&record)) << "record " << index << " has no row";
    });
}

int MainWindowTest::RowOf(const std::string& name) const {
    const ui::CListView* list = window->ListView(CMainDialog::kListControl);
    for (int row = 3; row < list->ItemCount(); ++row) {
        const auto* record = window->Rows().EntryAt(row).record;
        if (record != nullptr && lanterna::TextOf(record->projectorName) == name) {
            return row;
        }
    }
    return -1;
}

std::vector<int> MainWindowTest::ShownIds() const {
    std::vector<int> ids;
    for (const auto& shown : ui::test::ShownMessages()) {
        ids.push_back(shown.stringId);
    }
    return ids;
}

void MainWindowTest::DropOnRow(int row, const std::vector<std::string>& paths) {
    ui::CListView* list = window->ListView(CMainDialog::kListControl);
    const QPoint point = row >= 0 ? list->ItemRect(row).center() : QPoint(-50, -50);
    emit list->filesDropped(point, paths);
    PumpEvents();
}

void MainWindowTest::PumpEvents() {
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
    }
}

}  // namespace mainwindowtest
