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

// "02:00:0A:4D:01:01"; "" for none.
std::string MacText(std::string_view mac);

// The recipients that are set, joined by blanks.
std::string RecipientsText(const ProjectorRecord& record);

}  // namespace lanterna::fleet
