#pragma once
// A simulated projector's PJLink service: the TCP link on its port (one link at a time, as
// projectors serve it) and the class-2 search on UDP. Runs one thread of its own.
//
// Thread-safe: every public member may be called from any thread while it runs; Start and Stop
// must not race with each other.

#include <netinet/in.h>

#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "tools/projector-sim/PjlinkConfig.h"
#include "tools/projector-sim/Sockets.h"
#include "tools/projector-sim/StopFlag.h"

namespace lanterna::sim {

class CPjlinkResponder {
  public:
    // `name` answers NAME; `mac` (12 hexadecimal digits) the search.
    CPjlinkResponder(PjlinkConfig config, std::string name, std::string mac);
    ~CPjlinkResponder();
    CPjlinkResponder(const CPjlinkResponder&) = delete;
    CPjlinkResponder& operator=(const CPjlinkResponder&) = delete;

    // Listens on `address`; the search also on every address when `broadcasts` (so that a
    // broadcast search reaches it).
    bool Start(in_addr address, bool broadcasts, std::string& reason);
    void Stop();

    std::uint16_t Port() const { return port_; }
    PjlinkConfig Config() const;
    void SetConfig(const PjlinkConfig& config);
    // Every command line received, as received (a digest in front of a first one included).
    std::vector<std::string> Log() const;

  private:
    void Serve();
    void ServeLink(int fd);
    void AnswerSearch(int fd);
    // Sends `line` and a carriage return, trickling when asked; false when the link failed.
    bool SendLine(int fd, std::string_view line, const PjlinkConfig& config);
    // The next line from `fd` within the idle limit; false at its end, a stop or a flood.
    bool ReadLine(int fd, std::string& pending, std::string& line);

    mutable std::mutex mutex_;
    PjlinkConfig config_;
    std::vector<std::string> log_;
    const std::string name_;
    const std::string mac_;

    UniqueFd listener_;
    UniqueFd search_;
    UniqueFd wake_;
    StopFlag stop_;
    std::uint16_t port_ = 0;
    std::thread thread_;
};

// The answer of a projector with `config` and `name` to one command line (digest already
// taken off), without its carriage return; the power set changes `config`.
std::string PjlinkAnswer(std::string_view line, PjlinkConfig& config, std::string_view name);

}  // namespace lanterna::sim
