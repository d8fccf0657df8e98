#include "dialogs/FileChoosers.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>

#include "resources/StringTable.h"
#include "ui/Text.h"

namespace lanterna::dialogs {

QStringList FileFilters(int stringId) {
    const QStringList lines = ui::ToQString(LoadString(stringId)).split('\n', Qt::SkipEmptyParts);
    QStringList filters;
    for (qsizetype i = 0; i + 1 < lines.size(); i += 2) {
        QString description = lines[i];
        const qsizetype bracket = description.indexOf('(');
        if (bracket > 0) {
            description.truncate(bracket);
        }
        const QString pattern = lines[i + 1] == "*.*" ? QStringLiteral("*") : lines[i + 1];
        filters << QStringLiteral("%1 (%2)").arg(description.trimmed(), pattern);
    }
    return filters;
}

std::string HomeFolder() {
    return QFile::encodeName(QDir::homePath()).toStdString();
}

std::string ChooseSaveFile(QWidget* owner, const SaveFileRequest& request) {
    QFileDialog dialog(owner, ui::ToQString(LoadString(request.titleId)),
                       QFile::decodeName(request.folder.c_str()));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(FileFilters(request.filterId));
    dialog.setDefaultSuffix(ui::ToQString(request.defaultExtension));
    if (!request.fileName.empty()) {
        dialog.selectFile(QFile::decodeName(request.fileName.c_str()));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return QFile::encodeName(dialog.selectedFiles().front()).toStdString();
}

}  // namespace lanterna::dialogs
