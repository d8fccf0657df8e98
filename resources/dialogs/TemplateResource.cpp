#include "resources/dialogs/TemplateResource.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitialiseResource() {
    Q_INIT_RESOURCE(dialog_templates);
}

namespace lanterna_resources {

void InitialiseDialogTemplates() {
    InitialiseResource();
}

}  // namespace lanterna_resources
