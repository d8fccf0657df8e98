#include "tools/projector-sim/SimulatedProjector.h"

#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "tools/projector-sim/Discovery.h"
#include "tools/projector-sim/Session.h"

namespace lanterna::sim {

namespace {

// With an ephemeral port the UDP port that matches the TCP one may be taken; a few fresh
// tries find a free pair.
constexpr int kEphemeralBindTries = 8;

std::string Describe(const char* what, std::uint16_t port, const std::string& reason) {
    return std::string(what) + " port " + std::to_string(port) + ": " + reason;
}

}  // namespace

SimulatedProjector::SimulatedProjector(SimulatorConfig config)
    : config_(std::move(config)), state_(config_) {}

SimulatedProjector::~SimulatedProjector() {
    Stop();
}

bool SimulatedProjector::Start(std::string* reason) {
    if (running_) {
        return true;
    }
    std::string failure;
    const auto address = ParseIpv4(config_.address);
    if (!address) {
        failure = "not an IPv4 address: " + config_.address;
    } else if (!config_.logFile.empty() && !state_.LogFileReady()) {
        failure = "cannot open the log file " + config_.logFile;
    } else if (BindSockets(*address, failure)) {
        wake_.Reset(::eventfd(0, EFD_CLOEXEC));
        if (!wake_.Valid()) {
            failure = std::string("eventfd: ") + std::strerror(errno);
            CloseSockets();
        }
    }
    if (wake_.Valid() && config_.pjlink.enabled && !StartPjlink(*address, failure)) {
        wake_.Reset();
        CloseSockets();
    }
    if (!wake_.Valid()) {
        if (reason != nullptr) {
            *reason = failure;
        }
        return false;
    }
    address_ = *address;
    stop_.Clear();
    running_ = true;
    server_ = std::thread([this] { Serve(); });
    return true;
}

void SimulatedProjector::Stop() {
    if (!running_) {
        return;
    }
    stop_.Raise();
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(wake_.Get(), &one, sizeof one);
    server_.join();
    ReapSessions(true);
    CloseSockets();
    if (pjlink_) {
        pjlink_->Stop();
    }
    running_ = false;
}

bool SimulatedProjector::StartPjlink(in_addr address, std::string& reason) {
    if (!pjlink_) {
        pjlink_ = std::make_unique<CPjlinkResponder>(config_.pjlink, config_.name,
                                                     state_.Settings().mac);
    }
    if (pjlink_->Start(address, config_.receiveBroadcasts, reason)) {
        return true;
    }
    reason = "PJLink port " + std::to_string(config_.pjlink.port) + ": " + reason;
    pjlink_.reset();
    return false;
}

bool SimulatedProjector::BindSockets(in_addr address, std::string& reason) {
    const int tries = config_.port == 0 ? kEphemeralBindTries : 1;
    for (int i = 0; i < tries; ++i) {
        if (BindOnce(address, config_.port, reason)) {
            return true;
        }
        CloseSockets();
    }
    return false;
}

bool SimulatedProjector::BindOnce(in_addr address, std::uint16_t port, std::string& reason) {
    const bool broadcast = config_.receiveBroadcasts;
    in_addr any{};
    any.s_addr = htonl(INADDR_ANY);
    std::string why;

    listener_ = OpenTcpListener(address, port, why);
    if (!listener_.Valid()) {
        reason = Describe("TCP", port, why);
        return false;
    }
    tcpPort_ = LocalPort(listener_.Get());
    helloSocket_ = OpenUdp(address, tcpPort_, broadcast, why);
    if (helloSocket_.Valid() && broadcast) {
        helloBroadcast_ = OpenUdp(any, tcpPort_, true, why);
    }
    if (!helloSocket_.Valid() || (broadcast && !helloBroadcast_.Valid())) {
        reason = Describe("UDP", tcpPort_, why);
        return false;
    }
    helloPort_ = tcpPort_.load();

    secondarySocket_ = OpenUdp(address, config_.secondaryPort, broadcast, why);
    if (secondarySocket_.Valid()) {
        secondaryPort_ = LocalPort(secondarySocket_.Get());
        if (broadcast) {
            secondaryBroadcast_ = OpenUdp(any, secondaryPort_, true, why);
        }
    }
    if (!secondarySocket_.Valid() || (broadcast && !secondaryBroadcast_.Valid())) {
        reason = Describe("UDP", config_.secondaryPort, why);
        return false;
    }
    return true;
}

void SimulatedProjector::CloseSockets() {
    listener_.Reset();
    helloSocket_.Reset();
    secondarySocket_.Reset();
    helloBroadcast_.Reset();
    secondaryBroadcast_.Reset();
    wake_.Reset();
}

void SimulatedProjector::Serve() {
    enum Slot { kWake, kListener, kHello, kSecondary, kHelloBroadcast, kSecondaryBroadcast };
    std::array<pollfd, 6> fds{};
    const std::array<int, 6> sockets{wake_.Get(),           listener_.Get(),
                                     helloSocket_.Get(),    secondarySocket_.Get(),
                                     helloBroadcast_.Get(), secondaryBroadcast_.Get()};
    for (std::size_t i = 0; i < fds.size(); ++i) {
        fds[i].fd = sockets[i];  // -1 for an unused slot: poll skips it
        fds[i].events = POLLIN;
    }
    while (true) {
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        const auto readable = [&fds](Slot slot) { return (fds[slot].revents & POLLIN) != 0; };
        if (readable(kWake)) {
            return;
        }
        if (readable(kListener)) {
            Accept();
        }
        if (readable(kHello)) {
            AnswerHelloDatagram(helloSocket_.Get(), helloSocket_.Get(), address_, state_);
        }
        if (readable(kHelloBroadcast)) {
            AnswerHelloDatagram(helloBroadcast_.Get(), helloSocket_.Get(), address_, state_);
        }
        if (readable(kSecondary)) {
            AnswerSecondaryDatagram(secondarySocket_.Get(), secondarySocket_.Get(), address_,
                                    state_);
        }
        if (readable(kSecondaryBroadcast)) {
            AnswerSecondaryDatagram(secondaryBroadcast_.Get(), secondarySocket_.Get(), address_,
                                    state_);
        }
    }
}

void SimulatedProjector::Accept() {
    UniqueFd fd(::accept4(listener_.Get(), nullptr, nullptr, SOCK_CLOEXEC));
    if (!fd.Valid()) {
        return;
    }
    ReapSessions(false);
    std::lock_guard lock(sessionsMutex_);
    std::size_t active = 0;
    for (const auto& slot : sessions_) {
        active += slot->done ? 0 : 1;
    }
    if (active >= config_.maxSessions) {
        state_.CountConnection(false);
        return;  // closing at once tells the client clearly that the module is busy
    }
    // Each write of a reply leaves as a segment of its own, so split replies stay split.
    const int on = 1;
    ::setsockopt(fd.Get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);

    state_.CountConnection(true);
    auto slot = std::make_unique<SessionSlot>();
    slot->fd = std::move(fd);
    SessionSlot* session = slot.get();
    session->thread = std::thread([this, session] {
        Session(session->fd.Get(), state_, stop_, config_.closeOnReset, config_.idleTimeout).Run();
        session->done = true;
        state_.CountConnectionEnded();  // after: whoever sees the count finds the session free
    });
    sessions_.push_back(std::move(slot));
}

void SimulatedProjector::ReapSessions(bool all) {
    std::list<std::unique_ptr<SessionSlot>> finished;
    {
        std::lock_guard lock(sessionsMutex_);
        for (auto it = sessions_.begin(); it != sessions_.end();) {
            if (all) {
                ::shutdown((*it)->fd.Get(), SHUT_RDWR);
            }
            if (all || (*it)->done) {
                finished.push_back(std::move(*it));
                it = sessions_.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (const auto& slot : finished) {
        slot->thread.join();
    }
}

}  // namespace lanterna::sim
