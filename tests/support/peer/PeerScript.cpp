#include "tests/support/peer/PeerScript.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cstdio>

namespace lanterna::test {

CPeerScript::CPeerScript() {
    if (pipe2(stopPipe, O_CLOEXEC) != 0) {
        stopPipe[0] = stopPipe[1] = -1;
    }
}

CPeerScript::~CPeerScript() {
    StopThread();
    for (int fd : stopPipe) {
        if (fd >= 0) {
            close(fd);
        }
    }
}

void CPeerScript::AddStep(std::string description, Step step) {
    steps.emplace_back(std::move(description), std::move(step));
}

void CPeerScript::Fail(const std::string& message) {
    std::lock_guard guard(mutex);
    failures.push_back(message);
}

void CPeerScript::Start() {
    thread = std::thread([this] { Run(); });
}

void CPeerScript::Run() {
    bool going = Prepare();
    for (std::size_t index = 0; going && index < steps.size(); ++index) {
        {
            std::lock_guard guard(mutex);
            currentStep = "step " + std::to_string(index + 1) + " (" + steps[index].first + ")";
        }
        going = steps[index].second();
    }
    {
        std::lock_guard guard(mutex);
        done = true;
    }
    ended.notify_all();
}

bool CPeerScript::StopRequested() {
    pollfd stop{stopPipe[0], POLLIN, 0};
    return poll(&stop, 1, 0) > 0;
}

bool CPeerScript::WaitReadable(int fd, std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() < 0) {
            return false;
        }
        pollfd watched[2] = {{fd, POLLIN, 0}, {stopPipe[0], POLLIN, 0}};
        const int ready = poll(watched, 2, static_cast<int>(left.count()) + 1);
        if (ready > 0) {
            return watched[1].revents == 0;
        }
        if (ready == 0 && std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
    }
}

void CPeerScript::StopThread() {
    if (!thread.joinable()) {
        return;
    }
    const char stop = 's';
    if (write(stopPipe[1], &stop, 1) != 1) {
        // The pipe cannot be full (one byte is ever written); nothing else to do.
    }
    thread.join();
}

::testing::AssertionResult CPeerScript::Finish(std::chrono::milliseconds limit) {
    if (!thread.joinable()) {
        return ::testing::AssertionFailure() << "the peer was never started (or finished twice)";
    }
    bool finished = false;
    std::string stuckAt;
    {
        std::unique_lock lock(mutex);
        finished = ended.wait_for(lock, limit, [this] { return done; });
        stuckAt = currentStep;
    }
    StopThread();
    std::lock_guard guard(mutex);
    if (!finished) {
        failures.push_back("the script did not end within " + std::to_string(limit.count()) +
                           " ms; it was at " + stuckAt);
    }
    if (failures.empty()) {
        return ::testing::AssertionSuccess();
    }
    auto result = ::testing::AssertionFailure();
    for (const std::string& failure : failures) {
        result << "\n  peer: " << failure;
    }
    return result;
}

std::string Printable(std::string_view bytes) {
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r') {
            text += "\\r";
        } else if (c == '\n') {
            text += "\\n";
        } else if (byte < 0x20 || byte >= 0x7f) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
            text += escaped;
        } else {
            text.push_back(c);
        }
    }
    return text;
}

}  // namespace lanterna::test
