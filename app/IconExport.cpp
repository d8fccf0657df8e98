// lanterna-icon-export SIZE PATH: writes the program icon (resource 128) as a PNG of SIZE
// pixels, for the desktop's application menu. Runs at build time, offscreen.
#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>

#include "ui/ResourceImages.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: lanterna-icon-export SIZE PATH\n");
        return 2;
    }
    QGuiApplication application(argc, argv);
    const int size = std::atoi(argv[1]);
    const QPixmap icon = ui::LoadIconPixmap(ui::ResourceId::kApplicationIcon, size);
    if (size <= 0 || icon.isNull() || !icon.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "lanterna-icon-export: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
