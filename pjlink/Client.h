#pragma once
// A PJLink link to one projector: connect, the greeting and its authentication, then one
// command at a time, each reply matched to its command. Bounded like the projector link: a
// deadline on the connect and on every reply, a size limit on every line, a cancellation flag,
// and at most one link per projector in this process at a time.
//
// Not thread-safe: one owner. Links to different projectors may run on many threads at once.

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "pjlink/LineSocket.h"
#include "pjlink/Protocol.h"
#include "platform/TickClock.h"

namespace lanterna::pjlink {

struct ClientOptions {
    std::uint16_t port = kPjlinkPort;
    std::uint32_t connectTimeoutMs = 5000;
    // Each reply, the greeting too, must have come whole this long after its request.
    std::uint32_t replyTimeoutMs = 5000;
    // Waiting for another link to the same projector in this process to end.
    std::uint32_t busyTimeoutMs = 10000;
    // Set from any thread: every wait ends within a short slice.
    const std::atomic<bool>* cancel = nullptr;
    CTickClock* clock = &SystemTickClock();
};

enum class LinkError {
    kNone,
    kBusy,              // another link to the projector stayed open too long
    kConnectFailed,     // nothing answered on the port
    kTimeout,           // a reply did not come whole in time (a stall or a trickle)
    kClosed,            // the projector ended the link
    kGarbage,           // a line of no form the standard gives, too long, or for another command
    kPasswordNeeded,    // the projector asks for a password and none was given
    kPasswordRefused,   // PJLINK ERRA
    kCancelled,
    kBadCommand,        // a command that could not be sent as one line
};

// "busy", "connect failed", ...: the same in every language.
std::string_view LinkErrorKey(LinkError error);

struct Answer {
    LinkError error = LinkError::kNone;
    std::optional<Reply> reply;  // set when error is kNone
};

class CClient {
  public:
    explicit CClient(ClientOptions options = {});
    ~CClient();
    CClient(const CClient&) = delete;
    CClient& operator=(const CClient&) = delete;

    // Connects to `address` (dotted) and reads the greeting. A password is used only when the
    // projector asks for one; it is sent as a digest with the first command.
    LinkError Open(const std::string& address, std::optional<std::string> password);

    // Sends `command` and waits for its reply. Any error closes the link.
    Answer Ask(const Command& command);

    void Close();

    // Whether the greeting asked for a password (known once Open succeeded).
    bool PasswordRequired() const { return passwordRequired_; }

  private:
    Answer Fail(LinkError error);
    void ReleaseSlot();

    ClientOptions options_;
    CLineSocket socket_;
    std::string slot_;  // "address:port" held in the process's set of open links
    bool passwordRequired_ = false;
    std::string pendingDigest_;  // goes in front of the first command, then is spent
};

}  // namespace lanterna::pjlink
