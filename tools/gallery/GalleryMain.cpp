// lanterna-gallery FOLDER: renders every dialog of the gallery to PNG files in FOLDER, once in
// each language ("100-about-ko.png", "100-about-en.png"), so the look can be reviewed and the two
// compared. Runs without a display (offscreen) unless one is chosen.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "GalleryEntries.h"
#include "platform/UserLanguage.h"
#include "ui/Gallery.h"

namespace {

// "100-about.png" in English -> "100-about-en.png".
std::string InLanguage(const std::string& fileName, lanterna::Language language) {
    const std::size_t dot = fileName.rfind('.');
    const std::size_t stem = dot == std::string::npos ? fileName.size() : dot;
    return fileName.substr(0, stem) + "-" + std::string(lanterna::LanguageCode(language)) +
           fileName.substr(stem);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: lanterna-gallery FOLDER\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "lanterna-gallery: cannot make %s\n", argv[1]);
        return 1;
    }
    int failures = 0;
    for (const lanterna::Language language :
         {lanterna::Language::Korean, lanterna::Language::English}) {
        lanterna::SetUserLanguage(language);
        for (const auto& entry : lanterna::gallery::GalleryEntries()) {
            const std::string fileName = InLanguage(entry.fileName, language);
            QImage image;
            if (entry.render) {
                image = entry.render();
            } else {
                const auto dialog = entry.make();
                image = ui::RenderDialog(*dialog);
            }
            const QString path = folder.filePath(QString::fromStdString(fileName));
            if (image.isNull() || !image.save(path, "PNG")) {
                std::fprintf(stderr, "lanterna-gallery: %s not written\n", fileName.c_str());
                ++failures;
                continue;
            }
            std::printf("%s %dx%d\n", qPrintable(path), image.width(), image.height());
        }
    }
    return failures == 0 ? 0 : 1;
}
