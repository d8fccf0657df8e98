#include "tools/lanternactl/SignalWaiter.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace lanterna::cli {

namespace {

constexpr std::array<int, 3> kSignals = {SIGTERM, SIGINT, SIGHUP};

// What the handler may touch: lock-free flags and the pipe's descriptors.
std::atomic<bool> stopAsked{false};
std::atomic<bool> reloadAsked{false};
std::array<int, 2> wakePipe{-1, -1};

extern "C" void OnSignal(int signal) {
    const int savedErrno = errno;
    (signal == SIGHUP ? reloadAsked : stopAsked).store(true);
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(wakePipe[1], &byte, 1);
    errno = savedErrno;
}

void Drain() {
    char bytes[64];
    while (read(wakePipe[0], bytes, sizeof bytes) > 0) {
    }
}

}  // namespace

CSignalWaiter::CSignalWaiter() {
    stopAsked = false;
    reloadAsked = false;
    if (pipe2(wakePipe.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        wakePipe = {-1, -1};
        return;
    }
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        struct sigaction action {};
        action.sa_handler = &OnSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(kSignals[i], &action, &previous_[i]);
    }
}

CSignalWaiter::~CSignalWaiter() {
    if (!Ready()) {
        return;
    }
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        sigaction(kSignals[i], &previous_[i], nullptr);
    }
    close(wakePipe[0]);
    close(wakePipe[1]);
    wakePipe = {-1, -1};
}

bool CSignalWaiter::Ready() const {
    return wakePipe[0] >= 0;
}

const std::atomic<bool>& CSignalWaiter::StopFlag() const {
    return stopAsked;
}

watch::WakeReason CSignalWaiter::Wait(std::chrono::milliseconds longest) {
    if (!stopAsked && !reloadAsked) {
        pollfd fd{wakePipe[0], POLLIN, 0};
        poll(&fd, 1, static_cast<int>(std::min<long long>(longest.count(), 1000LL * 3600)));
    }
    Drain();
    if (stopAsked) {
        return watch::WakeReason::kStop;
    }
    if (reloadAsked.exchange(false)) {
        return watch::WakeReason::kReload;
    }
    return watch::WakeReason::kTimeout;
}

}  // namespace lanterna::cli
