#pragma once
// What a write would send, told without a connection: the write worker runs over a link that
// records its command lines instead of sending them. The dry run prints these lines, the checks
// before a write judge exactly the settings they carry, and the read-back after a write
// compares them with what the projector reports.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "record/ProjectorRecord.h"

namespace lanterna::fleet {

// The command lines the write worker sends for `record` as it stands (its writeAll and state
// words), in order; `testMail`: the user asked for the test mail (its question answered Yes, and
// put even when no mail setting goes out).
std::vector<std::string> PlanWrite(const ProjectorRecord& record, bool testMail);

// The command name of a line ("NWCNF" of "NWCNF OFF 10.0.0.5 ...").
std::string_view CommandOf(std::string_view line);

// Whether one of `lines` is the command `name`.
bool PlanCarries(const std::vector<std::string>& lines, std::string_view name);
// Whether the plan sends the projector an address line (wired or wireless).
bool PlanSendsAddress(const std::vector<std::string>& lines);

// Whether one of `lines` carries record field `field` (named as in read --json).
bool PlanCarriesField(const std::vector<std::string>& lines, std::string_view field);

// The record fields a command carries, joined by ", " ("dns1, dns2" for NWDNS); the command
// name itself for one that carries none.
std::string FieldsOfCommand(std::string_view command);

// Why a setting changed in a record is in none of the lines its write sends.
enum class NotSentReason {
    kDhcp,              // an address setting while the projector takes its address from DHCP
    kMailOff,           // a mail setting while mail notification is off
    kAdHoc,             // a wireless security setting in ad hoc mode
    kNotWepSecurity,    // a WEP key setting while the security code is not WEP
    kNotForThisModule,  // anything else
};

NotSentReason WhyNotSent(std::string_view field, const ProjectorRecord& record);

// Copies every state word (and writeAll) of `from` into `to`, values untouched.
void CopyStateWords(const ProjectorRecord& from, ProjectorRecord& to);

// A line sent that the projector does not report back as it was sent.
struct NotTaken {
    std::string command;                  // its command name; FieldsOfCommand names the fields
    std::string sent;                     // the line sent
    std::optional<std::string> reported;  // the line the projector's report makes; none: no such
};

// The settings that did not take: the lines `sent` compared, command by command, with the lines
// the same write would send from `readBack` (the record read after the write), leaving out the
// test mail and the commands whose reply is never read. One entry per difference, in the order
// sent.
std::vector<NotTaken> SettingsNotTaken(const std::vector<std::string>& sent,
                                       const ProjectorRecord& written,
                                       const ProjectorRecord& readBack);

// The command groups a projector refused, one bit each in the write worker's writeErrors, as
// the string ids of their names ("DNS servers", "community"), lowest bit first.
std::vector<int> RefusedGroupWordIds(std::uint32_t writeErrors);

}  // namespace lanterna::fleet
