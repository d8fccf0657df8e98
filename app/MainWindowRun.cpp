#include "app/MainWindowRun.h"

#include "dialogs/MainDialog.h"
#include "keyring/SecretServiceStore.h"
#include "settings/AddressBook.h"

namespace lanterna {

std::unique_ptr<fleet::ICredentialStore> MainWindowOptions::DesktopKeyring() {
    return keyring::OpenSecretServiceStore();
}

int RunMainWindow(CApplication& application, const MainWindowOptions& options) {
    ApplicationState& state = application.State();
    AddressBook addressBook;
    const std::unique_ptr<fleet::ICredentialStore> keyring =
        options.openKeyring ? options.openKeyring() : nullptr;
    dialogs::MainDialogServices services =
        dialogs::DefaultMainDialogServices(state, options.searchTargets);
    services.keyring = keyring.get();
    dialogs::CMainDialog window(state,
                                dialogs::AddressBookPlace{addressBook, options.addressBookHive},
                                std::move(services));
    if (options.onCreated) {
        options.onCreated(window);
    }
    application.SetMainWindow(&window);
    const int code = window.DoModal();
    application.SetMainWindow(nullptr);
    return code;
}

}  // namespace lanterna
