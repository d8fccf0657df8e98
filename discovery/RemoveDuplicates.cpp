#include "discovery/RemoveDuplicates.h"

#include <set>
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
        kept.foundBy |= candidate.foundBy;
        if (IsEmptyText(kept.pjlinkMacAddress)) {
            kept.pjlinkAddress = candidate.pjlinkAddress;
            kept.pjlinkMacAddress = candidate.pjlinkMacAddress;
        }
        projectors.RemoveAt(index);
        ++removed;
    }
    return removed;
}

std::size_t MakeRoomFor(ProjectorList& projectors, const std::vector<Octets>& kept,
                        const std::vector<Octets>& toCome, std::size_t limit) {
    std::set<Octets> keep(kept.begin(), kept.end());
    keep.insert(toCome.begin(), toCome.end());
    std::set<Octets> listed;
    std::vector<std::size_t> others;
    std::size_t stays = 0;
    projectors.ForEach([&](std::size_t index, const ProjectorRecord& record) {
        Octets address{};
        const bool dotted = ScanDottedInto(TextOf(record.address), address) == 4;
        listed.insert(address);
        if (dotted && keep.contains(address)) {
            ++stays;
        } else {
            others.push_back(index);
        }
    });
    for (const Octets& address : std::set<Octets>(toCome.begin(), toCome.end())) {
        stays += listed.contains(address) ? 0 : 1;
    }
    const std::size_t room = limit > stays ? limit - stays : 0;
    std::size_t removed = 0;
    for (std::size_t i = others.size(); i > room; --i) {
        removed += projectors.RemoveAt(others[i - 1]) ? 1 : 0;
    }
    return removed;
}

}  // namespace lanterna
