// The main window's set-up, its handlers and the commands of the popup menu.

#include "dialogs/MainDialog.h"

#include <QCoreApplication>
#include <QCursor>
#include <QKeyEvent>
#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "dialogs/DialogIds.h"
#include "platform/UserLanguage.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "settings/AddressBookStore.h"
#include "ui/ListView.h"
#include "ui/MessageBox.h"
#include "ui/ResourceImages.h"

namespace lanterna::dialogs {
namespace {

struct MenuEntry {
    int id;
    std::string_view korean;
    std::string_view english;
};

// Menu 140, its first sub-menu: the commands on one projector.
constexpr std::array<MenuEntry, 3> kProjectorMenu{{
    {CMainDialog::kSettingsCommand, "설정", "Settings"},
    {CMainDialog::kDeleteCommand, "삭제", "Delete"},
    {CMainDialog::kChangePasswordCommand, "암호 변경", "Change password"},
}};

}  // namespace

CMainDialog::CMainDialog(ApplicationState& state, AddressBookPlace addressBook,
                         MainDialogServices services, QWidget* owner)
    : skin::CSkinDialog(kMainTemplate, owner),
      state_(state),
      addressBook_(std::move(addressBook)),
      services_(std::move(services)) {
    // The buttons wait, as a double-click does, while a command or a dropped file's apply is
    // on its way: a refresh would replace the record the apply works on.
    OnCommand(kRefreshButton, ui::Notify::Clicked,
              [this] { RunGuarded([this] { Refresh(true); }); });
    OnCommand(kImportButton, ui::Notify::Clicked, [this] { RunGuarded([this] { OnImport(); }); });
    OnCommand(kAboutButton, ui::Notify::Clicked, [this] {
        if (services_.runAbout) {
            services_.runAbout(*this);
        }
    });
    OnCommand(kListControl, ui::Notify::DoubleClicked, [this] {
        const ui::CListView* list = List();
        OnDoubleClick(list != nullptr ? list->HitTest(list->LastMousePoint()) : -1);
    });
    OnCommand(kListControl, ui::Notify::RightClicked, [this] { OnRightClick(); });
    OnMessage(kOpenProjectorMessage, [this](ui::WParam row, ui::LParam) {
        dropPending_ = false;
        RunGuarded([this, row] { OpenProjector(static_cast<int>(row)); });
    });
    OnMessage(kShowWarningMessage, [this](ui::WParam stringId, ui::LParam) {
        ShowMessage(static_cast<int>(stringId), ui::MB_ICONEXCLAMATION);
    });
    OnMessage(kFirstRefreshMessage, [this](ui::WParam, ui::LParam) { Refresh(true); });
}

CMainDialog::~CMainDialog() = default;

bool CMainDialog::OnInitDialog() {
    SetWindowText(LoadString(kStringAppName));
    setWindowIcon(ui::LoadIconResource(ui::ResourceId::kApplicationIcon));
    SetUpList();
    // The list fills once the window is on screen: the search takes seconds and runs behind
    // its own wait dialog, so the window must not wait for it.
    PostMessage(kFirstRefreshMessage);
    return true;
}

void CMainDialog::SetUpList() {
    ui::CListView* list = List();
    if (list == nullptr) {
        return;
    }
    list->SetImageList({ui::ResourceId::kConnectByAddressIcon, ui::ResourceId::kProjectorAddedIcon,
                        ui::ResourceId::kProjectorFoundIcon, ui::ResourceId::kWiredFileIcon,
                        ui::ResourceId::kWirelessFileIcon});
    list->SetBackgroundTile(ui::LoadBitmapResource(ui::ResourceId::kListBackground));
    connect(list, &ui::CListView::filesDropped, this,
            [this](QPoint point, const std::vector<std::string>& paths) {
                OnFilesDropped(point, paths);
            });
}

ui::CListView* CMainDialog::List() const {
    return ListView(kListControl);
}

// Neither Enter nor Escape closes the main window; they go to the focused control only.
ui::KeyRoute CMainDialog::PreTranslateKeyPress(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            return ui::KeyRoute::ControlOnly;
        default:
            return ui::KeyRoute::Default;
    }
}

void CMainDialog::OnOK() {}

void CMainDialog::OnCancel() {}

// The close request: the address book is written, then the window ends (and with it the run).
void CMainDialog::OnClose() {
    SaveAddressBook();
    EndDialog(ui::IDCANCEL);
}

void CMainDialog::SaveAddressBook() {
    // A book that was never loaded is empty only here: writing it would wipe the stored one.
    if (addressBookPending_ != 0) {
        return;
    }
    lanterna::SaveAddressBook(addressBook_.book, addressBook_.hive);
}

int CMainDialog::ShowMessage(int stringId, unsigned flags) {
    return ui::ShowStringMessage(this, stringId, flags);
}

// A command that opens modal dialogs must not start again from a double-click that arrives
// while it runs; input queued meanwhile is dispatched while still busy, so it is dropped. Nor
// may one start between a drop and the apply it posted: the dropped record is already merged.
template <class Command>
void CMainDialog::RunGuarded(Command command) {
    if (busy_ != 0 || dropPending_) {
        return;
    }
    busy_ = 1;
    command();
    QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
    busy_ = 0;
}

void CMainDialog::OnDoubleClick(int row) {
    if (row < 0) {
        return;
    }
    RunGuarded([this, row] {
        droppedFile_ = 0;
        switch (row) {
            case 0:
                ConnectByAddress();
                break;
            case 1:
            case 2:
                if (services_.runConfigFile) {
                    services_.runConfigFile(*this, row == 2);
                }
                break;
            default:
                OpenProjector(row);
                break;
        }
    });
}

std::vector<MenuCommand> CMainDialog::PopupMenuFor(int row) const {
    const ProjectorRecord* record = state_.projectors.At(row - kFirstProjectorRow);
    if (row < kFirstProjectorRow || record == nullptr) {
        return {};
    }
    // Projectors found by the search come back at every refresh: they cannot be deleted.
    const bool deletable = record->origin == 1 || record->origin == 2;
    const bool korean = UserLanguage() == Language::Korean;
    std::vector<MenuCommand> menu;
    for (const MenuEntry& entry : kProjectorMenu) {
        if (entry.id != kDeleteCommand || deletable) {
            menu.push_back({entry.id, korean ? entry.korean : entry.english});
        }
    }
    return menu;
}

void CMainDialog::OnRightClick() {
    const ui::CListView* list = List();
    const int row = list != nullptr ? list->SelectedRow() : -1;
    if (row < kFirstProjectorRow || busy_ != 0) {
        return;
    }
    state_.selectedIndex = row - kFirstProjectorRow;
    const std::vector<MenuCommand> menu = PopupMenuFor(row);
    if (menu.empty() || !services_.trackPopupMenu) {
        return;
    }
    const int chosen = services_.trackPopupMenu(*this, menu, QCursor::pos());
    // Only what the menu offered may run: found projectors have no delete.
    const bool offered = std::any_of(menu.begin(), menu.end(), [chosen](const MenuCommand& entry) {
        return entry.id == chosen;
    });
    switch (offered ? chosen : 0) {
        case kSettingsCommand:
            OnSettingsCommand();
            break;
        case kDeleteCommand:
            OnDelete();
            break;
        case kChangePasswordCommand:
            if (services_.runPasswordChange) {
                RunGuarded([this] { services_.runPasswordChange(*this); });
            }
            break;
        default:
            break;
    }
}

void CMainDialog::OnSettingsCommand() {
    if (state_.selectedIndex < 0) {
        return;
    }
    RunGuarded([this] {
        droppedFile_ = 0;
        OpenProjector(state_.selectedIndex + kFirstProjectorRow);
    });
}

void CMainDialog::OnDelete() {
    const std::int32_t index = state_.selectedIndex;
    const ProjectorRecord* record = state_.projectors.At(index);
    if (index < 0 || record == nullptr || List() == nullptr) {
        return;
    }
    List()->DeleteItem(index + kFirstProjectorRow);
    --nextRow_;
    const std::int32_t origin = record->origin;
    const std::string address(TextOf(record->address));
    state_.projectors.RemoveAt(static_cast<std::size_t>(index));
    // The index now names the next projector; nothing stays selected by accident.
    state_.selectedIndex = -1;
    if (origin == 1 || origin == 2) {
        addressBook_.book.RemoveAddress(address);
    }
}

}  // namespace lanterna::dialogs
