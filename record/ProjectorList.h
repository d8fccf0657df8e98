#pragma once
// The projector list: owns its records, in the order they were listed (the main window shows
// them sorted, through its own model).
// Every operation takes the list's lock, so the two search threads may append at the same
// time while nothing else changes the list; a record pointer stays valid until its entry is
// removed or the list is cleared.

#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "record/ProjectorRecord.h"

namespace lanterna {

class ProjectorList {
  public:
    // The most projectors the main window shows, as many as lanternactl takes as targets.
    static constexpr std::size_t kDisplayLimit = 4096;

    ProjectorList() = default;
    ProjectorList(const ProjectorList&) = delete;
    ProjectorList& operator=(const ProjectorList&) = delete;

    std::size_t Size() const;
    bool Empty() const { return Size() == 0; }

    // The record at `index`, or nullptr when there is none (negative or past the end).
    ProjectorRecord* At(std::ptrdiff_t index) const;

    // Appends and returns the index of the new entry.
    std::size_t Append(std::unique_ptr<ProjectorRecord> record);
    // Appends a copy of `record`.
    std::size_t Append(const ProjectorRecord& record);

    // Removes (and frees) the entry at `index`; later entries move up. False when out of range.
    bool RemoveAt(std::size_t index);
    // Removes every entry from `count` on.
    void Truncate(std::size_t count);
    void Clear();

    // Calls `visit` for every entry in order while holding the lock; `visit` must not call
    // back into the list.
    void ForEach(const std::function<void(std::size_t, const ProjectorRecord&)>& visit) const;

  private:
    mutable std::mutex mutex_;
    std::vector<std::unique_ptr<ProjectorRecord>> records_;
};

}  // namespace lanterna
