#pragma once
// Settings of a record as the short values of tables and files: the wireless security in use,
// the hardware address with colons, the mail recipients.

#include <string>
#include <string_view>

#include "record/ProjectorRecord.h"

namespace lanterna::fleet {

// "-" (wired), "none", "WEP", "WEP 64-bit", "WEP 128-bit", "WPA-PSK", "LEAP" or "code NNNNNN",
// with ", ad hoc" in ad hoc mode.
std::string SecurityText(const ProjectorRecord& record);

// Whether the record's wireless LAN uses WEP.
bool UsesWep(const ProjectorRecord& record);

// Whether the wireless interface is in use with no security at all, as read: WEP off on a basic
// module, security code none on a type-22 one (whose security is not read in ad hoc mode, and
// is then not known to be open).
bool IsOpenWireless(const ProjectorRecord& record);

// "02:00:0A:4D:01:01"; "" for none.
std::string MacText(std::string_view mac);

// The recipients that are set, joined by blanks.
std::string RecipientsText(const ProjectorRecord& record);

}  // namespace lanterna::fleet
