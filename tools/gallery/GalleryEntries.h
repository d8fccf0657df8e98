#pragma once
// The dialogs the gallery renders: one entry per picture, each making its dialog in a telling
// state (texts filled, the variant shown).

#include <QImage>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/Dialog.h"

namespace lanterna::gallery {

// A dialog to render (`make`), or a picture drawn otherwise (`render`).
struct GalleryEntry {
    std::string fileName;  // without the folder, ends in ".png"
    std::function<std::unique_ptr<ui::CDialog>()> make;
    std::function<QImage()> render = nullptr;
};

std::vector<GalleryEntry> GalleryEntries();

}  // namespace lanterna::gallery
