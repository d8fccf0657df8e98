#pragma once
// One row per projector of what an inventory lists: its identity, interface, addresses, mail,
// SNMP, wireless security and whether it asks for a password, as the short values of a table
// or a CSV file.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fleet/Outcome.h"
#include "pjlink/Reading.h"
#include "record/ProjectorRecord.h"

namespace lanterna::fleet {

// The columns, by key ("address", "name", "hardwareAddress", ..., "status"): the same in every
// language.
std::span<const std::string_view> InventoryColumns();

// The row of the projector at `address` whose settings were read into `record`; one value per
// column, "" where a setting does not apply (the mask and gateway under DHCP, the mail server
// with notification off, the ESSID of a wired interface) or was not reported; status "read".
std::vector<std::string> InventoryRow(const std::string& address, const ProjectorRecord& record,
                                      bool passwordSet);

// The columns an inventory adds of what a projector tells over PJLink: "power", "lampHours",
// "errors", "model"; after the others.
std::span<const std::string_view> InventoryHealthColumns();

// Those columns of `read`: the power key, the most hours of any lamp ("no lamp"), the parts in
// error ("none") and maker and product; "" for what the projector did not report, every one of
// them when it did not answer PJLink.
std::vector<std::string> InventoryHealthCells(const pjlink::HealthRead& read);

// What a table shows for a PJLink column left empty.
inline constexpr std::string_view kNotReportedMark = "\u2014";

// The columns of an inventory that provision reads back: "hardwareAddress", "address", every
// field a write can change, by its name, and "status" (which provision passes over).
std::vector<std::string> SettableColumns();

// The row of the projector at `address` in those columns: each setting as FIELD=VALUE takes it
// back, "" where it was not read or does not apply, status "read". The keys are left empty: a
// row written back never carries a key, and one typed in is set.
std::vector<std::string> SettableRow(const std::string& address, const ProjectorRecord& record);

// The row in those columns of a target that was not read: its address and its status (the
// outcome's English word), every setting empty, so that the row written back gives nothing.
std::vector<std::string> SettableRowNotRead(const std::string& address, Outcome outcome);

// The row of a target that was not read: its address, its name when known, and its status (the
// outcome's English word, "read failed", "needs a password", ...); the rest empty.
std::vector<std::string> InventoryRowNotRead(const std::string& address, const std::string& name,
                                             Outcome outcome);

}  // namespace lanterna::fleet
