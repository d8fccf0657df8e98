#pragma once
// The dialog templates of this folder are compiled in as the Qt resource "dialog_templates"
// (files under ":/dialogs/"). Call this before reading them: from a static library the
// resource is only registered when its initialiser is named somewhere.

namespace lanterna_resources {

void InitialiseDialogTemplates();

}  // namespace lanterna_resources
