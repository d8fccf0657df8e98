#pragma once
// The checks a record goes through before a fleet job writes it: those the network settings
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

namespace lanterna::fleet {

// The rule that refused a value: most are named after the check that refused it, a few say that
// a value is missing.
enum class Rule {
    kStaticAddressNeeded,
    kIsHostAddress,
    kIsAddressUnique,  // another target of the same job has or gets the address
    kCheckAddressAgainstMask,
    kSubnetMaskNeeded,
    kIsSubnetMask,
    kIsGatewayAddress,
    kIsOptionalHostAddress,
    kIsDomainName,
    kIsProjectorName,
    kIsPortNumber,
    kFirstRecipientNeeded,
    kIsMailAddress,
    kCheckTrapAddress,
    kCommunityNameNeeded,
    kIsCommunityName,
    kIsEssidBasic,
    kIsWepKeyBasic,
    kIsEssid,
    kIsWepKey64,
    kIsWepKey128,
    kKeyInUseEmpty,
    kUnknown,
};

// The name of the check behind `rule` ("IsHostAddress", "IsWepKey (64-bit)"): a name in the
// code, the same in every language. Empty for a rule that says a value is missing.
std::string_view RuleName(Rule rule);

// The string id of what a rule that says a value is missing says ("a static address is
// needed"); 0 for a rule with a name.
int RuleSentenceId(Rule rule);

struct Refusal {
    int stringId = 0;   // the dialog's message (string table)
    std::string field;  // the record field by name (projectorName, ipAddress, ...)
    std::string value;  // the refused value as text
    Rule rule = Rule::kUnknown;

    friend bool operator==(const Refusal&, const Refusal&) = default;
};

struct JudgeScope {
    // The settings as the projector reported them; null when none were read.
    const ProjectorRecord* reported = nullptr;
    // The addresses of the command's other targets (ipAddress of each entry); a static address
    // must differ from all of them but entry `skipIndex`. Null leaves that test out (a forced
    // write).
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

}  // namespace lanterna::fleet
