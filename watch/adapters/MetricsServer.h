#pragma once
// The metrics endpoint over libmicrohttpd: GET of /metrics (and of /, the same) on one address,
// loopback unless configured, answered with the last text published; any other method or path
// is refused. Connections, their time and the memory of a request are bounded.
//
// Threads: the server answers on a thread of its own; Publish may be called from any.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "watch/Metrics.h"

struct MHD_Daemon;

namespace lanterna::watch {

// At most this many connections at once, each for at most this many seconds.
inline constexpr unsigned kMetricsConnections = 16;
inline constexpr unsigned kMetricsConnectionSeconds = 10;

class CMetricsServer final : public IMetricsSink {
  public:
    CMetricsServer() = default;
    ~CMetricsServer() override;
    CMetricsServer(const CMetricsServer&) = delete;
    CMetricsServer& operator=(const CMetricsServer&) = delete;

    // Listens on `host` (dotted) and `port` (0: any free one); false with why in `problem`.
    bool Start(const std::string& host, std::uint16_t port, std::string& problem);
    // The port it listens on.
    std::uint16_t Port() const { return port_; }

    void Publish(std::string text) override;
    std::string Text() const;

  private:
    MHD_Daemon* daemon_ = nullptr;
    std::uint16_t port_ = 0;
    mutable std::mutex mutex_;
    std::string text_;
};

}  // namespace lanterna::watch
