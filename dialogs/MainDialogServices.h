#pragma once
// What the main window works on and what it opens, handed in at construction so that the
// program passes its real pieces and tests pass their own (a search pointed at loopback, a
// scripted progress run, a temporary registry hive).
//
// Every service runs on the user-interface thread, modally: it returns once its dialog or
// search has ended. An empty function means "nothing to open": the run ends as if cancelled
// (IDCANCEL, or no file, or no menu command).

#include <QPoint>
#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/SessionPasswords.h"
#include "discovery/Greeting.h"
#include "fleet/Credentials.h"
#include "fleet/FleetNetwork.h"
#include "fleet/HealthReport.h"
#include "platform/RegistryKey.h"
#include "record/ProjectorList.h"
#include "settings/AddressBook.h"
#include "state/ApplicationState.h"
#include "workers/Workers.h"

class QWidget;

namespace lanterna::dialogs {

class CMainDialog;

// One entry of the projector popup menu (menu 140).
struct MenuCommand {
    int id = 0;
    std::string_view text;
    bool checkable = false;  // shown with a check mark, set when `checked`
    bool checked = false;
    bool separatorBefore = false;
    // Not empty: the command is shown greyed, and this says why.
    std::string_view greyedReason{};
};

// The end code of runOperation for a read whose password the projector refused.
inline constexpr int kOperationPasswordRefused = 3;

struct MainDialogServices {
    // The search behind its wait dialog: appends every projector found (origin 0) to the list.
    std::function<void(CMainDialog&, ProjectorList& projectors)> runSearch;
    // COperationProgressDialog in `mode` for the selected projector; its end code (read: 1 go
    // on, 2 failed, kOperationPasswordRefused when the projector refused the password; probe:
    // -1, 0, 1 or 2; write: 1 done, 2 failed).
    std::function<int(CMainDialog&, WorkerMode mode, bool passwordEntered)> runOperation;
    // CAddressEntryDialog: 1 connect, 1070 add, 1425 add (listed), 1426 connect (listed), else
    // cancel. It leaves the address, name and type in the state's pending fields.
    std::function<int(CMainDialog&)> runAddressEntry;
    // CPasswordInputDialog for the projector the prompt names; 1 when a password was given (in
    // the prompt, with the user's choices). Runs on the user-interface thread, also while a job
    // on many projectors waits for it.
    std::function<int(CMainDialog&, PasswordPrompt& prompt)> runPasswordInput;
    // CPasswordChangeDialog for the selected projector.
    std::function<int(CMainDialog&)> runPasswordChange;
    // CNetworkSettingsDialog on the record (the link is open); 1 OK (written), else cancel.
    std::function<int(CMainDialog&, ProjectorRecord& record)> runNetworkSettings;
    // CNetworkConfigFileDialog for a wired (false) or wireless (true) configuration file.
    std::function<int(CMainDialog&, bool wireless)> runConfigFile;
    // CAboutDialog.
    std::function<int(CMainDialog&)> runAbout;
    // The help page of the main tasks.
    std::function<int(CMainDialog&)> runHelp;
    // COtherSubnetsDialog on the list kept in `hive`; 1 when a new list was stored.
    std::function<int(CMainDialog&, const HiveFile& hive)> runOtherSubnets;
    // One round of greetings to `addresses` (dotted texts), each the way `ways` gives beside it:
    // per address whether it answered; empty when the round could not run. Runs on a thread of
    // its own, never on the user-interface thread; null greets nobody.
    std::function<std::vector<bool>(const std::vector<std::string>& addresses,
                                    const std::vector<Greeting>& ways)>
        presenceRound;
    // One round of health readings over PJLink of `addresses` (dotted texts) through `network`,
    // with the session's PJLink passwords; `cancel` set asks it to end soon. Runs on a thread of
    // its own, never on the user-interface thread, on the presence's period; null reads nobody
    // in the background.
    std::function<std::vector<fleet::HealthOfTarget>(
        const std::vector<std::string>& addresses, const fleet::FleetNetwork& network,
        const fleet::PjlinkPasswordOf& passwordOf, const std::atomic<bool>& cancel)>
        healthRound;
    // CPjlinkPasswordDialog for the projector the prompt names; IDOK when a password was given.
    std::function<int(CMainDialog&, PasswordPrompt& prompt)> runPjlinkPassword;
    // The open-file dialog of the import; the chosen path, or empty on cancel.
    std::function<std::string(CMainDialog&)> chooseListFile;
    // The open-file dialog of a settings file to apply; the chosen path, or empty on cancel.
    std::function<std::string(CMainDialog&)> chooseSettingsFile;
    // The folder dialog of a backup; the chosen folder, or empty on cancel.
    std::function<std::string(CMainDialog&)> chooseFolder;
    // The save-file dialog of a CSV file (`suggested`: the name it offers); the chosen path, or
    // empty on cancel.
    std::function<std::string(QWidget& owner, const std::string& suggested)> chooseCsvFile;
    // Where the jobs on many projectors send their traffic.
    fleet::FleetNetwork fleetNetwork;
    // Where every write keeps the projector's settings as read first (fleet/History.h); empty:
    // nowhere.
    std::string historyFolder;
    // The desktop keyring; null where there is none. It must outlive the window.
    fleet::ICredentialStore* keyring = nullptr;
    // Shows the popup menu at `globalPoint`, named `name` for a screen reader; the chosen
    // command id, 0 for none.
    std::function<int(CMainDialog&, const std::vector<MenuCommand>& menu, QPoint globalPoint,
                      std::string_view name)>
        trackPopupMenu;
};

// The address book and where it is stored. The book must outlive the window.
struct AddressBookPlace {
    AddressBook& book;
    HiveFile hive = HiveFile::UserDefault();
};

}  // namespace lanterna::dialogs
