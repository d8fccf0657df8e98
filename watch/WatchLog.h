#pragma once
// The watcher's log: one line per event on standard error, in the form the system journal
// reads (a priority prefix such as "<6>"), never a password or key. Texts that came from
// outside (projector names) have their control bytes replaced, so that one line stays one line.
//
// Threads: Line may be called from many threads at once.

#include <iosfwd>
#include <mutex>
#include <string>
#include <string_view>

namespace lanterna::watch {

enum class Priority { kError = 3, kWarning = 4, kNotice = 5, kInfo = 6 };

// "<N>TEXT\n", with every control byte of `text` as '?'.
std::string JournalLine(Priority priority, std::string_view text);

class IWatchLog {
  public:
    virtual ~IWatchLog() = default;
    virtual void Line(Priority priority, std::string_view text) = 0;
};

// Lines on a stream, one whole line at a time.
class CStreamLog final : public IWatchLog {
  public:
    explicit CStreamLog(std::ostream& stream) : stream_(stream) {}
    void Line(Priority priority, std::string_view text) override;

  private:
    std::mutex mutex_;
    std::ostream& stream_;
};

}  // namespace lanterna::watch
