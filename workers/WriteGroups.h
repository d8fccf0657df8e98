#pragma once
// Settings that travel together in one set command, and the rule that nothing unread is ever
// sent: a command that must carry a setting whose value was never read (state 0) would give the
// projector a value nobody read, so a write that would send one sends nothing at all. Shared by
// the write worker, the window (before it starts a write) and the command line.

#include <string_view>
#include <vector>

#include "record/ProjectorRecord.h"

namespace lanterna {

// One setting a command carries: its name as the record's field (`read --json`) and its state.
struct CarriedSetting {
    std::string_view setting;
    std::int32_t state;
};

// What the address configuration of the record's interface carries (NWCNF, NWWLCNF or
// NWWLCNFS), by its DHCP switch and module type.
std::vector<CarriedSetting> AddressConfigSettings(const ProjectorRecord& record);

// Whether the write sends the address configuration: due as a group, or because the name goes
// out (a new name reaches the network only with the address configuration).
bool AddressConfigGoesOut(const ProjectorRecord& record);

// Whether the write sends the security code (type 22, wireless, infrastructure mode).
bool SecurityCodeGoesOut(const ProjectorRecord& record);

// The first setting that a write of `record` would send without it having been read, or the
// empty text when there is none. The groups: the address configuration (sent as a group or
// forced by the name), the DNS and WINS pairs (with DHCP off), the security code (due, or forced
// by a changed ad-hoc switch). A single setting is never due unread.
std::string_view UnreadSettingInWrite(const ProjectorRecord& record);

}  // namespace lanterna
