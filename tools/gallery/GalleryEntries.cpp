#include "GalleryEntries.h"

#include <thread>

#include "dialogs/AboutDialog.h"
#include "dialogs/AddressEntryDialog.h"
#include "dialogs/MessageDialog.h"
#include "dialogs/OperationProgressDialog.h"
#include "dialogs/PasswordChangeDialog.h"
#include "dialogs/PasswordInputDialog.h"
#include "dialogs/SearchDialog.h"
#include "resources/StringTable.h"
#include "ui/DialogCodes.h"

namespace lanterna::gallery {
namespace {

template <class Dialog, class... Arguments>
std::function<std::unique_ptr<ui::CDialog>()> Make(Arguments... arguments) {
    return [=] { return std::make_unique<Dialog>(arguments...); };
}

std::function<std::unique_ptr<ui::CDialog>()> Message(int stringId, unsigned flags) {
    return [=] {
        return std::make_unique<dialogs::CMessageDialog>(LoadString(stringId),
                                                         LoadString(kStringAppName), flags);
    };
}

// The dialogs that work on the shared state only draw here: nothing is started before a modal
// run, so the state stays untouched.
ApplicationState& GalleryState() {
    static ApplicationState state;
    return state;
}

std::function<std::unique_ptr<ui::CDialog>()> Progress(WorkerMode mode, int passwordEntered) {
    return [=] {
        auto dialog = std::make_unique<dialogs::COperationProgressDialog>(mode, GalleryState());
        dialog->passwordEntered = passwordEntered;
        dialog->SetThreadStarter([](std::function<void()>) { return std::thread(); });
        return dialog;
    };
}

}  // namespace

std::vector<GalleryEntry> GalleryEntries() {
    return {
        {"146-message-warning.png", Message(kStringBadIpAddress, ui::MB_ICONEXCLAMATION)},
        {"146-message-information.png", Message(kStringWriteDone, ui::MB_ICONINFORMATION)},
        {"146-message-question.png",
         Message(kStringSendTestMailQuestion, ui::MB_YESNO | ui::MB_ICONQUESTION)},
        {"146-message-stop.png", Message(kStringCannotContinue, ui::MB_ICONSTOP)},
        {"100-about.png", Make<dialogs::CAboutDialog>(nullptr)},
        {"135-password-input.png",
         Make<dialogs::CPasswordInputDialog>(static_cast<ProjectorRecord*>(nullptr), nullptr)},
        {"138-password-change.png",
         [] { return std::make_unique<dialogs::CPasswordChangeDialog>(GalleryState()); }},
        {"134-address-entry.png",
         [] { return std::make_unique<dialogs::CAddressEntryDialog>(GalleryState()); }},
        {"133-progress-connecting.png", Progress(WorkerMode::kProbe, 0)},
        {"133-progress-authenticating.png", Progress(WorkerMode::kRead, 1)},
        {"133-progress-writing.png", Progress(WorkerMode::kWrite, 0)},
        {"133-progress-password.png", Progress(WorkerMode::kPassword, 0)},
        {"139-search.png", [] { return std::make_unique<dialogs::CSearchDialog>(GalleryState()); }},
    };
}

}  // namespace lanterna::gallery
