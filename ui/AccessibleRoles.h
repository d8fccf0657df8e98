#pragma once
// Roles the accessibility interface would otherwise get wrong. The kit's radio buttons keep
// their groups exclusive themselves (by template order, not by parent), so Qt, which tells a
// radio button from a check box by its automatic exclusivity, would announce them as check
// boxes; here they are announced as radio buttons, with their checked state and press action.

namespace ui {

// Installs the kit's accessibility factory once per process; later calls do nothing.
void InstallAccessibleRoles();

}  // namespace ui
