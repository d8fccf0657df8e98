#include "tools/projector-sim/Session.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <string>

#include "tools/projector-sim/Sockets.h"

namespace lanterna::sim {

void Session::Run() {
    if (RunHandshake()) {
        RunCommands();
    }
    ::shutdown(fd_, SHUT_RDWR);
}

ssize_t Session::ReceiveSome(void* buffer, std::size_t size) {
    pollfd readable{fd_, POLLIN, 0};
    int ready = 0;
    do {
        ready = ::poll(&readable, 1, static_cast<int>(idleTimeout_.count()));
    } while (ready < 0 && errno == EINTR);
    if (ready == 0) {
        return 0;  // silent for too long: the session ends as if the peer had left
    }
    return ready < 0 ? -1 : ::recv(fd_, buffer, size, 0);
}

bool Session::ReadExact(std::uint8_t* buffer, std::size_t size) {
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ReceiveSome(buffer + got, size - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0 || stop_.Raised()) {
            return false;
        }
        got += static_cast<std::size_t>(n);
    }
    return true;
}

bool Session::RunHandshake() {
    std::array<std::uint8_t, kPacketHeaderSize> headerBytes{};
    std::array<std::uint8_t, kPacketEntrySize> entryBytes{};
    while (ReadExact(headerBytes.data(), headerBytes.size())) {
        const auto header = DecodePacketHeader(headerBytes);
        if (!header) {
            return false;  // not our protocol: drop the connection
        }
        HandshakeRequest request{*header, {}};
        for (std::size_t i = 0; i < header->headerCount; ++i) {
            if (!ReadExact(entryBytes.data(), entryBytes.size())) {
                return false;
            }
            request.entries.push_back(DecodePacketEntry(entryBytes));
        }
        const HandshakeAnswer answer = state_.Handshake(request);
        const FaultConfig faults = state_.Faults();
        if (!stop_.Pause(faults.replyDelay)) {
            return false;
        }
        const auto reply = EncodePacket({kPacketVersion, header->type, answer.status, 0}, {});
        const std::string_view replyBytes(reinterpret_cast<const char*>(reply.data()),
                                          reply.size());
        if (!Write(replyBytes, faults, false)) {
            return false;
        }
        if (answer.authenticated) {
            return true;
        }
    }
    return false;
}

void Session::RunCommands() {
    std::string line;
    bool overlong = false;
    std::array<char, 1024> buffer{};
    while (true) {
        const ssize_t n = ReceiveSome(buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0 || stop_.Raised()) {
            return;
        }
        for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) {
            const char byte = buffer[i];
            if (byte != '\r') {
                if (line.size() < kMaxLineLength) {
                    line.push_back(byte);
                } else {
                    overlong = true;
                }
                continue;
            }
            const CommandOutcome outcome = state_.Execute(line, overlong);
            const bool set = !line.empty() && !ParseCommandLine(line).query;
            line.clear();
            overlong = false;
            if (outcome.reply && !SendTextReply(*outcome.reply)) {
                return;
            }
            if ((outcome.reset && closeOnReset_) || outcome.closeAfterReply) {
                return;
            }
            setsAnswered_ += set ? 1 : 0;
            if (const auto limit = state_.Faults().dropAfterSets; limit && setsAnswered_ >= *limit) {
                return;
            }
        }
    }
}

bool Session::SendTextReply(std::string_view reply) {
    const FaultConfig faults = state_.Faults();
    if (!stop_.Pause(faults.replyDelay)) {
        return false;
    }
    const std::string notice = faults.eventNoticeText + "\r:";
    if (faults.eventNotice == EventNoticePlacement::kBeforeReply) {
        // A pause of its own, so that the notice reaches the client as a reply by itself.
        if (!Write(notice, faults, true) || !stop_.Pause(faults.eventNoticeGap)) {
            return false;
        }
    }
    std::string payload(reply);
    if (faults.eventNotice == EventNoticePlacement::kAfterPrompt) {
        payload += notice;
    }
    return Write(payload, faults, true);
}

bool Session::Write(std::string_view bytes, const FaultConfig& faults, bool countsTowardsDrop) {
    const bool trickle = faults.trickleInterval.count() > 0;
    const std::size_t pieces =
        trickle ? std::max<std::size_t>(bytes.size(), 1)
                : std::clamp<std::size_t>(
                      static_cast<std::size_t>(std::max(faults.splitReplyPieces, 1)), 1,
                      std::max<std::size_t>(bytes.size(), 1));
    const std::size_t pieceSize = (bytes.size() + pieces - 1) / pieces;
    const std::chrono::milliseconds pause = trickle ? faults.trickleInterval : faults.splitDelay;
    while (!bytes.empty()) {
        std::string_view piece = bytes.substr(0, pieceSize);
        bytes.remove_prefix(piece.size());
        bool drop = false;
        if (countsTowardsDrop && faults.dropAfterBytes) {
            const std::size_t allowed =
                *faults.dropAfterBytes - std::min(*faults.dropAfterBytes, textBytesSent_);
            drop = piece.size() >= allowed && (piece.size() > allowed || !bytes.empty());
            piece = piece.substr(0, allowed);
        }
        if (!piece.empty() && !SendAll(fd_, piece.data(), piece.size())) {
            return false;
        }
        textBytesSent_ += countsTowardsDrop ? piece.size() : 0;
        if (drop) {
            return false;
        }
        if (!bytes.empty() && !stop_.Pause(pause)) {
            return false;
        }
    }
    return true;
}

}  // namespace lanterna::sim
