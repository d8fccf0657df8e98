#pragma once
// Rendering of dialogs into images, for the gallery and for tests: no window is shown.

#include <QImage>

namespace ui {

class CDialog;

// Renders `dialog` as it would look, creating and initialising it first (CDialog::Create)
// when it has no controls yet. A null image when the dialog cannot be created.
QImage RenderDialog(CDialog& dialog);

// Renders a plain dialog of template `templateId` with the template's own texts.
QImage RenderTemplate(int templateId);

}  // namespace ui
