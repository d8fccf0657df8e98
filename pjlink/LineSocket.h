#pragma once
// One TCP stream of the PJLink client: a bounded connect, whole sends, and lines ended by a
// carriage return read before a deadline and within a size limit. A cancellation flag ends any
// wait within a short slice. Not thread-safe; one owner.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/TickClock.h"

namespace lanterna::pjlink {

enum class LineStatus { kLine, kTimeout, kClosed, kTooLong, kCancelled };

class CLineSocket {
  public:
    explicit CLineSocket(const std::atomic<bool>* cancel = nullptr) : cancel_(cancel) {}
    ~CLineSocket();
    CLineSocket(const CLineSocket&) = delete;
    CLineSocket& operator=(const CLineSocket&) = delete;

    // Connects to dotted IPv4 `address` and `port` within `timeoutMs`. False when it could not
    // (or was cancelled); no socket is left then.
    bool Connect(std::string_view address, std::uint16_t port, std::uint32_t timeoutMs);

    // Sends `line` and a carriage return. False when the socket is closed or the send failed.
    bool SendLine(std::string_view line);

    // The next line without its carriage return into `line`, all of it before `deadline`, at
    // most `limit` bytes. After kTooLong or kTimeout the stream is out of step: close it.
    LineStatus ReadLine(std::string& line, std::size_t limit, const CDeadline& deadline);

    void Close();
    bool IsOpen() const { return fd_ >= 0; }

  private:
    // Waits until the socket can be read or written, bounded by `remainingMs` and cancellation.
    // 1 ready, 0 time out, -1 cancelled or failed.
    int WaitFor(short events, std::uint32_t remainingMs);
    bool Cancelled() const { return cancel_ != nullptr && cancel_->load(); }

    int fd_ = -1;
    std::string pending_;  // bytes received after the last line taken
    const std::atomic<bool>* cancel_;
};

}  // namespace lanterna::pjlink
