#pragma once
// The settings as the settings dialogs name them ("Preferred DNS server" for dns1): the words a
// person reads where a front end tells of a setting rather than of a command or a file key.

#include <string_view>

namespace lanterna::fleet {

// The string id of the label of record field `field` (as set names it); 0 for no field.
int FieldLabelId(std::string_view field);

}  // namespace lanterna::fleet
