#pragma once
// The face the dialogs are measured in. Whether a text fits its control or a title its caption
// depends on the face: those checks are made in NanumGothic, the first face of ui::DialogFont(),
// which scripts/install-deps installs (Debian package fonts-nanum). Where it is missing another
// face would stand in and be measured instead; such a check skips, saying why.

#include <QFontInfo>
#include <QString>
#include <string>

#include "ui/DialogUnits.h"

namespace uitest {

inline constexpr const char* kPinnedDialogFace = "NanumGothic";

// Empty when the dialog font resolves to the pinned face; otherwise why a fit cannot be
// measured here.
inline std::string WithoutPinnedDialogFace() {
    const QString face = QFontInfo(ui::DialogFont()).family();
    if (face == QLatin1String(kPinnedDialogFace)) {
        return {};
    }
    return std::string(kPinnedDialogFace) +
           " (fonts-nanum, installed by scripts/install-deps) is missing and " +
           face.toStdString() + " would stand in: the fit is measured in " + kPinnedDialogFace +
           " only";
}

}  // namespace uitest
