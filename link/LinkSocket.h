#pragma once
// One IPv4 socket of the projector link: a TCP stream to a projector or a UDP socket for the
// hello search. Owns the blocking calls, the reading of a text reply up to the projector's prompt
// ":" and the collection of hello replies. Every failure is reported by the result value only.
//
// Not thread-safe, with two exceptions: IsOpen and Interrupt may be called from any thread at
// any time (the link uses them to end a keep-alive exchange blocked in a receive).

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string_view>
#include <vector>

#include "link/DiscoveredProjector.h"
#include "platform/TickClock.h"
#include "record/ProjectorList.h"

namespace lanterna {

// Bytes dropped at once while draining the stream, and the size of a datagram buffer.
inline constexpr std::size_t kDrainChunkSize = 4096;
inline constexpr std::size_t kDatagramBufferSize = 4096;

// A peer that keeps sending event notices cannot hold a reply read forever: after this many
// skipped notices the read fails.
inline constexpr int kMaxSkippedEventNotices = 64;

// Longest a connect may wait for the peer's answer: an address whose packets vanish would
// otherwise hold it for the system's own limit, two minutes and more.
inline constexpr std::uint32_t kConnectTimeoutMs = 5000;

// A flood of datagrams cannot hold a hello collection forever: it ends normally after this many
// datagrams, room for the answers of as many projectors as the list holds twice over (the
// computer's own broadcast and strays reach the port too).
inline constexpr int kMaxHelloDatagrams = 2 * static_cast<int>(ProjectorList::kDisplayLimit);

class CLinkSocket {
  public:
    CLinkSocket() = default;
    // Closes a socket still open, so that none is ever leaked.
    virtual ~CLinkSocket();
    CLinkSocket(const CLinkSocket&) = delete;
    CLinkSocket& operator=(const CLinkSocket&) = delete;

    // BSD sockets need no start-up: always 1. (There is no provider whose initialisation could
    // fail and be retried here.)
    int Startup();

    // Connects a stream to `address` (dotted text, else resolved as a host name) and `port`,
    // waiting at most `timeoutMs` for the peer. Sets TCP_NODELAY so that each line leaves at
    // once. 1 connected, -1 failed (no socket is left).
    int ConnectTcp(std::string_view address, std::uint16_t port,
                   std::uint32_t timeoutMs = kConnectTimeoutMs);

    // Binds a datagram socket to `port` on all local addresses, with broadcast permission when
    // `broadcast` is set. No address reuse: a port that another socket holds fails. 1 bound,
    // -1 failed (no socket is left).
    int OpenUdp(std::uint16_t port, bool broadcast);

    // Time-outs of every later blocking send or receive. 1 set; 0 no socket or failed (the
    // socket is then closed).
    int SetReceiveTimeout(std::uint32_t milliseconds);
    int SetSendTimeout(std::uint32_t milliseconds);

    // Shuts both directions down and closes. 1 closed, -1 no socket.
    int Close();

    // One send of all `length` bytes. 1 sent; 0 no socket or failed (the socket is then closed).
    int Send(const void* bytes, std::size_t length);

    // Sends `text` followed by one carriage return in a single send. 1 sent; 0 no socket, no
    // memory or failed (the socket is then closed).
    int SendLine(std::string_view text);

    // One datagram to `address` (dotted or a host name; empty: 255.255.255.255) and `port`.
    // 1 sent; 0 no socket or failed (an unresolvable name or a failed send closes the socket).
    int SendTo(std::string_view address, std::uint16_t port, const void* bytes, std::size_t length);

    // Zeroes `buffer`, then one receive of at most `size` bytes, begun before `deadline` (when
    // given) has passed. Byte count, 0 when the peer closed, -1 on error, time-out or without
    // socket.
    int Receive(void* buffer, std::size_t size, const CDeadline* deadline = nullptr);

    // Reads one text reply, ending with the prompt ":" as the last byte available, into
    // `buffer` and keeps it zero-terminated. Each receive goes straight into `buffer` and takes
    // all that has arrived, so a reply costs one receive when it comes in one piece. Event
    // notices are skipped or cut off (see FindEventNotice). With a `deadline`, the whole reply
    // must have come before it passes, however slowly its bytes trickle in. Reply length >= 0;
    // -3 when nothing could be read (error, time-out, deadline, peer closed, too many notices),
    // -2 when the reply would not fit in `capacity` - 1 bytes (its first `capacity` - 1 bytes
    // are in `buffer`, the rest stays in the stream).
    int ReceiveReply(char* buffer, std::size_t capacity, const CDeadline* deadline = nullptr);

    // Reads and drops what has already arrived, without waiting, up to `limit` bytes: the rest
    // of a reply that came too late or too long, or an answer nobody asked for, so that it is
    // never read as the reply to the next command. The count of bytes dropped.
    std::size_t DiscardPending(std::size_t limit);

    // Collects the answers to one hello request: waits up to `milliseconds` for each datagram
    // (the wait starts anew after each one) and appends the decoded replies from source port
    // `port` to `results`. 0 when the waiting ended (time-out, empty datagram, datagram limit);
    // -1 when a wait or receive failed (the socket is then closed).
    int ReceiveHelloReplies(std::uint16_t port, std::vector<DiscoveredProjector>& results,
                            std::uint32_t milliseconds);

    // Thread-safe. Whether a socket is open.
    bool IsOpen() const;

    // Thread-safe. Shuts both directions down without closing, so that a thread blocked in a
    // receive on this socket returns at once (closing the descriptor would not wake it).
    void Interrupt();

  private:
    int SetTimeout(int option, std::uint32_t milliseconds);
    int FailAndClose(int result);
    // One receive of at most `size` bytes that ends by the deadline (when given). Byte count,
    // 0 when the peer closed, -1 on error, time-out or deadline.
    int ReceiveBounded(char* buffer, std::size_t size, const CDeadline* deadline);

    // -1 means no socket. Changed only under handleMutex, which also keeps Interrupt from
    // shutting down a descriptor that Close is releasing.
    std::atomic<int> handle{-1};
    std::mutex handleMutex;
    // The receive time-out set on the open socket; 0 when none is (a receive may wait forever).
    std::atomic<std::uint32_t> receiveTimeoutMs{0};
};

}  // namespace lanterna
