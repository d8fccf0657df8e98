#pragma once
// What an audit finds in the settings of a set of projectors: each kind of finding with its
// severity, the string ids of what it means and of its detail, and the checks that find them.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "record/ProjectorRecord.h"

namespace lanterna::fleet {

enum class Severity { kNotice, kWarning, kCritical };

// "notice", "warning", "critical": the same in every language (a key for scripts and files).
std::string_view SeverityKey(Severity severity);

// The string id of the severity's word.
int SeverityWordId(Severity severity);

struct FindingKind {
    std::string_view id;  // "no-password": the same in every language
    Severity severity;
    int meaning;  // string id: what the finding means and what to do about it
    int detail;   // string id of the detail: {1} the value found, {2} the other addresses
};

// Every kind, in the order of the audit's help.
std::span<const FindingKind* const> AllFindingKinds();

// The string id of the kind's short name ("open wireless LAN"); 0 for a kind without one.
int FindingTitleId(const FindingKind& kind);

// One projector as the audit sees it.
struct AuditedProjector {
    std::string address;
    ProjectorRecord record{};
    bool passwordSet = false;
};

struct Finding {
    std::size_t projector = 0;  // index into the audited projectors
    const FindingKind* kind = nullptr;
    std::string value;                // what was found (a community, a security, an ESSID, ...)
    std::vector<std::string> alsoAt;  // the other projectors sharing it, by address
};

// Every finding, projector by projector in their order; the findings about two or more
// projectors (the same name, the same address) under each projector concerned.
std::vector<Finding> Audit(const std::vector<AuditedProjector>& projectors);

}  // namespace lanterna::fleet
