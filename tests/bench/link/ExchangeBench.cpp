// Measures the round trip of Exchange (query NWPNAME) against a loopback responder, and a raw
// TCP ping-pong of exactly the same bytes on the same responder, then prints their ratio. The
// responder runs in this process, one thread per connection.

#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "link/LinkPacket.h"
#include "link/ProjectorLink.h"

namespace {

using namespace lanterna;

constexpr std::string_view kQuery = "NWPNAME?\r";
constexpr std::string_view kAnswer = "NWPNAME=ROOM-12\r:";

void SetNoDelay(int fd) {
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

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

// Accepts connections on 127.0.0.1 and answers each: a packet beginning with the magic gets an
// accepting header, every carriage-return-terminated line gets kAnswer.
class CResponder {
  public:
    CResponder() {
        listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener, reinterpret_cast<sockaddr*>(&local), sizeof local);
        listen(listener, 4);
        socklen_t size = sizeof local;
        getsockname(listener, reinterpret_cast<sockaddr*>(&local), &size);
        port = ntohs(local.sin_port);
        acceptor = std::thread([this] { AcceptLoop(); });
    }

    ~CResponder() {
        shutdown(listener, SHUT_RDWR);
        acceptor.join();
        for (std::thread& connection : connections) {
            connection.join();
        }
        close(listener);
    }

    std::uint16_t Port() const { return port; }

  private:
    void AcceptLoop() {
        for (;;) {
            const int fd = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0) {
                return;
            }
            SetNoDelay(fd);
            connections.emplace_back([fd] { Serve(fd); });
        }
    }

    static void Serve(int fd) {
        std::string pending;
        std::array<char, 4096> chunk;
        for (;;) {
            const ssize_t count = recv(fd, chunk.data(), chunk.size(), 0);
            if (count <= 0) {
                break;
            }
            pending.append(chunk.data(), static_cast<std::size_t>(count));
            if (pending.starts_with(kPacketMagic) && pending.size() >= kPacketHeaderSize) {
                auto reply = EncodePacketHeader(PacketType::kConnect, 0);
                reply[kPacketStatusOffset] = kStatusAccepted;
                pending.erase(0, kPacketHeaderSize);
                WriteAll(fd, std::string_view(reinterpret_cast<const char*>(reply.data()),
                                              reply.size()));
            }
            for (std::size_t end; (end = pending.find('\r')) != std::string::npos;) {
                pending.erase(0, end + 1);
                WriteAll(fd, kAnswer);
            }
        }
        close(fd);
    }

    int listener = -1;
    std::uint16_t port = 0;
    std::thread acceptor;
    std::vector<std::thread> connections;
};

CResponder* responder = nullptr;

void BM_LinkExchange(benchmark::State& state) {
    CProjectorLink link;
    if (link.Connect("127.0.0.1", responder->Port()) != 1 || link.Authenticate("") != 1) {
        state.SkipWithError("could not open the link");
        return;
    }
    std::array<char, 16> value{};
    for (auto _ : state) {
        if (link.Exchange("NWPNAME", nullptr, value.data(), 15, true, true) != 1) {
            state.SkipWithError("exchange failed");
            break;
        }
        benchmark::DoNotOptimize(value);
    }
    link.Close();
}

void BM_RawPingPong(benchmark::State& state) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(responder->Port());
    peer.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer) != 0) {
        state.SkipWithError("could not connect");
        close(fd);
        return;
    }
    SetNoDelay(fd);
    std::array<char, 4096> reply;
    for (auto _ : state) {
        if (!WriteAll(fd, kQuery)) {
            state.SkipWithError("send failed");
            break;
        }
        std::size_t length = 0;
        while (length == 0 || reply[length - 1] != ':') {
            const ssize_t count = recv(fd, reply.data() + length, reply.size() - length, 0);
            if (count <= 0) {
                state.SkipWithError("receive failed");
                break;
            }
            length += static_cast<std::size_t>(count);
        }
        benchmark::DoNotOptimize(reply);
    }
    close(fd);
}

BENCHMARK(BM_LinkExchange)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_RawPingPong)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

// Prints as usual and keeps the real time per iteration of each benchmark.
class CRatioReporter : public benchmark::ConsoleReporter {
  public:
    CRatioReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) {
                continue;
            }
            // With --benchmark_repetitions the median stands for the benchmark.
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                medians[run.run_name.function_name] = run.GetAdjustedRealTime();
            } else if (run.run_type == Run::RT_Iteration) {
                times[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    double TimeOf(const std::string& name) const {
        if (const auto median = medians.find(name); median != medians.end()) {
            return median->second;
        }
        const auto time = times.find(name);
        return time == times.end() ? 0.0 : time->second;
    }

    std::map<std::string, double> medians;
    std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    CResponder server;
    responder = &server;
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double exchange = reporter.TimeOf("BM_LinkExchange");
    const double raw = reporter.TimeOf("BM_RawPingPong");
    if (exchange > 0 && raw > 0) {
        std::printf(
            "Exchange round trip %.2f us, raw ping-pong %.2f us: ratio %.2f (target 1.2 "
            "or less)\n",
            exchange, raw, exchange / raw);
    }
    benchmark::Shutdown();
    return 0;
}
