#include "app/MainWindowRun.h"

#include "dialogs/MainDialog.h"
#include "settings/AddressBook.h"

namespace lanterna {

int RunMainWindow(CApplication& application, const MainWindowOptions& options) {
    ApplicationState& state = application.State();
    AddressBook addressBook;
    dialogs::CMainDialog window(state,
                                dialogs::AddressBookPlace{addressBook, options.addressBookHive},
                                dialogs::DefaultMainDialogServices(state, options.searchTargets));
    if (options.onCreated) {
        options.onCreated(window);
    }
    application.SetMainWindow(&window);
    const int code = window.DoModal();
    application.SetMainWindow(nullptr);
    return code;
}

}  // namespace lanterna
