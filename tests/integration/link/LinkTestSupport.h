#pragma once
// Small helpers shared by the link's integration tests.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "link/LinkOptions.h"
#include "link/LinkPacket.h"

namespace lanterna::test {

using namespace std::chrono_literals;

inline std::string AsBytes(const PacketBytes& packet) {
    return std::string(packet.begin(), packet.end());
}

// A 16-byte reply header of `type` carrying `status`.
inline std::string StatusReply(std::uint8_t status, PacketType type = PacketType::kConnect) {
    auto header = EncodePacketHeader(type, 0);
    header[kPacketStatusOffset] = status;
    return std::string(header.begin(), header.end());
}

// A host name that can never resolve and that the resolver rejects without asking any name
// server (a label longer than 63 bytes), so the test sends nothing off this machine.
inline std::string UnresolvableHostName() {
    return std::string(64, 'x') + ".invalid";
}

// A loopback port on which nothing listens: bound once to learn a free number, then released.
inline std::uint16_t PortWithNothingListening() {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local);
    socklen_t size = sizeof local;
    getsockname(fd, reinterpret_cast<sockaddr*>(&local), &size);
    close(fd);
    return ntohs(local.sin_port);
}

// Records what the keep-alive reports, for tests to wait on.
class CKeepAliveLog {
  public:
    using Entry = std::pair<KeepAliveEvent, Tick>;

    std::function<void(KeepAliveEvent, Tick)> Observer() {
        return [this](KeepAliveEvent event, Tick tick) {
            {
                std::lock_guard guard(mutex);
                entries.emplace_back(event, tick);
            }
            changed.notify_all();
        };
    }

    std::vector<Entry> Entries() {
        std::lock_guard guard(mutex);
        return entries;
    }

    bool AwaitCount(std::size_t count, std::chrono::milliseconds limit = 5s) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, limit, [&] { return entries.size() >= count; });
    }

  private:
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Entry> entries;
};

}  // namespace lanterna::test
