#include "discovery/SecondarySearch.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <new>
#include <span>
#include <system_error>
#include <thread>
#include <utility>

namespace lanterna {

namespace {

int PollRetrying(pollfd* descriptors, nfds_t count, int timeoutMs) {
    int ready = 0;
    do {
        ready = poll(descriptors, count, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    return ready;
}

// The socket of one run, closed when the run ends.
class UdpSocket {
  public:
    UdpSocket() : fd(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {}
    ~UdpSocket() {
        if (fd >= 0) {
            close(fd);
        }
    }
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;
    int fd;
};

}  // namespace

CSecondarySearch::CSecondarySearch(SecondaryTarget secondaryTarget, std::size_t slots)
    : target(std::move(secondaryTarget)),
      wakeDescriptor(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)),
      slotCount(slots) {}

CSecondarySearch::~CSecondarySearch() {
    if (wakeDescriptor >= 0) {
        close(wakeDescriptor);
    }
}

int CSecondarySearch::Run(std::vector<SecondaryAnswer>& results, std::size_t capacity) {
    UdpSocket udp;
    const int on = 1;
    if (wakeDescriptor < 0 || udp.fd < 0 ||
        setsockopt(udp.fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
        return -1;
    }
    count = 0;
    try {
        slots.assign(slotCount, SecondaryAnswer{});
    } catch (const std::bad_alloc&) {
        return -1;
    }
    {
        std::lock_guard guard(timerMutex);
        stopTimer = false;
        running = !cancelled;
        if (!cancelled) {
            std::uint64_t pending = 0;  // a wake-up left over from an earlier run
            [[maybe_unused]] const ssize_t read = ::read(wakeDescriptor, &pending, sizeof pending);
        }
    }
    std::thread receiver;
    std::thread timer;
    try {
        receiver = std::thread([this, fd = udp.fd] { Receive(fd); });
        timer = std::thread([this] { Time(); });
    } catch (const std::system_error&) {
        running = false;
        Wake();
        if (receiver.joinable()) {
            receiver.join();
        }
        return -1;
    }
    SendRequest(udp.fd);
    receiver.join();
    {
        std::lock_guard guard(timerMutex);
        stopTimer = true;
    }
    timerCondition.notify_all();
    timer.join();

    const std::size_t taken = std::min(count, capacity);
    results.assign(slots.begin(), slots.begin() + static_cast<std::ptrdiff_t>(taken));
    return static_cast<int>(count);
}

void CSecondarySearch::Cancel() {
    {
        std::lock_guard guard(timerMutex);
        cancelled = true;
        running = false;
    }
    Wake();
}

void CSecondarySearch::SendRequest(int socket) {
    pollfd writable{socket, POLLOUT, 0};
    if (PollRetrying(&writable, 1, kSecondarySendWaitMs) <= 0) {
        return;
    }
    sockaddr_in destination{};
    destination.sin_family = AF_INET;
    destination.sin_port = htons(target.port);
    destination.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    if (!target.address.empty() &&
        inet_pton(AF_INET, target.address.c_str(), &destination.sin_addr) != 1) {
        return;
    }
    // A request that cannot leave (no route, say) finds nothing; the run still lasts its time.
    sendto(socket, kSecondaryRequest.data(), kSecondaryRequest.size(), MSG_NOSIGNAL,
           reinterpret_cast<const sockaddr*>(&destination), sizeof destination);
}

void CSecondarySearch::Receive(int socket) {
    const std::size_t datagramLimit = kSecondaryDatagramsPerSlot * slotCount;
    std::size_t datagrams = 0;
    while (running && datagrams < datagramLimit) {
        std::array<pollfd, 2> waits{pollfd{socket, POLLIN, 0}, pollfd{wakeDescriptor, POLLIN, 0}};
        if (PollRetrying(waits.data(), waits.size(), -1) < 0 || waits[1].revents != 0 ||
            waits[0].revents & (POLLERR | POLLNVAL)) {
            break;
        }
        std::array<std::uint8_t, kSecondaryAnswerSize> datagram{};
        const ssize_t received = recv(socket, datagram.data(), datagram.size(), MSG_DONTWAIT);
        if (received < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
                continue;
            }
            break;
        }
        ++datagrams;
        if (count >= slots.size()) {
            continue;
        }
        if (const auto answer = DecodeSecondaryAnswer(
                std::span(datagram.data(), static_cast<std::size_t>(received)))) {
            slots[count++] = *answer;
        }
    }
}

// Sleeps on a condition until the wait is over (or the run ended or was cancelled), then ends
// the receiver.
void CSecondarySearch::Time() {
    {
        std::unique_lock lock(timerMutex);
        const std::chrono::milliseconds listen(target.listenMs != 0 ? target.listenMs
                                                                    : kSecondaryWaitSeconds * 1000);
        timerCondition.wait_for(lock, listen, [this] { return stopTimer || cancelled; });
        running = false;
    }
    Wake();
}

void CSecondarySearch::Wake() {
    if (wakeDescriptor >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = write(wakeDescriptor, &one, sizeof one);
    }
}

}  // namespace lanterna
