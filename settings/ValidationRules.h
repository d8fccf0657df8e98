#pragma once
// Every validation rule of the system: what a dialog, a file reader or an import accepts.
// Results are integers: 1 accepted, 0 rejected, unless a rule says otherwise.

#include "settings/AddressRules.h"  // IWYU pragma: export
#include "settings/TextRules.h"     // IWYU pragma: export
