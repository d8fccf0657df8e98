#include "GalleryEntries.h"

#include "dialogs/AboutDialog.h"
#include "dialogs/MessageDialog.h"
#include "dialogs/PasswordInputDialog.h"
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
    };
}

}  // namespace lanterna::gallery
