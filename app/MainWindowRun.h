#pragma once
// Start-up steps 8 and 9: the main window (template 102) becomes the application's main window
// and runs modally; when it has ended, the program ends. The window refreshes its list as soon
// as it is on screen.

#include <functional>
#include <memory>

#include "app/Application.h"
#include "dialogs/MainDialogDefaults.h"
#include "fleet/Credentials.h"

namespace lanterna {

namespace dialogs {
class CMainDialog;
}

struct MainWindowOptions {
    // Where the searches go; the defaults are the real broadcasts (tests and benchmarks inside
    // their own network, or on loopback, pass others).
    SearchTargets searchTargets;
    // Where the address book is stored.
    HiveFile addressBookHive = HiveFile::UserDefault();
    // Called once the window exists, before its run (benchmarks watch it from here).
    std::function<void(dialogs::CMainDialog&)> onCreated;
    // Opens the desktop keyring for the password prompts' "Remember in the keyring"; null from
    // it (or no function): no keyring. The default finds none at once without a session bus.
    std::function<std::unique_ptr<fleet::ICredentialStore>()> openKeyring = DesktopKeyring;

    static std::unique_ptr<fleet::ICredentialStore> DesktopKeyring();
};

// Runs the main window for `application` and returns its end code.
int RunMainWindow(CApplication& application, const MainWindowOptions& options = {});

}  // namespace lanterna
