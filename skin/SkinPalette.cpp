#include "skin/SkinPalette.h"

namespace lanterna::skin {
namespace {

SkinPalette sharedPalette = kSkinColours;

}  // namespace

void SetSkinPalette(const SkinPalette& palette) {
    sharedPalette = palette;
}

const SkinPalette& CurrentSkinPalette() {
    return sharedPalette;
}

}  // namespace lanterna::skin
