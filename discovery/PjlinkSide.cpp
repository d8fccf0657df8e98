#include "discovery/PjlinkSide.h"

#include <cctype>

#include "record/DottedAddress.h"

namespace lanterna {

std::string ComparableHardwareAddress(std::string_view text) {
    std::string digits;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == ':' || c == '-') {
            continue;
        }
        if (std::isxdigit(byte) == 0) {
            return {};
        }
        digits += static_cast<char>(std::toupper(byte));
    }
    return digits.size() == 12 ? digits : std::string();
}

std::string PjlinkAddressOf(const ProjectorRecord& record) {
    return IsEmptyText(record.pjlinkAddress) ? FormatDotted(record.ipAddress)
                                             : std::string(TextOf(record.pjlinkAddress));
}

bool IsPjlinkSideOf(const ProjectorRecord& record, const pjlink::SearchAnswer& answer) {
    const std::string own = ComparableHardwareAddress(TextOf(record.macAddress));
    return own.empty() ? FormatDotted(record.ipAddress) == answer.address
                       : own == ComparableHardwareAddress(answer.hardwareAddress);
}

void JoinPjlinkSide(ProjectorRecord& record, const pjlink::SearchAnswer& answer) {
    record.foundBy |= kFinderPjlink;
    CopyText(record.pjlinkMacAddress, answer.hardwareAddress);
    CopyText(record.pjlinkAddress,
             FormatDotted(record.ipAddress) == answer.address ? std::string() : answer.address);
}

std::size_t JoinPjlinkTwins(ProjectorList& projectors, ProjectorRecord& read,
                            std::string_view moduleHardwareAddress,
                            const std::function<void(const ProjectorRecord&)>& removing) {
    const std::string module = ComparableHardwareAddress(moduleHardwareAddress);
    if (module.empty()) {
        return 0;
    }
    std::size_t removed = 0;
    std::size_t index = 0;
    while (index < projectors.Size()) {
        ProjectorRecord& twin = *projectors.At(static_cast<std::ptrdiff_t>(index));
        if (&twin == &read || !OnlyPjlinkFound(twin) ||
            ComparableHardwareAddress(TextOf(twin.pjlinkMacAddress)) != module) {
            ++index;
            continue;
        }
        JoinPjlinkSide(read, {PjlinkAddressOf(twin), std::string(TextOf(twin.pjlinkMacAddress))});
        if (removing) {
            removing(twin);
        }
        projectors.RemoveAt(index);
        ++removed;
    }
    return removed;
}

}  // namespace lanterna
