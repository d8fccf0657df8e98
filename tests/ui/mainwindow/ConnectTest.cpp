// Double-clicks: the connect-by-address flow with every end code of the address-entry dialog,
// opening a projector (probe, password, read, settings dialog), the configuration-file rows and
// the busy guard.
#include "MainWindowTestSupport.h"
#include "dialogs/SessionPasswords.h"
#include "platform/FixedText.h"
#include "settings/AddressBookStore.h"
#include "ui/ListView.h"

namespace mainwindowtest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class ConnectTest : public MainWindowTest {
  protected:
    void SetUp() override {
        found = {MakeProjector("HALL", "10.1.1.5", 0, 21)};
        Open();
        addressEntryAddress = {10, 3, 0, 7};
        addressEntryName = "NEWPJ";
    }
    std::vector<WorkerMode> Modes() const {
        std::vector<WorkerMode> modes;
        for (const auto& call : operations) {
            modes.push_back(call.mode);
        }
        return modes;
    }
};

// ---- connect by address -------------------------------------------------------------------

TEST_F(ConnectTest, ConnectToANewAddressAddsSelectsAndOpensIt) {
    addressEntryResults = {1};
    operationResults = {1, 1};
    window->OnDoubleClick(0);
    ASSERT_EQ(state->projectors.Size(), 2u);
    const ProjectorRecord& added = *state->projectors.At(1);
    EXPECT_EQ(added.origin, 1);
    EXPECT_EQ(lanterna::TextOf(added.address), "10.3.0.7");
    EXPECT_EQ(lanterna::TextOf(added.projectorName), "NEWPJ");
    EXPECT_EQ(state->selectedIndex, 1);
    EXPECT_THAT(Modes(), ElementsAre(WorkerMode::kProbe, WorkerMode::kRead));
    EXPECT_EQ(operations[0].currentAddress, "10.3.0.7");
    EXPECT_EQ(settingsRuns, 1);
    EXPECT_THAT(book->ManualEntries(), ElementsAre("NEWPJ\n10.3.0.7"));
    EXPECT_EQ(Labels().back(), "NEWPJ\n10.3.0.7");
    EXPECT_EQ(Images().back(), 1);
    ExpectRowsMatchRecords();
}

TEST_F(ConnectTest, AddANewAddressAddsWithoutConnecting) {
    addressEntryResults = {1070};
    state->pendingType = 22;
    window->OnDoubleClick(0);
    ASSERT_EQ(state->projectors.Size(), 2u);
    EXPECT_THAT(operations, IsEmpty());
    EXPECT_THAT(book->ManualTypes(), ElementsAre("22"));
    ExpectRowsMatchRecords();
}

TEST_F(ConnectTest, ListedAddressAddsNothingOrConnectsToTheListedProjector) {
    addressEntryAddress = {10, 1, 1, 5};
    addressEntryResults = {1425, 1426};
    operationResults = {1, 1};
    window->OnDoubleClick(0);
    EXPECT_THAT(operations, IsEmpty());
    window->OnDoubleClick(0);
    EXPECT_EQ(state->projectors.Size(), 1u);
    EXPECT_EQ(state->selectedIndex, 0);
    ASSERT_EQ(operations.size(), 2u);
    EXPECT_EQ(operations[0].currentAddress, "10.1.1.5");
    EXPECT_THAT(book->ManualEntries(), IsEmpty());
}

TEST_F(ConnectTest, ListedAddressThatIsGoneAndCancelDoNothing) {
    addressEntryAddress = {10, 99, 0, 1};
    addressEntryResults = {1426, ui::IDCANCEL, 12345};
    for (int i = 0; i < 3; ++i) {
        window->OnDoubleClick(0);
    }
    EXPECT_THAT(operations, IsEmpty());
    EXPECT_EQ(state->projectors.Size(), 1u);
    EXPECT_THAT(ShownIds(), IsEmpty());
}

TEST_F(ConnectTest, FullListRefusesTheNewAddressWithString149) {
    const std::size_t limit = lanterna::ProjectorList::kDisplayLimit;
    for (std::size_t i = 1; i < limit; ++i) {
        lanterna::CopyText(state->pendingName, "");
        state->pendingAddress = {10, 4, static_cast<std::uint8_t>(i / 256),
                                 static_cast<std::uint8_t>(i % 256)};
        ASSERT_EQ(window->AddProjectorByAddress(false, true), 1);
    }
    addressEntryResults = {1, 1070};
    window->OnDoubleClick(0);
    window->OnDoubleClick(0);
    EXPECT_THAT(ShownIds(), ElementsAre(149, 149));
    EXPECT_EQ(state->projectors.Size(), limit);
    EXPECT_THAT(operations, IsEmpty());
    ExpectRowsMatchRecords();
}

// ---- opening a projector ------------------------------------------------------------------

TEST_F(ConnectTest, NoPasswordClearsTheStoredOneAndReadsEverything) {
    lanterna::CopyText(state->projectors.At(0)->password, "stale");
    operationResults = {1, 1};
    window->OnDoubleClick(3);
    EXPECT_THAT(Modes(), ElementsAre(WorkerMode::kProbe, WorkerMode::kRead));
    EXPECT_FALSE(operations[1].passwordEntered);
    EXPECT_EQ(operations[1].readAllSettings, 1);
    EXPECT_EQ(lanterna::TextOf(state->projectors.At(0)->password), "");
    EXPECT_EQ(settingsRuns, 1);
}

TEST_F(ConnectTest, PasswordNeededAsksForItAndReadsWithTheAuthenticationText) {
    operationResults = {2, 1};
    passwordResults = {ui::IDOK};
    window->OnDoubleClick(3);
    ASSERT_EQ(operations.size(), 2u);
    EXPECT_TRUE(operations[1].passwordEntered);
    EXPECT_EQ(lanterna::TextOf(state->projectors.At(0)->password), "pw");
}

// A refused password is asked for again over a new link, three prompts at most; one that worked
// is remembered, so the next opening asks nothing; the prompt names the projector.
TEST_F(ConnectTest, RefusedPasswordAsksAgainAndOneThatWorkedIsRemembered) {
    using lanterna::dialogs::kOperationPasswordRefused;
    struct Case {
        std::deque<int> operations;
        std::deque<int> answers;
        std::size_t prompts;
        int settings;
    };
    const Case cases[] = {
        {{2, kOperationPasswordRefused, 2, 1}, {ui::IDOK, ui::IDOK}, 2, 1},
        {{2, kOperationPasswordRefused, 2, kOperationPasswordRefused, 2, kOperationPasswordRefused},
         {ui::IDOK, ui::IDOK, ui::IDOK},
         3,
         0},
        {{2, kOperationPasswordRefused, 2}, {ui::IDOK, ui::IDCANCEL}, 2, 0},
    };
    for (const Case& c : cases) {
        window->Passwords().Memory().Forget("10.1.1.5");
        operations.clear();
        prompts.clear();
        settingsRuns = 0;
        operationResults = c.operations;
        passwordResults = c.answers;
        window->OnDoubleClick(3);
        EXPECT_EQ(prompts.size(), c.prompts);
        EXPECT_EQ(settingsRuns, c.settings);
        EXPECT_THAT(operationResults, IsEmpty());
        ASSERT_FALSE(prompts.empty());
        EXPECT_EQ(prompts.front().projector, "HALL (10.1.1.5)");
    }
    window->Passwords().Memory().Forget("10.1.1.5");
    operationResults = {2, 1};
    passwordResults = {ui::IDOK};
    prompts.clear();
    window->OnDoubleClick(3);
    operationResults = {2, 1};
    window->OnDoubleClick(3);
    EXPECT_EQ(prompts.size(), 1u) << "the second opening used the remembered password";
    EXPECT_EQ(lanterna::TextOf(state->projectors.At(0)->password), "pw");
}

TEST_F(ConnectTest, FailedProbeRefusedPasswordOrFailedReadEndTheRoad) {
    operationResults = {-1, 0, 2, 1, 2};
    passwordResults = {ui::IDCANCEL};
    window->OnDoubleClick(3);  // probe failed
    window->OnDoubleClick(3);  // another link was open
    window->OnDoubleClick(3);  // password needed, not given
    window->OnDoubleClick(3);  // read failed
    EXPECT_THAT(Modes(), ElementsAre(WorkerMode::kProbe, WorkerMode::kProbe, WorkerMode::kProbe,
                                     WorkerMode::kProbe, WorkerMode::kRead));
    EXPECT_EQ(settingsRuns, 0);
    EXPECT_EQ(searches, 1);
}

TEST_F(ConnectTest, ConfirmedSettingsRenameTheBookEntryAndShowTheProjectorAsWritten) {
    addressEntryResults = {1070};
    window->OnDoubleClick(0);
    operationResults = {1, 1};
    settingsResults = {ui::IDOK};
    duringOperation = [&](WorkerMode mode) {
        if (mode == WorkerMode::kRead) {  // the settings dialog will have changed both
            ProjectorRecord* record = state->SelectedRecord();
            lanterna::CopyText(record->projectorName, "RENAMED");
            record->ipAddress = {10, 3, 0, 8};
        }
    };
    window->OnDoubleClick(4);
    EXPECT_THAT(book->ManualEntries(), ElementsAre("RENAMED\n10.3.0.8"));
    EXPECT_EQ(searches, 1) << "no search after a write";
    EXPECT_EQ(Labels().back(), "RENAMED\n10.3.0.8");
    EXPECT_EQ(lanterna::TextOf(state->SelectedRecord()->address), "10.3.0.8")
        << "opened where it is now";
    ExpectRowsMatchRecords();
}

TEST_F(ConnectTest, ConfigurationFileRowsOpenTheirDialogAndEmptySpaceNothing) {
    window->OnDoubleClick(1);
    window->OnDoubleClick(2);
    window->OnDoubleClick(-1);
    EXPECT_THAT(configFileRuns, ElementsAre(false, true));
    EXPECT_THAT(operations, IsEmpty());
}

TEST_F(ConnectTest, SecondDoubleClickWhileACommandRunsIsIgnored) {
    int nestedRuns = 0;
    duringAddressEntry = [&] {
        EXPECT_TRUE(window->IsBusy());
        ++nestedRuns;
        window->OnDoubleClick(0);  // would re-enter the address entry
        window->OnDoubleClick(3);  // would open a projector
    };
    window->OnDoubleClick(0);
    EXPECT_EQ(nestedRuns, 1);
    EXPECT_THAT(operations, IsEmpty());
    EXPECT_FALSE(window->IsBusy());
}

}  // namespace
}  // namespace mainwindowtest
