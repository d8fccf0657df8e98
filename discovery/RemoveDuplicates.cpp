#include "discovery/RemoveDuplicates.h"

namespace lanterna {

namespace {

bool IsSameProjector(const ProjectorRecord& first, const ProjectorRecord& later) {
    return first.ipAddress == later.ipAddress &&
           TextOf(first.projectorName) == TextOf(later.projectorName);
}

}  // namespace

std::size_t RemoveDuplicates(ProjectorList& projectors, const DuplicateObserver& observer) {
    std::size_t removed = 0;
    for (std::size_t first = 0; first < projectors.Size(); ++first) {
        ProjectorRecord& kept = *projectors.At(static_cast<std::ptrdiff_t>(first));
        std::size_t later = first + 1;
        while (later < projectors.Size()) {
            const ProjectorRecord& candidate = *projectors.At(static_cast<std::ptrdiff_t>(later));
            if (!IsSameProjector(kept, candidate)) {
                ++later;
                continue;
            }
            if (observer) {
                observer(kept, candidate);
            }
            if (kept.imType == 0) {
                kept.imType = candidate.imType;
            }
            projectors.RemoveAt(later);
            ++removed;
        }
    }
    return removed;
}

}  // namespace lanterna
