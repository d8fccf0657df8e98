#pragma once
// What an audit finds in the settings of a set of projectors: each kind of finding with its
// severity and meaning in one table (audit --help prints it), and the checks that find them.

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "record/ProjectorRecord.h"

namespace lanterna::cli {

enum class Severity { kNotice, kWarning, kCritical };

// "notice", "warning", "critical".
std::string_view SeverityWord(Severity severity);

struct FindingKind {
    std::string_view id;
    Severity severity;
    std::string_view meaning;
};

// One projector as the audit sees it.
struct AuditedProjector {
    std::string address;
    ProjectorRecord record{};
    bool passwordSet = false;
};

struct Finding {
    std::size_t projector = 0;  // index into the audited projectors
    const FindingKind* kind = nullptr;
    std::string detail;
};

// Every finding, projector by projector in their order; the findings about two or more
// projectors (the same name, the same address) under each projector concerned.
std::vector<Finding> Audit(const std::vector<AuditedProjector>& projectors);

// One entry per kind: severity, name and meaning.
void PrintFindingHelp(std::ostream& out);

}  // namespace lanterna::cli
