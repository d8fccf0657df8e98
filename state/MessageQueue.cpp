#include "state/MessageQueue.h"

namespace lanterna {

void CMessageQueue::PostMessage(std::uint32_t message, std::intptr_t wParam) {
    {
        std::lock_guard guard(mutex_);
        messages_.push_back({message, wParam});
    }
    posted_.notify_all();
}

std::optional<PostedMessage> CMessageQueue::Take(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    if (!posted_.wait_for(lock, limit, [this] { return !messages_.empty(); })) {
        return std::nullopt;
    }
    const PostedMessage first = messages_.front();
    messages_.pop_front();
    return first;
}

std::vector<PostedMessage> CMessageQueue::TakeAll() {
    std::lock_guard guard(mutex_);
    std::vector<PostedMessage> all(messages_.begin(), messages_.end());
    messages_.clear();
    return all;
}

}  // namespace lanterna
