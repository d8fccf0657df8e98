#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace lanterna {

QString QtTranslationsFolder() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

std::unique_ptr<QTranslator> InstallQtTranslations(Language language, const QString& folder) {
    if (language != Language::Korean) {
        return nullptr;
    }
    auto translator = std::make_unique<QTranslator>();
    // "qtbase_ko.qm": the texts of Qt's widgets and dialogs.
    if (!translator->load(QStringLiteral("qtbase_ko"), folder) ||
        !QCoreApplication::installTranslator(translator.get())) {
        return nullptr;
    }
    return translator;
}

}  // namespace lanterna
