#pragma once
// The save-file dialogs of the settings and configuration files, behind a chooser function that
// the dialogs call, so that tests choose the file themselves (as the main window's import does).

#include <QStringList>
#include <QWidget>
#include <functional>
#include <string>

namespace lanterna::dialogs {

// What a save-file dialog shows.
struct SaveFileRequest {
    int titleId = 0;       // string id of the title
    int filterId = 0;      // string id of the filter pairs (description, pattern), one per line
    std::string fileName;  // pre-filled name; may be empty
    std::string folder;    // the folder it opens in
    std::string defaultExtension;  // added to a name typed without one, e.g. "ini"
};

// Returns the chosen path (local encoding), or empty when the user cancelled.
using SaveFileChooser = std::function<std::string(QWidget* owner, const SaveFileRequest& request)>;

// The platform's save-file dialog: the filters of the request (the first one chosen), its
// title, name, folder and default extension; an existing file is replaced only after the user
// has confirmed it, and the folder must exist.
std::string ChooseSaveFile(QWidget* owner, const SaveFileRequest& request);

// The filters of string `stringId`, pairs of a description such as "... (*.ini)" and a pattern,
// one per line. The pattern "*.*" means every file, as on the platform the texts were written for.
QStringList FileFilters(int stringId);

// The user's home folder, where the save-file dialogs open first.
std::string HomeFolder();

}  // namespace lanterna::dialogs
