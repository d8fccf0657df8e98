// Measures a full read of all settings (probe-free: connect, authenticate, every query, close)
// through the read worker against a simulated projector on loopback, and in the same run the raw
// floor: the same request/reply round trips (connect request and every query line) written by
// hand on a plain socket to the same projector, in alternating turns of random order. Prints the
// medians and their ratio. Then runs `lanternactl read` against a projector on the projector port
// and prints its peak memory.

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "link/LinkPacket.h"
#include "state/ApplicationState.h"
#include "tests/bench/support/AlternatingTurns.h"
#include "tools/projector-sim/SimulatedProjector.h"
#include "workers/Workers.h"

extern char** environ;

namespace {

using namespace lanterna;
using Clock = std::chrono::steady_clock;

constexpr int kRounds = 200;
constexpr const char* kBenchAddress = "127.86.200.1";
constexpr const char* kCliAddress = "127.86.200.2";

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

// Reads until `done` says the bytes so far are a whole reply.
template <typename Done>
bool ReadUntil(int fd, std::string& received, Done done) {
    std::array<char, 4096> chunk{};
    received.clear();
    while (!done(received)) {
        const ssize_t count = recv(fd, chunk.data(), chunk.size(), 0);
        if (count <= 0) {
            return false;
        }
        received.append(chunk.data(), static_cast<std::size_t>(count));
    }
    return true;
}

// One read by hand: the connect request and every query line the worker sends.
bool RawRead(std::uint16_t port, const std::vector<std::string>& lines) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    inet_pton(AF_INET, kBenchAddress, &peer.sin_addr);
    bool ok = connect(fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer) == 0;
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    const PacketBytes request = BuildConnectRequest("");
    std::string received;
    ok = ok &&
         WriteAll(
             fd, std::string_view(reinterpret_cast<const char*>(request.data()), request.size())) &&
         ReadUntil(fd, received, [](const std::string& r) { return r.size() >= 16; });
    for (const std::string& line : lines) {
        ok = ok && WriteAll(fd, line + "\r") &&
             ReadUntil(fd, received, [](const std::string& r) { return r.ends_with(':'); });
    }
    close(fd);
    return ok;
}

bool WorkerRead(std::uint16_t port) {
    StateOptions options;
    options.projectorPort = port;
    ApplicationState state(options);
    ProjectorRecord record{};
    CopyText(record.address, kBenchAddress);
    state.projectors.Append(record);
    state.selectedIndex = 0;
    CopyText(state.currentAddress, kBenchAddress);
    const bool ok = ReadWorker(state) == 1;
    CloseLink(state);
    return ok;
}

// Milliseconds that `run` took; -1 when it failed.
template <typename Run>
double MillisecondsOf(Run run) {
    const auto start = Clock::now();
    const bool ok = run();
    return ok ? std::chrono::duration<double, std::milli>(Clock::now() - start).count() : -1.0;
}

int MeasureRead() {
    sim::SimulatorConfig config;
    config.address = kBenchAddress;
    config.port = 0;
    config.secondaryPort = 0;
    sim::SimulatedProjector projector(config);
    std::string reason;
    if (!projector.Start(&reason)) {
        std::fprintf(stderr, "cannot start the simulated projector: %s\n", reason.c_str());
        return 1;
    }
    const bool learned = WorkerRead(projector.TcpPort());  // also learns the lines of one read
    const std::vector<std::string> lines = projector.CommandLog();
    const bench::TurnMedians medians = bench::MediansOverTurns(
        kRounds, [&] { return MillisecondsOf([&] { return WorkerRead(projector.TcpPort()); }); },
        [&] { return MillisecondsOf([&] { return RawRead(projector.TcpPort(), lines); }); });
    if (!learned || !medians.ok) {
        std::fprintf(stderr, "a read failed\n");
        return 1;
    }
    const double workerMedian = medians.first;
    const double rawMedian = medians.second;
    std::printf(
        "full read (readAllSettings 1), %zu round trips, median of %d turns in random order:\n",
        lines.size() + 1, kRounds);
    std::printf("  read worker      %8.3f ms\n", workerMedian);
    std::printf("  raw socket floor %8.3f ms\n", rawMedian);
    std::printf("  ratio            %8.2f (target 1.13 or less)\n", workerMedian / rawMedian);
    return 0;
}

int MeasureCliMemory(std::string program) {
    sim::SimulatorConfig config;
    config.address = kCliAddress;
    config.port = kProjectorPort;
    config.secondaryPort = 0;
    sim::SimulatedProjector projector(config);
    std::string reason;
    if (!projector.Start(&reason)) {
        std::fprintf(stderr, "cannot start the simulated projector: %s\n", reason.c_str());
        return 1;
    }
    std::string command = "read";
    std::string address = kCliAddress;
    std::string json = "--json";
    char* argv[] = {program.data(), command.data(), address.data(), json.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    if (posix_spawn(&child, program.c_str(), &actions, nullptr, argv, environ) != 0) {
        std::fprintf(stderr, "cannot run %s\n", program.c_str());
        return 1;
    }
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    std::printf("lanternactl read: exit %d, peak memory %.1f MB (target under 10 MB) %s\n",
                WIFEXITED(status) ? WEXITSTATUS(status) : -1, usage.ru_maxrss / 1024.0,
                program.c_str());
    return 0;
}

}  // namespace

// Other lanternactl programs named on the command line (an earlier build, say) are measured
// after this build's, for a comparison on the same machine at the same time.
int main(int argc, char** argv) {
    const int read = MeasureRead();
    int memory = MeasureCliMemory(LANTERNACTL_PROGRAM);
    for (int i = 1; i < argc && memory == 0; ++i) {
        memory = MeasureCliMemory(argv[i]);
    }
    return read != 0 ? read : memory;
}
