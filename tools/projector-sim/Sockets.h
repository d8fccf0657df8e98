#pragma once
// Small RAII and helper layer over the BSD socket calls the simulator uses.

#include <netinet/in.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace lanterna::sim {

// Owns one file descriptor; closes it on destruction.
class UniqueFd {
  public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() { Reset(); }
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    int Release();
    void Reset(int fd = -1);

  private:
    int fd_ = -1;
};

// The dotted IPv4 address, or none.
std::optional<in_addr> ParseIpv4(const std::string& address);

// A TCP socket listening on address:port (port 0: ephemeral). Invalid on failure, with the
// reason in `reason`.
UniqueFd OpenTcpListener(in_addr address, std::uint16_t port, std::string& reason);

// A UDP socket bound to address:port; `reuse` sets SO_REUSEADDR so that several sockets can
// share the port (each receives its own copy of a broadcast).
UniqueFd OpenUdp(in_addr address, std::uint16_t port, bool reuse, std::string& reason);

std::uint16_t LocalPort(int fd);

// Sends every byte (without SIGPIPE); false when the connection failed.
bool SendAll(int fd, const void* data, std::size_t size);

// "a.b.c.d" of a socket address.
std::string DottedOf(const sockaddr_in& address);

}  // namespace lanterna::sim
