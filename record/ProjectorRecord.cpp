#include "record/ProjectorRecord.h"

namespace lanterna {

void CopySettings(const ProjectorRecord& source, ProjectorRecord& target) {
    const ProjectorRecord kept = target;
    target = source;
    target.origin = kept.origin;
    target.wirelessActive = kept.wirelessActive;
    target.address = kept.address;
    target.password = kept.password;
    target.macAddress = kept.macAddress;
    target.foundBy = kept.foundBy;
    target.pjlinkAddress = kept.pjlinkAddress;
    target.pjlinkMacAddress = kept.pjlinkMacAddress;
}

bool HasSecurityCode(const ProjectorRecord& record, std::int32_t a, std::int32_t b, std::int32_t c,
                     std::int32_t d) {
    return record.security[0] == a && record.security[1] == b && record.security[2] == c &&
           record.security[3] == d;
}

bool UsesWepKeys(const ProjectorRecord& record) {
    return HasSecurityCode(record, 1, 1, 0, 0) || HasSecurityCode(record, 1, 2, 0, 0);
}

}  // namespace lanterna
