#pragma once
// Shared pieces of the main-window tests: a fixture that owns the state, an address book in a
// temporary hive, and services that stand in for the searches and dialogs. The stand-in search
// appends prepared records (nothing leaves the process); the progress runs answer from a queue
// and record what they were asked.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/MainDialog.h"
#include "state/ApplicationState.h"
#include "ui/TestHooks.h"

namespace mainwindowtest {

using lanterna::ProjectorRecord;
using lanterna::WorkerMode;
using lanterna::dialogs::CMainDialog;
using lanterna::dialogs::MenuCommand;

// A record as the search or the address book would make it.
ProjectorRecord MakeProjector(const std::string& name, const std::string& address, int origin = 0,
                              int imType = 21);

struct OperationCall {
    WorkerMode mode;
    bool passwordEntered;
    std::string currentAddress;
    int readAllSettings;
};

class MainWindowTest : public ::testing::Test {
  protected:
    MainWindowTest();
    ~MainWindowTest() override;
    void TearDown() override;

    // The services of the window under test, each one a stand-in of this fixture.
    lanterna::dialogs::MainDialogServices Services();
    // Creates the window (not run modally) and lets its first refresh happen.
    CMainDialog& Open();
    // A window of a later start: same hive, a new state and a new book.
    void Reopen();

    // The labels and images of every row, in order.
    std::vector<std::string> Labels() const;
    std::vector<int> Images() const;
    // Rows 0 to 2 are the fixed rows; every other row shows a record, every record has a row.
    void ExpectRowsMatchRecords() const;
    // The shown row of the projector named `name`, -1 for none.
    int RowOf(const std::string& name) const;
    std::vector<int> ShownIds() const;
    std::string TempPath(const std::string& name) const;
    // Drops `paths` onto `row` of the list and lets the posted messages run.
    void DropOnRow(int row, const std::vector<std::string>& paths);
    void PumpEvents();

    ui::test::Session session;
    std::string folder;
    std::unique_ptr<lanterna::ApplicationState> state;
    std::unique_ptr<lanterna::AddressBook> book;
    std::unique_ptr<CMainDialog> window;

    // What the stand-ins do.
    std::vector<ProjectorRecord> found;  // appended by every search
    int searches = 0;
    std::deque<int> operationResults;  // end codes of the progress runs, in order
    std::vector<OperationCall> operations;
    std::deque<int> addressEntryResults;
    lanterna::Octets addressEntryAddress{};
    std::string addressEntryName;
    std::deque<int> passwordResults;
    std::string passwordTyped = "pw";
    std::vector<lanterna::dialogs::PasswordPrompt> prompts;  // every prompt shown
    std::deque<int> settingsResults;
    // Runs inside the settings-dialog stand-in on the record it edits (what the user changed).
    std::function<void(ProjectorRecord&)> duringSettings;
    int settingsRuns = 0;
    std::vector<bool> configFileRuns;
    int aboutRuns = 0;
    int helpRuns = 0;
    int passwordChangeRuns = 0;
    std::vector<MenuCommand> lastMenu;
    std::string lastMenuName;
    int menuRuns = 0;
    int menuChoice = 0;
    std::string listFile;
    // Runs inside the address-entry stand-in (e.g. a second double-click while busy).
    std::function<void()> duringAddressEntry;
    // Runs inside every progress-run stand-in.
    std::function<void(WorkerMode)> duringOperation;
    // The services' history folder; empty: none is kept.
    std::string historyFolder;
    // The background greeting (on its own thread); null greets nobody.
    std::function<std::vector<bool>(const std::vector<std::string>&)> presenceRound;
    // Stores an address book holding ROOM-201 (10.1.1.9), added by address.
    void StoreBook();
};

}  // namespace mainwindowtest
