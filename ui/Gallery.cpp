#include "ui/Gallery.h"

#include <QPixmap>

#include "ui/Dialog.h"

namespace ui {

QImage RenderDialog(CDialog& dialog) {
    if (dialog.ClientArea() == nullptr && !dialog.Create()) {
        return QImage();
    }
    dialog.ensurePolished();
    return dialog.grab().toImage();
}

QImage RenderTemplate(int templateId) {
    CDialog dialog(templateId);
    return RenderDialog(dialog);
}

}  // namespace ui
