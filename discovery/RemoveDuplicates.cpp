#include "discovery/RemoveDuplicates.h"

#include <string>
#include <unordered_map>

namespace lanterna {

namespace {

// A projector as duplicates are told apart: its four address bytes and its exact name.
std::string DuplicateKeyOf(const ProjectorRecord& record) {
    std::string key(record.ipAddress.begin(), record.ipAddress.end());
    key.append(TextOf(record.projectorName));
    return key;
}

}  // namespace

// One pass with the first record of each key at hand: a site's list of thousands is not
// compared pair by pair.
std::size_t RemoveDuplicates(ProjectorList& projectors, const DuplicateObserver& observer) {
    std::unordered_map<std::string, ProjectorRecord*> firstOf;
    std::size_t removed = 0;
    std::size_t index = 0;
    while (index < projectors.Size()) {
        ProjectorRecord& candidate = *projectors.At(static_cast<std::ptrdiff_t>(index));
        const auto [found, isFirst] = firstOf.try_emplace(DuplicateKeyOf(candidate), &candidate);
        if (isFirst) {
            ++index;
            continue;
        }
        ProjectorRecord& kept = *found->second;
        if (observer) {
            observer(kept, candidate);
        }
        if (kept.imType == 0) {
            kept.imType = candidate.imType;
        }
        projectors.RemoveAt(index);
        ++removed;
    }
    return removed;
}

}  // namespace lanterna
