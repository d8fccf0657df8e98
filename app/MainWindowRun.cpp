#include "app/MainWindowRun.h"

#include "dialogs/MainDialog.h"
#include "settings/AddressBook.h"
#include "state/ApplicationState.h"

namespace lanterna {

int RunMainWindow(CApplication& application, const MainWindowOptions& options) {
    ApplicationState state;
    state.debugMode = application.DebugMode();
    AddressBook addressBook;
    dialogs::CMainDialog window(
        state, dialogs::AddressBookPlace{addressBook, options.addressBookHive},
        dialogs::DefaultMainDialogServices(state, options.searchTargets));
    if (options.onCreated) {
        options.onCreated(window);
    }
    application.SetMainWindow(&window);
    const int code = window.DoModal();
    application.SetMainWindow(nullptr);
    // Exit frees the projector records before the link, with nothing selected.
    state.projectors.Clear();
    state.selectedIndex = -1;
    state.link.reset();
    return code;
}

}  // namespace lanterna
