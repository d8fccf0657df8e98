// lanterna-gallery FOLDER: renders every dialog of the gallery to a PNG file in FOLDER, so the
// look can be reviewed. Runs without a display (offscreen) unless one is chosen.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <cstdio>
#include <cstdlib>

#include "GalleryEntries.h"
#include "ui/Gallery.h"

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
    for (const auto& entry : lanterna::gallery::GalleryEntries()) {
        QImage image;
        if (entry.render) {
            image = entry.render();
        } else {
            const auto dialog = entry.make();
            image = ui::RenderDialog(*dialog);
        }
        const QString path = folder.filePath(QString::fromStdString(entry.fileName));
        if (image.isNull() || !image.save(path, "PNG")) {
            std::fprintf(stderr, "lanterna-gallery: %s not written\n", entry.fileName.c_str());
            ++failures;
            continue;
        }
        std::printf("%s %dx%d\n", qPrintable(path), image.width(), image.height());
    }
    return failures == 0 ? 0 : 1;
}
