#pragma once
// A message target that keeps what was posted, in order, for a reader on another thread: the
// command line's stand-in for the progress window, and the tests' window.
//
// Thread-safe: any number of threads may post while one thread takes.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

#include "state/Messages.h"

namespace lanterna {

struct PostedMessage {
    std::uint32_t message = 0;
    std::intptr_t wParam = 0;

    bool operator==(const PostedMessage&) const = default;
};

class CMessageQueue final : public IMessageTarget {
  public:
    void PostMessage(std::uint32_t message, std::intptr_t wParam) override;

    // The oldest message not yet taken, waiting at most `limit` for one; none on time-out.
    std::optional<PostedMessage> Take(std::chrono::milliseconds limit);

    // Every message not yet taken (without waiting), and forgets them.
    std::vector<PostedMessage> TakeAll();

  private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<PostedMessage> messages_;
};

}  // namespace lanterna
