#pragma once
// The class-2 search: "%2SRCH" sent by UDP to port 4352 of each destination, and the
// "%2ACKN=<hardware address>" answers collected on the searcher's port 4352 for a bounded time
// and count. Where the requests go is the caller's: the programs broadcast, tests name loopback
// or test-namespace addresses only.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pjlink/Protocol.h"

namespace lanterna::pjlink {

inline constexpr std::string_view kBroadcastAddress = "255.255.255.255";

struct SearchOptions {
    // Dotted addresses the request goes to; kBroadcastAddress reaches the local network.
    std::vector<std::string> destinations{std::string(kBroadcastAddress)};
    std::uint16_t port = kPjlinkPort;       // the projectors' port
    std::uint16_t localPort = kPjlinkPort;  // where answers come (0: any free port)
    // Address the searcher binds to ("" all); a test binds to its own loopback address.
    std::string localAddress;
    std::uint32_t waitMs = 3000;           // from the request on, however many answer
    std::size_t maxAnswers = 2048;          // datagrams taken, answers or not
    const std::atomic<bool>* cancel = nullptr;
};

struct SearchAnswer {
    std::string address;          // dotted, the answer's source
    std::string hardwareAddress;  // "00:1A:2B:3C:4D:5E", capitals
};

// The hardware address of one answer datagram "%2ACKN=xx:xx:xx:xx:xx:xx\r"; none for any
// other form.
std::optional<std::string> ParseSearchAnswer(std::string_view datagram);

struct SearchResult {
    bool ran = false;  // false: the socket could not be opened or no request could be sent
    std::vector<SearchAnswer> answers;  // each source address once, in the order they came
};

SearchResult Search(const SearchOptions& options);

}  // namespace lanterna::pjlink
