// The main window's menus: what the popup menu offers for the row or the selection under it
// (greyed, with the reason, where the projector cannot take it), the help menu, and the commands
// they run.

#include <QCursor>
#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "dialogs/MainDialog.h"
#include "platform/UserLanguage.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "ui/ListView.h"
#include "ui/MessageBox.h"

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

// The commands on a selection of projectors; a single projector's menu ends with the last
// ones.
constexpr std::array<std::pair<int, int>, 8> kSelectionMenu{{
    {CMainDialog::kApplySettingsFileCommand, kStringApplySettingsFileCommand},
    {CMainDialog::kChangePasswordsCommand, kStringChangePasswordsCommand},
    {CMainDialog::kSaveSettingsFilesCommand, kStringSaveSettingsFilesCommand},
    {CMainDialog::kAuditCommand, kStringAuditCommand},
    {CMainDialog::kExportInventoryCommand, kStringExportInventoryCommand},
    {CMainDialog::kHealthCommand, kStringHealthCommand},
    {CMainDialog::kPowerOnCommand, kStringPowerOnCommand},
    {CMainDialog::kPowerOffCommand, kStringPowerOffCommand},
}};
constexpr std::ptrdiff_t kSelectionCommandsOnOne = 6;

// What PJLink alone reaches: a projector's health and power.
bool IsPjlinkCommand(int command) {
    return command == CMainDialog::kHealthCommand || command == CMainDialog::kPowerOnCommand ||
           command == CMainDialog::kPowerOffCommand;
}

bool IsDeletable(const ProjectorRecord& record) {
    // Projectors found by the search come back at every refresh: they cannot be deleted.
    return record.origin == kOriginAddress || record.origin == kOriginImport;
}

}  // namespace

std::vector<MenuCommand> CMainDialog::PopupMenuFor(int row) const {
    const bool korean = UserLanguage() == Language::Korean;
    std::vector<MenuCommand> menu;
    const ListEntry entry = rows_->EntryAt(row);
    const std::vector<ProjectorRecord*> selected = SelectedProjectors();
    if (selected.size() > 1) {
        menu = SelectionMenu();
    } else if (entry.IsProjector()) {
        for (const MenuEntry& command : kProjectorMenu) {
            if (command.id != kDeleteCommand || IsDeletable(*entry.record)) {
                menu.push_back({command.id, korean ? command.korean : command.english});
            }
        }
        const std::vector<MenuCommand> more = SelectionMenu();
        menu.insert(menu.end(), more.end() - kSelectionCommandsOnOne, more.end());
        menu[menu.size() - kSelectionCommandsOnOne].separatorBefore = true;
    }
    // Only PJLink reaches what is chosen: whatever its network modules would be asked is
    // greyed; health and power go over PJLink itself.
    const bool onlyPjlink =
        selected.size() > 1
            ? std::all_of(selected.begin(), selected.end(),
                          [](const ProjectorRecord* record) { return OnlyPjlinkFound(*record); })
            : entry.IsProjector() && OnlyPjlinkFound(*entry.record);
    if (onlyPjlink) {
        for (MenuCommand& command : menu) {
            if (command.id != kDeleteCommand && !IsPjlinkCommand(command.id)) {
                command.greyedReason = LoadString(kStringPjlinkOnlyNoSettings);
            }
        }
    }
    menu.push_back(MenuCommand{kDetailsViewCommand, LoadString(kStringDetailsView), true,
                               IsDetailsView(), !menu.empty()});
    menu.push_back(MenuCommand{kOtherSubnetsCommand, LoadString(kStringOtherSubnetsCommand)});
    return menu;
}

// The session remembers the selected projector's new password (the keyring entry, when there is
// one, follows).
void CMainDialog::RememberChangedPassword() {
    if (const ProjectorRecord* record = state_.SelectedRecord()) {
        passwords_.Changed(std::string(TextOf(record->address)),
                           std::string(TextOf(record->macAddress)),
                           std::string(TextOf(state_.newPassword)), false);
    }
}

std::vector<MenuCommand> CMainDialog::SelectionMenu() const {
    std::vector<MenuCommand> menu;
    for (const auto& [id, text] : kSelectionMenu) {
        menu.push_back({id, LoadString(text)});
    }
    return menu;
}

std::vector<MenuCommand> CMainDialog::HelpMenu() const {
    return {{kHelpCommand, LoadString(kStringHelpCommand)},
            {kAboutCommand, LoadString(kStringAboutCommand)}};
}

void CMainDialog::OnRightClick() {
    const ui::CListView* list = List();
    if (list == nullptr || busy_ != 0) {
        return;
    }
    ShowPopupMenu(list->SelectedRow(), QCursor::pos());
}

void CMainDialog::ShowPopupMenu(int row, QPoint globalPoint) {
    const ListEntry entry = rows_->EntryAt(row);
    if (entry.IsProjector()) {
        state_.selectedIndex = IndexOfRecord(entry.record);
    }
    const std::vector<MenuCommand> menu = PopupMenuFor(row);
    if (!services_.trackPopupMenu) {
        return;
    }
    const int chosen =
        services_.trackPopupMenu(*this, menu, globalPoint, LoadString(kStringProjectorMenuName));
    // Only what the menu offered may run: found projectors have no delete, and a greyed
    // command is not offered.
    const bool offered = std::any_of(menu.begin(), menu.end(), [chosen](const MenuCommand& item) {
        return item.id == chosen && item.greyedReason.empty();
    });
    RunMenuCommand(offered ? chosen : 0);
}

void CMainDialog::OnHelpButton() {
    if (!services_.trackPopupMenu || busy_ != 0) {
        return;
    }
    const QWidget* button = GetDlgItem(kAboutButton);
    const QPoint below =
        button != nullptr ? button->mapToGlobal(QPoint(0, button->height())) : QCursor::pos();
    const std::vector<MenuCommand> menu = HelpMenu();
    const int chosen =
        services_.trackPopupMenu(*this, menu, below, LoadString(kStringHelpCommand));
    if (chosen == kHelpCommand || chosen == kAboutCommand) {
        RunMenuCommand(chosen);
    }
}

void CMainDialog::RunMenuCommand(int command) {
    switch (command) {
        case kSettingsCommand:
            OnSettingsCommand();
            break;
        case kDeleteCommand:
            OnDelete();
            break;
        case kChangePasswordCommand:
            if (services_.runPasswordChange) {
                RunGuarded([this] {
                    if (services_.runPasswordChange(*this) == ui::IDOK) {
                        RememberChangedPassword();
                    }
                });
            }
            break;
        case kDetailsViewCommand:
            SetDetailsView(!IsDetailsView());
            break;
        case kApplySettingsFileCommand:
            RunGuarded([this] { OnApplySettingsFile(); });
            break;
        case kChangePasswordsCommand:
            RunGuarded([this] { OnChangePasswords(); });
            break;
        case kSaveSettingsFilesCommand:
            RunGuarded([this] { OnSaveSettingsFiles(); });
            break;
        case kAuditCommand:
            RunGuarded([this] { OnAudit(); });
            break;
        case kExportInventoryCommand:
            RunGuarded([this] { OnExportInventory(); });
            break;
        case kHealthCommand:
            RunGuarded([this] { OnHealth(); });
            break;
        case kPowerOnCommand:
        case kPowerOffCommand:
            RunGuarded([this, command] { OnPower(command == kPowerOnCommand); });
            break;
        case kOtherSubnetsCommand:
            if (services_.runOtherSubnets) {
                RunGuarded([this] { services_.runOtherSubnets(*this, addressBook_.hive); });
            }
            break;
        case kHelpCommand:
            if (services_.runHelp) {
                services_.runHelp(*this);
            }
            break;
        case kAboutCommand:
            if (services_.runAbout) {
                services_.runAbout(*this);
            }
            break;
        default:
            break;
    }
}

void CMainDialog::OnSettingsCommand() {
    if (state_.SelectedRecord() == nullptr) {
        return;
    }
    RunGuarded([this] {
        droppedFile_ = 0;
        OpenSelected();
    });
}

void CMainDialog::OnDelete() {
    const ProjectorRecord* record = state_.SelectedRecord();
    if (record == nullptr || !IsDeletable(*record)) {
        return;
    }
    DeleteSelected();
}

void CMainDialog::OnDeleteKey() {
    const ui::CListView* list = List();
    const ListEntry entry = rows_->EntryAt(list != nullptr ? list->SelectedRow() : -1);
    if (busy_ != 0 || !entry.IsProjector() || !IsDeletable(*entry.record)) {
        return;
    }
    if (ShowMessage(kStringDeleteQuestion, kMessageYesNoQuestion) != ui::IDYES) {
        return;
    }
    state_.selectedIndex = IndexOfRecord(entry.record);
    DeleteSelected();
}

void CMainDialog::DeleteSelected() {
    const std::int32_t index = state_.selectedIndex;
    const ProjectorRecord* record = state_.projectors.At(index);
    if (record == nullptr) {
        return;
    }
    const std::string address(TextOf(record->address));
    rows_->Model().Remove(record);  // the row goes before its record
    state_.projectors.RemoveAt(static_cast<std::size_t>(index));
    // The index now names the next projector; nothing stays selected by accident.
    state_.selectedIndex = -1;
    addressBook_.book.RemoveAddress(address);
}

}  // namespace lanterna::dialogs
