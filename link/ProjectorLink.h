#pragma once
// The link to one projector: the framed handshake (password probe, connect, password change),
// the hello request, the text command exchange and the keep-alive that holds an idle
// authenticated link open.
//
// Results: 1 success; 0 or negative failure as each operation says. No operation throws or
// shows anything.
//
// Threads: one worker thread at a time calls the operations; the link's own keep-alive thread
// (running from a successful Authenticate until Close or destruction) exchanges on the same
// stream. Each exchange (send and its reply) holds the link's exchange lock, so the keep-alive's
// bare carriage return never falls between a command and its reply.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "link/DiscoveredProjector.h"
#include "link/LinkOptions.h"
#include "link/LinkSocket.h"
#include "platform/WaitEvent.h"

namespace lanterna {

// Send and receive time-out of a connected link, and the deadline of every reply (a text reply,
// or the handshake's packet reply) counted from the send of its request.
inline constexpr std::uint32_t kLinkTimeoutMs = 5000;
// How long the hello search waits for each further reply.
inline constexpr std::uint32_t kHelloWaitMs = 5000;
// A link without a successful exchange for this long is closed by its keep-alive; one idle for
// half of it gets a bare carriage return.
inline constexpr std::uint32_t kIdleTimeoutMs = 600000;
// Least spacing of keep-alive attempts after a failed one.
inline constexpr std::uint32_t kKeepAliveRetryMs = 60000;
// How often the keep-alive looks at the idle time (and how soon it notices a stop).
inline constexpr std::uint32_t kKeepAliveCheckMs = 1000;

inline constexpr std::size_t kReplyBufferSize = 4096;
// At most this much of what is already waiting in the stream before a command is sent gets
// dropped (see CLinkSocket::DiscardPending); a peer cannot keep an exchange busy with a flood.
inline constexpr std::size_t kStaleReplyLimit = 16 * kReplyBufferSize;

// How one text command went.
enum class ExchangeOutcome {
    kAnswered,  // a set was accepted; a query was answered with a value under its own name
    kRefused,   // the projector's "ERR" reply
    kStray,     // a whole reply that does not answer the query asked (another command's name,
                // no value): the field stays unread, the link stays usable
    kNotSent,   // the line holds a control byte (see IsSendableCommandText): nothing was sent
    kFailed,    // the link failed: send failed, the link is closed, the reply did not come whole
                // by its deadline (cut, without its prompt) or overran the reply buffer
};

struct ExchangeReply {
    ExchangeOutcome outcome = ExchangeOutcome::kFailed;
    std::string value;  // an answered query's value, whole (see ReadQueryAnswer)
};
inline constexpr std::size_t kPacketReplyBufferSize = 1024;

class CProjectorLink {
  public:
    explicit CProjectorLink(LinkOptions options = {});
    // Stops the keep-alive (within about a second, also when it is waiting for a reply) and
    // closes the transport.
    virtual ~CProjectorLink();
    CProjectorLink(const CProjectorLink&) = delete;
    CProjectorLink& operator=(const CProjectorLink&) = delete;

    // Opens the TCP connection (port: always kProjectorPort outside tests), waiting at most
    // kConnectTimeoutMs, and sets 5000 ms send and receive time-outs. 1 or 0.
    int Connect(std::string_view address, std::uint16_t port);

    // Sends the hello request to `address` (empty: broadcast to 255.255.255.255, the only case
    // with broadcast permission) and `port` from a UDP socket of its own bound to the local
    // hello port, and collects the replies into `results` until none has come for `quietMs`
    // (5000 ms unless a caller asks for less or more).
    // 1 (also when nothing answered) or -1 (port taken, send or receive failed).
    int Hello(std::string_view address, std::uint16_t port,
              std::vector<DiscoveredProjector>& results, std::uint32_t quietMs = kHelloWaitMs);

    // Thread-safe. Ends a Hello running on another thread at once, keeping what it collected
    // so far, and makes every later Hello on this link return 1 at once without sending. Lets
    // a search be abandoned without waiting out the 5000 ms of silence.
    void CancelHello();

    // The handshake requests below fail (-1) when their reply has not come whole within
    // kLinkTimeoutMs of the send.

    // 0 no password required, 1 password required, -1 failure.
    int QueryPasswordRequired();

    // Sends the connect request (an empty password sends none). 1 accepted (the keep-alive
    // starts), -2 ... -7 by the reply's status, -1 other failure.
    int Authenticate(std::string_view password);

    // 1 accepted, -2 ... -7 by the reply's status, -1 other failure. No keep-alive.
    int ChangePassword(std::string_view currentPassword, std::string_view newPassword);

    // One text command and its reply, told apart as ExchangeOutcome says. The line is built as
    // BuildCommandLine does (`argument` empty: none) and sent with a carriage return, after
    // what was left waiting in the stream has been dropped (before a query, only when the
    // exchange before it was not a query answered in step). Only the first reply received is
    // looked at (FirstReply); a second answer that came with it is dropped too. A set is
    // answered unless the reply begins with "ERR"; a query only by "<name>=<value>".
    ExchangeReply Converse(std::string_view name, std::string_view argument, bool query, bool trim);

    // Converse with a yes-or-no result. A set command gives 1 when answered; a query gives 1
    // and copies its value into `value` as ExtractQueryValue does (at most `valueSize` bytes).
    // Every other outcome gives 0 and leaves `value` unchanged.
    int Exchange(std::string_view name, std::string_view argument, char* value,
                 std::size_t valueSize, bool query, bool trim);
    // The same with an argument that may be null.
    int Exchange(std::string_view name, const char* argument, char* value, std::size_t valueSize,
                 bool query, bool trim) {
        return Exchange(name, OptionalText(argument), value, valueSize, query, trim);
    }

    // Sends the line (always trimmed) without reading any reply. 1 sent, 0 failed or refused
    // (a control byte in the line).
    int SendCommand(std::string_view name, std::string_view argument, bool query);
    int SendCommand(std::string_view name, const char* argument, bool query) {
        return SendCommand(name, OptionalText(argument), query);
    }

    // Stops the keep-alive and closes the transport. 1 when a connection was open, 0 when there
    // was nothing to close.
    int Close();

  private:
    static std::string_view OptionalText(const char* text) {
        return text == nullptr ? std::string_view() : std::string_view(text);
    }
    int SendPacketAndMapStatus(const std::vector<std::uint8_t>& request, bool probe);
    bool ReceivePacketReply(std::uint8_t& status, const CDeadline& deadline);
    void Touch();
    void StartKeepAlive();
    void StopKeepAlive();
    void RunKeepAlive();

    std::thread keepAliveThread;  // not joinable until an authentication succeeds
    CLinkSocket socket;
    CWaitEvent stopEvent;               // ends the keep-alive
    std::atomic<Tick> lastActivity{0};  // last successful send or receive of a text command
    const std::uint32_t idleTimeout = kIdleTimeoutMs;

    LinkOptions options;
    CTickClock& clock;
    // Held across each send and its reply; also for sends without reply and packets.
    std::mutex exchangeMutex;
    // Under exchangeMutex. Whether bytes nobody asked for may be waiting in the stream: set by
    // everything but a query answered by its own reply alone (a failure, a refusal, a stray or
    // second answer, a set, a send without reply, the handshake's packets), so that the next
    // query drains the stream first.
    std::atomic<bool> streamInDoubt{true};

    // The UDP socket of the Hello in progress (null when none) and whether CancelHello was
    // called, both under helloMutex.
    std::mutex helloMutex;
    CLinkSocket* helloSocket = nullptr;
    bool helloCancelled = false;
};

}  // namespace lanterna
