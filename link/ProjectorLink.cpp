#include "link/ProjectorLink.h"

#include <array>
#include <string>
#include <utility>

#include "link/CommandLine.h"
#include "link/LinkPacket.h"

namespace lanterna {

CProjectorLink::CProjectorLink(LinkOptions linkOptions)
    : options(std::move(linkOptions)), clock(*options.clock) {
    socket.Startup();
}

CProjectorLink::~CProjectorLink() {
    StopKeepAlive();
    std::lock_guard guard(exchangeMutex);
    socket.Close();
}

int CProjectorLink::Connect(std::string_view address, std::uint16_t port) {
    std::lock_guard guard(exchangeMutex);
    streamInDoubt = true;
    if (socket.ConnectTcp(address, port) != 1) {
        return 0;
    }
    if (socket.SetSendTimeout(kLinkTimeoutMs) != 1 ||
        socket.SetReceiveTimeout(kLinkTimeoutMs) != 1) {
        return 0;
    }
    return 1;
}

int CProjectorLink::Hello(std::string_view address, std::uint16_t port,
                          std::vector<DiscoveredProjector>& results, std::uint32_t quietMs) {
    // A socket of its own, so that a search never disturbs an open TCP connection.
    CLinkSocket udp;
    if (udp.OpenUdp(options.helloLocalPort, address.empty()) != 1) {
        return -1;
    }
    {
        std::lock_guard guard(helloMutex);
        if (helloCancelled) {
            return 1;
        }
        helloSocket = &udp;
    }
    const PacketBytes request = BuildHelloRequest();
    int result = -1;
    if (udp.SendTo(address, port, request.data(), request.size()) == 1) {
        // A cancel shuts the socket down: the wait ends at once and the receive reports 0.
        result = udp.ReceiveHelloReplies(port, results, quietMs) == 0 ? 1 : -1;
    }
    std::lock_guard guard(helloMutex);
    helloSocket = nullptr;
    udp.Close();
    return helloCancelled ? 1 : result;
}

void CProjectorLink::CancelHello() {
    std::lock_guard guard(helloMutex);
    helloCancelled = true;
    if (helloSocket != nullptr) {
        helloSocket->Interrupt();
    }
}

bool CProjectorLink::ReceivePacketReply(std::uint8_t& status, const CDeadline& deadline) {
    std::array<std::uint8_t, kPacketReplyBufferSize> reply{};
    std::size_t received = 0;
    while (received < kPacketHeaderSize) {
        const int count =
            socket.Receive(reply.data() + received, reply.size() - received, &deadline);
        if (count <= 0) {
            return false;
        }
        received += static_cast<std::size_t>(count);
    }
    status = reply[kPacketStatusOffset];
    return true;
}

int CProjectorLink::SendPacketAndMapStatus(const std::vector<std::uint8_t>& request, bool probe) {
    std::uint8_t status = 0;
    {
        std::lock_guard guard(exchangeMutex);
        const CDeadline deadline(*options.deadlineClock, kLinkTimeoutMs);
        streamInDoubt = true;  // the packet reply is read by its header alone
        if (socket.Send(request.data(), request.size()) != 1 ||
            !ReceivePacketReply(status, deadline)) {
            return -1;
        }
    }
    return probe ? ProbeStatusToResult(status) : StatusToResult(status);
}

int CProjectorLink::QueryPasswordRequired() {
    return SendPacketAndMapStatus(BuildPasswordProbeRequest(), true);
}

int CProjectorLink::Authenticate(std::string_view password) {
    const int result = SendPacketAndMapStatus(BuildConnectRequest(password), false);
    if (result == 1) {
        Touch();
        StartKeepAlive();
    }
    return result;
}

int CProjectorLink::ChangePassword(std::string_view currentPassword, std::string_view newPassword) {
    return SendPacketAndMapStatus(BuildPasswordChangeRequest(currentPassword, newPassword), false);
}

void CProjectorLink::Touch() {
    lastActivity.store(clock.Now(), std::memory_order_release);
}

ExchangeReply CProjectorLink::Converse(std::string_view name, std::string_view argument, bool query,
                                       bool trim) {
    const std::string line = BuildCommandLine(name, argument, query, trim);
    if (!IsSendableCommandText(line)) {
        return {ExchangeOutcome::kNotSent, {}};
    }
    if (options.dryRun) {
        options.dryRun(line);
        return {query ? ExchangeOutcome::kRefused : ExchangeOutcome::kAnswered, {}};
    }
    std::array<char, kReplyBufferSize> reply{};
    int length = 0;
    {
        std::lock_guard guard(exchangeMutex);
        const CDeadline deadline(*options.deadlineClock, kLinkTimeoutMs);
        // Any reply counts as the acceptance of a set, so nothing left waiting may stand in
        // for it; a query's answer must name the query, so its stream is drained only when
        // the last exchange gave reason to doubt it (see streamInDoubt).
        if (!query || streamInDoubt) {
            socket.DiscardPending(kStaleReplyLimit);
        }
        streamInDoubt = true;
        if (socket.SendLine(line) != 1) {
            return {};
        }
        Touch();
        length = socket.ReceiveReply(reply.data(), reply.size(), &deadline);
        if (length < 0) {
            return {};
        }
        Touch();
    }
    const std::string_view received(reply.data(), std::size_t(length));
    const std::string_view text = FirstReply(received);
    if (!query) {
        return {IsErrorReply(text) ? ExchangeOutcome::kRefused : ExchangeOutcome::kAnswered, {}};
    }
    const QueryAnswer answer = ReadQueryAnswer(text, name);
    switch (answer.kind) {
        case QueryAnswer::Kind::kValue:
            // The query's own answer, alone: the stream is in step.
            streamInDoubt = text.size() != received.size();
            return {ExchangeOutcome::kAnswered, std::string(answer.value)};
        case QueryAnswer::Kind::kRefused:
            return {ExchangeOutcome::kRefused, {}};
        case QueryAnswer::Kind::kStray:
            break;
    }
    return {ExchangeOutcome::kStray, {}};
}

int CProjectorLink::Exchange(std::string_view name, std::string_view argument, char* value,
                             std::size_t valueSize, bool query, bool trim) {
    const ExchangeReply reply = Converse(name, argument, query, trim);
    if (reply.outcome != ExchangeOutcome::kAnswered) {
        return 0;
    }
    if (!query) {
        return 1;
    }
    CopyValueText(reply.value, value, valueSize);
    return 1;
}

int CProjectorLink::SendCommand(std::string_view name, std::string_view argument, bool query) {
    const std::string line = BuildCommandLine(name, argument, query, true);
    if (!IsSendableCommandText(line)) {
        return 0;
    }
    if (options.dryRun) {
        options.dryRun(line);
        return 1;
    }
    std::lock_guard guard(exchangeMutex);
    streamInDoubt = true;  // its reply, if any, is left in the stream
    if (socket.SendLine(line) != 1) {
        return 0;
    }
    Touch();
    return 1;
}

int CProjectorLink::Close() {
    const bool wasOpen = socket.IsOpen();
    StopKeepAlive();
    std::lock_guard guard(exchangeMutex);
    socket.Close();
    return wasOpen ? 1 : 0;
}

void CProjectorLink::StartKeepAlive() {
    if (keepAliveThread.joinable()) {
        // A second successful authentication: one keep-alive per link, started afresh.
        stopEvent.Signal();
        keepAliveThread.join();
    }
    stopEvent.Reset();
    keepAliveThread = std::thread([this] { RunKeepAlive(); });
}

void CProjectorLink::StopKeepAlive() {
    if (!keepAliveThread.joinable()) {
        return;
    }
    stopEvent.Signal();
    // A keep-alive waiting for its reply would otherwise hold on for the whole receive
    // time-out; shutting the stream down ends that wait at once.
    socket.Interrupt();
    keepAliveThread.join();
}

void CProjectorLink::RunKeepAlive() {
    const auto report = [this](KeepAliveEvent event, Tick tick) {
        if (options.keepAliveObserver) {
            options.keepAliveObserver(event, tick);
        }
    };
    bool hasFailed = false;
    Tick failedAt = 0;
    while (!stopEvent.Wait(clock, kKeepAliveCheckMs)) {
        // lastActivity is read before the clock: a tick read afterwards is never the earlier
        // one, so the unsigned difference cannot wrap into a huge idle time.
        const Tick last = lastActivity.load(std::memory_order_acquire);
        const Tick now = clock.Now();
        const std::uint32_t idle = TicksBetween(last, now);
        if (idle <= idleTimeout / 2 ||
            (hasFailed && TicksBetween(failedAt, now) < kKeepAliveRetryMs)) {
            continue;
        }
        if (Exchange("", std::string_view(), nullptr, 0, false, true) == 1) {
            hasFailed = false;
            report(KeepAliveEvent::kSucceeded, now);
            continue;
        }
        hasFailed = true;
        failedAt = now;
        report(KeepAliveEvent::kFailed, now);
        if (idle > idleTimeout) {
            {
                std::lock_guard guard(exchangeMutex);
                socket.Close();
            }
            report(KeepAliveEvent::kClosedIdle, now);
            return;
        }
    }
}

}  // namespace lanterna
