#pragma once
// Configuration of one simulated projector: where it listens, who it is, how it answers
// discovery and which faults it injects. Discovery switches and faults can also be changed
// while the projector runs (SimulatedProjector::SetDiscovery, SetFaults).

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "link/Ports.h"
#include "tools/projector-sim/PjlinkConfig.h"

namespace lanterna::sim {

// Where an unsolicited event notice goes relative to a text reply.
enum class EventNoticePlacement {
    kNone,
    kBeforeReply,  // a notice of its own, a pause, then the reply
    kAfterPrompt,  // written together with the reply, right behind its prompt
};

// What is done to the reply to one command.
enum class ReplyFaultKind {
    kCut,          // only the first `bytes` bytes go out, then the connection is closed
    kNoPrompt,     // the reply goes out without its closing ":"; the connection stays
    kUnderName,    // a query's answer carries the command name `text` instead of its own
    kSecondReply,  // the answer to the query `text` follows in the same write
    kRawValue,     // a query's value is the bytes of `text`, whatever they are
};

struct ReplyFault {
    ReplyFaultKind kind = ReplyFaultKind::kNoPrompt;
    std::size_t bytes = 0;
    std::string text;

    bool operator==(const ReplyFault&) const = default;
};

struct FaultConfig {
    // More than 1: every TCP reply (handshake and text) is sent in this many writes, with
    // `splitDelay` between them.
    int splitReplyPieces = 1;
    std::chrono::milliseconds splitDelay{20};

    // A notice "<eventNoticeText>" CR ":" around every text reply.
    EventNoticePlacement eventNotice = EventNoticePlacement::kNone;
    std::string eventNoticeText = "IMEVENT=0001";
    std::chrono::milliseconds eventNoticeGap{100};  // pause after a notice sent before a reply

    // Pause before every TCP reply (handshake and text).
    std::chrono::milliseconds replyDelay{0};

    // Above 0: every TCP reply (handshake and text) trickles out one byte at a time with this
    // pause before each further byte, as a module on a failing line might send it.
    std::chrono::milliseconds trickleInterval{0};

    // Once this many bytes of text replies (notices included) have gone out on one
    // connection, the rest is not sent and the connection is closed.
    std::optional<std::size_t> dropAfterBytes;

    // Commands answered with ERR whatever their form (names as sent, e.g. "NWPNAME").
    std::set<std::string> refusedCommands;

    // Faults of the replies to single commands (names as sent, e.g. "NWSMTPSRV"), each time the
    // command is answered.
    std::map<std::string, ReplyFault> replyFaults;

    // Once this many set commands have been answered on one connection (send-only ones
    // counted as they arrive), the connection is closed.
    std::optional<std::size_t> dropAfterSets;

    // Status byte of every handshake reply instead of the computed one. A connect request
    // answered with 0x20 this way opens the text session.
    std::optional<std::uint8_t> handshakeStatus;

    // IMSTAT and NWRESET are answered with CR ":" (by default they get no reply: the client
    // never reads one, and an unread reply would stay in the stream ahead of the next one).
    bool answerSendOnlyCommands = false;
};

struct DiscoveryConfig {
    bool answerHello = true;
    bool answerSecondary = true;
    std::uint8_t helloStatus = 0x20;    // byte 14 of the hello reply
    std::uint8_t helloHeaderCount = 3;  // byte 15; the entries sent follow it (at most 3)
    bool helloFromOtherPort = false;    // reply from an ephemeral port instead of ours
    bool secondaryEmptyName = false;    // secondary answer with an empty name
};

struct SimulatorConfig {
    // Listening address (dotted IPv4) and ports; port 0 picks an ephemeral port. TCP and the
    // hello UDP socket share `port`.
    std::string address = "127.0.0.1";
    std::uint16_t port = kProjectorPort;
    std::uint16_t secondaryPort = kSecondarySearchPort;

    // Also bind the two UDP ports on all addresses (SO_REUSEADDR), so that broadcasts reach
    // this projector; replies still leave from `address`.
    bool receiveBroadcasts = false;

    // Identity.
    std::string name = "SIMPROJ";
    std::string password;  // empty: none
    std::string mac;       // 12 hexadecimal digits; empty: derived from the address
    std::uint8_t imType = 21;
    bool wireless = false;  // the interface in use (NWIF)

    // Text sessions served at once; a connection beyond this is closed at once.
    std::size_t maxSessions = 8;

    // A connection that sends nothing for this long is closed, so that silent clients cannot
    // hold every session for ever.
    std::chrono::milliseconds idleTimeout{60000};

    // NWRESET ends the connection, as a module that restarts does.
    bool closeOnReset = true;

    // Append every command line to this file (empty: no file), each preceded by `logPrefix`.
    std::string logFile;
    std::string logPrefix;

    DiscoveryConfig discovery;
    FaultConfig faults;
    // PJLink beside the network module, on its own port (off unless enabled).
    PjlinkConfig pjlink;
};

}  // namespace lanterna::sim
