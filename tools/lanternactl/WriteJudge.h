#pragma once
// The checks a record goes through before lanternactl writes it: those the network settings
// dialog runs on OK and those of its mail, SNMP and wireless dialogs, in that order and with
// their messages. A setting is judged when a command line of the write carries it with a value
// other than the one the projector reported: what goes back to a projector unchanged is its
// own value and cannot harm it (and without a report, every carried setting is judged).

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "record/ProjectorList.h"
#include "record/ProjectorRecord.h"
#include "settings/AddressRules.h"

namespace lanterna::cli {

struct Refusal {
    int stringId = 0;   // the dialog's message (string table)
    std::string field;  // the record field, as read --json names it
    std::string value;  // the refused value as text
    std::string rule;   // the rule that refused it
};

struct JudgeScope {
    // The settings as the projector reported them; null when none were read.
    const ProjectorRecord* reported = nullptr;
    // The addresses of the command's other targets (ipAddress of each entry); a static address
    // must differ from all of them but entry `skipIndex`. Null leaves that test out (--force).
    const ProjectorList* uniqueAmong = nullptr;
    std::ptrdiff_t skipIndex = kSkipNone;
    // Fields given a new value: judged like carried ones, since a value that cannot be put
    // into its command line never shows among the lines.
    const std::vector<std::string>* changed = nullptr;
};

// The first refusal, in the dialogs' order, among the settings `lines` carry (and the changed
// ones); none when every judged setting passes.
std::optional<Refusal> JudgeWrite(const ProjectorRecord& record,
                                  const std::vector<std::string>& lines, const JudgeScope& scope);

// "FIELD=VALUE refused by RULE: MESSAGE".
std::string RefusalText(const Refusal& refusal);

}  // namespace lanterna::cli
