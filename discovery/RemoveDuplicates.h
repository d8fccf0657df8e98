#pragma once
// Removing the projectors a refresh found twice.

#include <cstddef>
#include <functional>
#include <vector>

#include "record/DottedAddress.h"

#include "record/ProjectorList.h"

namespace lanterna {

// Called with the entry that stays and the one about to be removed.
using DuplicateObserver =
    std::function<void(const ProjectorRecord& kept, const ProjectorRecord& removed)>;

// For each projector in order, removes (and frees) every later one with the same four address
// octets and the same projectorName (exact bytes); a same address under another name stays.
// The entry that stays keeps its place and its fields, except that an interface-module type of
// 0 (unknown: the secondary search does not learn it) takes the removed entry's type, and the
// searches that found the removed entry are added to its own, with its PJLink side when the one
// that stays has none. Returns the number removed. Runs while nothing else changes the list.
std::size_t RemoveDuplicates(ProjectorList& projectors,
                             const DuplicateObserver& observer = nullptr);

// Room within `limit` records for the projectors a flood of broadcast replies must not push out:
// the records at `kept` addresses (greeted by unicast, named in the address book) stay wherever
// they stand, a place is left for each address of `toCome` not yet listed (the address book,
// merged next), and the other records beyond the room left go, the last first. Returns the
// number removed.
std::size_t MakeRoomFor(ProjectorList& projectors, const std::vector<Octets>& kept,
                        const std::vector<Octets>& toCome, std::size_t limit);

}  // namespace lanterna
