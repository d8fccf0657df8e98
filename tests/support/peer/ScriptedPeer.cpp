#include "tests/support/peer/ScriptedPeer.h"

#include <arpa/inet.h>
#include <linux/sockios.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace lanterna::test {

namespace {

std::chrono::steady_clock::time_point StepDeadline() {
    return std::chrono::steady_clock::now() + kPeerStepLimit;
}

// An IPv4 socket address as /proc/net/tcp writes it: the address's four bytes as one
// hexadecimal number read in the machine's order, then the port.
std::string ProcTcpAddress(const sockaddr_in& address) {
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%08X:%04X", address.sin_addr.s_addr,
                  static_cast<unsigned>(ntohs(address.sin_port)));
    return text.data();
}

// The bytes that arrived at the client's end of `connection` and that it has not read yet
// (the rx_queue column of /proc/net/tcp); none when that end is not listed.
std::optional<long> ClientUnreadBytes(int connection) {
    sockaddr_in ours{};
    sockaddr_in theirs{};
    socklen_t size = sizeof ours;
    getsockname(connection, reinterpret_cast<sockaddr*>(&ours), &size);
    size = sizeof theirs;
    getpeername(connection, reinterpret_cast<sockaddr*>(&theirs), &size);
    const std::string local = ProcTcpAddress(theirs);
    const std::string remote = ProcTcpAddress(ours);
    std::ifstream table("/proc/net/tcp");
    std::string line;
    std::getline(table, line);  // the heading
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string slot, from, to, state, queues;
        fields >> slot >> from >> to >> state >> queues;
        if (from == local && to == remote) {
            return std::stol(queues.substr(queues.find(':') + 1), nullptr, 16);
        }
    }
    return std::nullopt;
}

}  // namespace

CScriptedPeer::CScriptedPeer(std::string listenAddress, std::uint16_t listenPort)
    : address(std::move(listenAddress)) {
    listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(listenPort);
    if (listener < 0 || inet_pton(AF_INET, address.c_str(), &local.sin_addr) != 1 ||
        bind(listener, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        listen(listener, 4) != 0) {
        throw std::runtime_error("scripted peer: cannot listen on " + address + ": " +
                                 std::strerror(errno));
    }
    socklen_t size = sizeof local;
    getsockname(listener, reinterpret_cast<sockaddr*>(&local), &size);
    port = ntohs(local.sin_port);
}

CScriptedPeer::~CScriptedPeer() {
    StopThread();
    CloseConnectionNow();
    close(listener);
}

bool CScriptedPeer::Prepare() {
    if (!WaitReadable(listener, StepDeadline())) {
        Fail("no client connected");
        return false;
    }
    connection = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) {
        Fail(std::string("accept failed: ") + std::strerror(errno));
        return false;
    }
    // Each Reply step leaves as a piece of its own.
    const int on = 1;
    setsockopt(connection, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return true;
}

void CScriptedPeer::Record(std::string_view bytes) {
    {
        std::lock_guard guard(receivedMutex);
        received.append(bytes);
    }
    receivedChanged.notify_all();
}

std::string CScriptedPeer::Received() {
    std::lock_guard guard(receivedMutex);
    return received;
}

bool CScriptedPeer::AwaitReceived(std::size_t count, std::chrono::milliseconds limit) {
    std::unique_lock lock(receivedMutex);
    return receivedChanged.wait_for(lock, limit, [&] { return received.size() >= count; });
}

CScriptedPeer& CScriptedPeer::Expect(std::string bytes) {
    const std::string description = "expect \"" + Printable(bytes) + "\"";
    AddStep(description, [this, bytes = std::move(bytes)] { return ExpectBytes(bytes); });
    return *this;
}

CScriptedPeer& CScriptedPeer::ExpectLine(std::string_view line) {
    return Expect(std::string(line) + "\r");
}

bool CScriptedPeer::ExpectBytes(const std::string& expected) {
    std::string got;
    const auto deadline = StepDeadline();
    while (got.size() < expected.size()) {
        if (!WaitReadable(connection, deadline)) {
            Fail("expected \"" + Printable(expected) + "\", got only \"" + Printable(got) +
                 "\" in time");
            return false;
        }
        std::array<char, 4096> chunk;
        const ssize_t count =
            recv(connection, chunk.data(), std::min(chunk.size(), expected.size() - got.size()), 0);
        if (count <= 0) {
            Fail("expected \"" + Printable(expected) + "\", the client closed after \"" +
                 Printable(got) + "\"");
            return false;
        }
        got.append(chunk.data(), static_cast<std::size_t>(count));
        Record(std::string_view(chunk.data(), static_cast<std::size_t>(count)));
    }
    if (got != expected) {
        Fail("expected \"" + Printable(expected) + "\", got \"" + Printable(got) + "\"");
        return false;
    }
    return true;
}

bool CScriptedPeer::WriteAll(std::string_view bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count =
            send(connection, bytes.data() + written, bytes.size() - written, MSG_NOSIGNAL);
        if (count <= 0) {
            Fail("could not write \"" + Printable(bytes) + "\": " + std::strerror(errno));
            return false;
        }
        written += static_cast<std::size_t>(count);
    }
    return true;
}

CScriptedPeer& CScriptedPeer::Reply(std::string bytes) {
    const std::string description = "reply \"" + Printable(bytes) + "\"";
    AddStep(description, [this, bytes = std::move(bytes)] { return WriteAll(bytes); });
    return *this;
}

CScriptedPeer& CScriptedPeer::Pause(std::chrono::milliseconds delay) {
    AddStep("pause " + std::to_string(delay.count()) + " ms", [this, delay] {
        // Sleeps, but a stop request cuts the pause short.
        WaitReadable(-1, std::chrono::steady_clock::now() + delay);
        return !StopRequested();
    });
    return *this;
}

CScriptedPeer& CScriptedPeer::AwaitRead() {
    AddStep("wait until the client has read what was written", [this] { return WaitUntilRead(); });
    return *this;
}

// Everything written has reached the client once none of it waits for an acknowledgement, and
// the client has read it once its end holds nothing unread.
bool CScriptedPeer::WaitUntilRead() {
    const auto deadline = StepDeadline();
    while (!StopRequested()) {
        int unacknowledged = -1;
        ioctl(connection, SIOCOUTQ, &unacknowledged);
        if (unacknowledged == 0 && ClientUnreadBytes(connection) == 0L) {
            return true;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            Fail("the client did not read what was written");
            return false;
        }
        std::this_thread::sleep_for(1ms);
    }
    return false;
}

void CScriptedPeer::CloseConnectionNow() {
    if (connection >= 0) {
        close(connection);
        connection = -1;
    }
}

CScriptedPeer& CScriptedPeer::CloseConnection() {
    AddStep("close the connection", [this] {
        CloseConnectionNow();
        return true;
    });
    return *this;
}

CScriptedPeer& CScriptedPeer::ResetConnection() {
    AddStep("reset the connection", [this] {
        const linger abortive{1, 0};
        setsockopt(connection, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
        CloseConnectionNow();
        return true;
    });
    return *this;
}

CScriptedPeer& CScriptedPeer::Serve(LineHandler handler) {
    AddStep("serve lines", [this, handler = std::move(handler)] { return ServeLines(handler); });
    return *this;
}

bool CScriptedPeer::ServeLines(const LineHandler& handler) {
    std::string pending;
    for (;;) {
        const std::size_t lineEnd = pending.find('\r');
        if (lineEnd != std::string::npos) {
            const std::string line = pending.substr(0, lineEnd);
            pending.erase(0, lineEnd + 1);
            const std::optional<std::string> reply = handler(line);
            if (!reply) {
                continue;
            }
            // Data waiting counts; the end of the stream (a client closing) does not.
            char next = 0;
            if (!pending.empty() || recv(connection, &next, 1, MSG_PEEK | MSG_DONTWAIT) > 0) {
                Fail("the client sent more before its reply to \"" + Printable(line) + "\": \"" +
                     Printable(pending) + "\" and maybe more");
            }
            if (!WriteAll(*reply)) {
                return false;
            }
            continue;
        }
        // Between lines the client may stay quiet for as long as the test likes; only a stop
        // request or the end of the stream ends serving.
        if (!WaitReadable(connection, std::chrono::steady_clock::now() + 1h)) {
            return false;
        }
        std::array<char, 4096> chunk;
        const ssize_t count = recv(connection, chunk.data(), chunk.size(), 0);
        if (count <= 0) {
            if (!pending.empty()) {
                Fail("the client closed in the middle of a line: \"" + Printable(pending) + "\"");
            }
            return true;
        }
        pending.append(chunk.data(), static_cast<std::size_t>(count));
        Record(std::string_view(chunk.data(), static_cast<std::size_t>(count)));
    }
}

}  // namespace lanterna::test
