#pragma once
// Qt's own texts (the file chooser, standard buttons, the context menus of edit boxes) in the
// user's language: Qt's translation catalogue of that language is installed in the running
// application. English needs none. The catalogues come with the distribution's Qt
// translations package; without it Qt's texts stay English and nothing else changes.

#include <QString>
#include <QTranslator>
#include <memory>

#include "platform/UserLanguage.h"

namespace lanterna {

// Where Qt's catalogues are looked for: Qt's own translations folder.
QString QtTranslationsFolder();

// Installs Qt's catalogue for `language` from `folder` into the running application and returns
// it (it stays installed while it lives); null when none is needed or none could be loaded.
std::unique_ptr<QTranslator> InstallQtTranslations(Language language,
                                                   const QString& folder = QtTranslationsFolder());

}  // namespace lanterna
