#include "record/ProjectorList.h"

namespace lanterna {

std::size_t ProjectorList::Size() const {
    std::lock_guard lock(mutex_);
    return records_.size();
}

ProjectorRecord* ProjectorList::At(std::ptrdiff_t index) const {
    std::lock_guard lock(mutex_);
    if (index < 0 || static_cast<std::size_t>(index) >= records_.size()) {
        return nullptr;
    }
    return records_[static_cast<std::size_t>(index)].get();
}

std::size_t ProjectorList::Append(std::unique_ptr<ProjectorRecord> record) {
    std::lock_guard lock(mutex_);
    records_.push_back(std::move(record));
    return records_.size() - 1;
}

std::size_t ProjectorList::Append(const ProjectorRecord& record) {
    return Append(std::make_unique<ProjectorRecord>(record));
}

bool ProjectorList::RemoveAt(std::size_t index) {
    std::lock_guard lock(mutex_);
    if (index >= records_.size()) {
        return false;
    }
    records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

void ProjectorList::Truncate(std::size_t count) {
    std::lock_guard lock(mutex_);
    if (count < records_.size()) {
        records_.resize(count);
    }
}

void ProjectorList::Clear() {
    std::lock_guard lock(mutex_);
    records_.clear();
}

void ProjectorList::ForEach(
    const std::function<void(std::size_t, const ProjectorRecord&)>& visit) const {
    std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i < records_.size(); ++i) {
        visit(i, *records_[i]);
    }
}

}  // namespace lanterna
