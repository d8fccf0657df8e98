#include "dialogs/CutValueMark.h"

#include <QWidget>

#include "record/CutState.h"
#include "resources/ReplyStringIds.h"
#include "resources/StringTable.h"
#include "ui/Text.h"

namespace lanterna::dialogs {

void ShowCutMark(ui::CDialog& dialog, int controlId, std::int32_t state) {
    QWidget* box = dialog.GetDlgItem(controlId);
    if (box == nullptr) {
        return;
    }
    const QString note =
        state == kStateCut ? ui::ToQString(LoadString(kStringValueCut)) : QString();
    box->setToolTip(note);
    box->setAccessibleDescription(note);
}

}  // namespace lanterna::dialogs
