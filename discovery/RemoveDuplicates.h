#pragma once
// Removing the projectors a refresh found twice.

#include <cstddef>
#include <functional>

#include "record/ProjectorList.h"

namespace lanterna {

// Called with the entry that stays and the one about to be removed.
using DuplicateObserver =
    std::function<void(const ProjectorRecord& kept, const ProjectorRecord& removed)>;

// For each projector in order, removes (and frees) every later one with the same four address
// octets and the same projectorName (exact bytes); a same address under another name stays.
// The entry that stays keeps its place and its fields, except that an interface-module type of
// 0 (unknown: the secondary search does not learn it) takes the removed entry's type. Returns
// the number removed. Runs while nothing else changes the list.
std::size_t RemoveDuplicates(ProjectorList& projectors,
                             const DuplicateObserver& observer = nullptr);

}  // namespace lanterna
