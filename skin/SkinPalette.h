#pragma once
// The colours of the skinned windows and controls. Start-up writes them once, before any window
// exists (SetSkinPalette); every skinned dialog and control copies what it uses when it is made.
// Until start-up has written them (tools and tests that make dialogs directly), the shared
// palette holds the same fixed table.

#include <QRgb>

namespace lanterna::skin {

struct SkinPalette {
    // The dialog frame.
    QRgb captionTop;
    QRgb captionBottom;
    QRgb borderTop;  // the border, and the body behind the client area
    QRgb borderBottom;
    QRgb titleText;
    QRgb titleShadow;
    QRgb captionButtonTop;
    QRgb captionButtonBottom;
    QRgb closeCross;  // drawn two pixels wide
    QRgb clientTop;
    QRgb clientBottom;
    QRgb outerLine;
    // The controls.
    QRgb buttonFaceTop;
    QRgb buttonFaceBottom;  // also the shadow of the button text
    QRgb buttonText;
    QRgb buttonDisabledText;
    QRgb labelText;  // labels, check boxes, radio buttons and icons
    QRgb progressBackTop;
    QRgb progressBackBottom;
    QRgb progressBarTop;
    QRgb progressBarBottom;

    friend bool operator==(const SkinPalette&, const SkinPalette&) = default;
};

inline constexpr SkinPalette kSkinColours{
    .captionTop = qRgb(128, 128, 128),
    .captionBottom = qRgb(0, 0, 0),
    .borderTop = qRgb(86, 89, 150),
    .borderBottom = qRgb(0, 0, 0),
    .titleText = qRgb(255, 255, 255),
    .titleShadow = qRgb(192, 192, 192),
    .captionButtonTop = qRgb(255, 255, 255),
    .captionButtonBottom = qRgb(155, 155, 161),
    .closeCross = qRgb(16, 0, 74),
    .clientTop = qRgb(255, 255, 255),
    .clientBottom = qRgb(155, 155, 161),
    .outerLine = qRgb(0, 0, 0),
    .buttonFaceTop = qRgb(255, 255, 255),
    .buttonFaceBottom = qRgb(155, 155, 161),
    .buttonText = qRgb(16, 0, 74),
    .buttonDisabledText = qRgb(128, 128, 128),
    .labelText = qRgb(16, 0, 74),
    .progressBackTop = qRgb(128, 128, 128),
    .progressBackBottom = qRgb(0, 0, 0),
    .progressBarTop = qRgb(255, 255, 255),
    .progressBarBottom = qRgb(86, 89, 150),
};

// User-interface thread; start-up calls it before the first window is made.
void SetSkinPalette(const SkinPalette& palette);
const SkinPalette& CurrentSkinPalette();

}  // namespace lanterna::skin
