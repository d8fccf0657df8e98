#pragma once
// The services of the program's own main window: its real dialogs, the popup menu and the
// open-file dialog, and the search on the real broadcast targets (tests pass other targets).

#include <QStringList>
#include <QWidget>

#include "dialogs/MainDialogServices.h"

// The search's headers name a member `slots`, which Qt defines as a keyword macro.
#pragma push_macro("slots")
#undef slots
#include "discovery/Presence.h"
#include "discovery/SearchController.h"
#pragma pop_macro("slots")

namespace lanterna::dialogs {

MainDialogServices DefaultMainDialogServices(ApplicationState& state, SearchTargets targets = {});

// The popup menu at `globalPoint`, tracked with the right button; the chosen id or 0.
int TrackPopupMenu(QWidget* owner, const std::vector<MenuCommand>& menu, QPoint globalPoint,
                   std::string_view name);

// The filters of the import's open-file dialog, from string 104, the list files first.
QStringList ListFileFilters();

// The import's open-file dialog (title string 103, filters of string 104, the home folder
// first); the chosen existing file, or empty.
std::string ChooseListFile(QWidget* owner);

// The open-file dialog of a settings file to apply (filters of string 108); the chosen existing
// file, or empty.
std::string ChooseSettingsFile(QWidget* owner);

}  // namespace lanterna::dialogs
