#pragma once
// The checks a record goes through before a fleet job writes it: those the network settings
// dialog runs on OK and those of its mail, SNMP and wireless dialogs, in that order and with
// their messages. A setting is judged when a command line of the write carries it with a value
// other than the one the projector reported: what goes back to a projector unchanged is its
// own value and cannot harm it (and without a report, every carried setting is judged).

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "record/ProjectorList.h"
#include "record/ProjectorRecord.h"
#include "settings/AddressRules.h"

namespace lanterna::fleet {

// The rule that refused a value: most are named after the check that refused it, a few say that
// a value is missing; each is said in words by SentenceOf.
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
    kAddressNetworkZero,           // CheckAddressAgainstMask: the subnet's network part is 0
    kGatewayIsNetworkOrBroadcast,  // IsGatewayAddress: in the subnet, but not a host of it
    kGatewayIsOwnAddress,          // IsGatewayAddress: the projector's own address
    kUnknown,
};

struct Refusal {
    int stringId = 0;   // the dialog's message (string table)
    std::string field;  // the record field by name (projectorName, ipAddress, ...)
    std::string value;  // the refused value as text
    Rule rule = Rule::kUnknown;
    // For the rules of the address, mask and gateway: the subnet judged against
    // ("10.90.0.0/16") and the projector's address.
    std::string subnet{};
    std::string address{};

    friend bool operator==(const Refusal&, const Refusal&) = default;
};

// What a refusal says in words: the string id of its rule's sentence ("{1} {2} is not in the
// subnet {3}": "gateway 10.0.0.1 is not in the subnet 10.90.0.0/16") and the values it takes:
// the field, the value (never a key's), then what the rule needs (the subnet and the address,
// or a key's size in bits, letters and hexadecimal digits).
struct RuleSentence {
    int id = 0;
    std::array<std::string, 5> values;
};
RuleSentence SentenceOf(const Refusal& refusal);

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
