#pragma once
// What a write would send, told without a connection: the write worker runs over a link that
// records its command lines instead of sending them. The dry run prints these lines, the checks
// before a write judge exactly the settings they carry, and the read-back after a write
// compares them with what the projector reports.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "record/ProjectorRecord.h"

namespace lanterna::cli {

// The command lines the write worker sends for `record` as it stands (its writeAll and state
// words), in order, with the test-mail question answered `testMail`.
std::vector<std::string> PlanWrite(const ProjectorRecord& record, bool testMail);

// The command name of a line ("NWCNF" of "NWCNF OFF 10.0.0.5 ...").
std::string_view CommandOf(std::string_view line);

// Whether one of `lines` is the command `name`.
bool PlanCarries(const std::vector<std::string>& lines, std::string_view name);

// Whether one of `lines` carries record field `field` (named as in read --json).
bool PlanCarriesField(const std::vector<std::string>& lines, std::string_view field);

// The record fields a command carries, joined by ", " ("dns1, dns2" for NWDNS); the command
// name itself for one that carries none.
std::string FieldsOfCommand(std::string_view command);

// Why a setting changed in `record` is in none of `lines`, for a message.
std::string WhyNotSent(std::string_view field, const ProjectorRecord& record);

// Copies every state word (and writeAll) of `from` into `to`, values untouched.
void CopyStateWords(const ProjectorRecord& from, ProjectorRecord& to);

// The settings that did not take: the lines `sent` compared, command by command, with the lines
// the same write would send from `readBack` (the record read after the write), leaving out the
// test mail and the commands whose reply is never read. One text per difference, naming the
// fields, what was sent and what the projector reports now.
std::vector<std::string> SettingsNotTaken(const std::vector<std::string>& sent,
                                          const ProjectorRecord& written,
                                          const ProjectorRecord& readBack);

}  // namespace lanterna::cli
