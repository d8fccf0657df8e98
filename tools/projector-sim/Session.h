#pragma once
// One TCP connection to the simulated projector: the packet handshake, then the text command
// session, with the configured faults applied to every reply.

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tools/projector-sim/ProjectorState.h"
#include "tools/projector-sim/StopFlag.h"

namespace lanterna::sim {

// Longest command line kept; a longer line is answered with ERR when its carriage return
// arrives and logged cut to this length.
inline constexpr std::size_t kMaxLineLength = 4096;

class Session {
  public:
    // `fd` stays owned by the caller, who closes it after Run has returned.
    Session(int fd, ProjectorState& state, const StopFlag& stop, bool closeOnReset,
            std::chrono::milliseconds idleTimeout)
        : fd_(fd),
          state_(state),
          stop_(stop),
          closeOnReset_(closeOnReset),
          idleTimeout_(idleTimeout) {}

    // Serves the connection until the peer leaves or stays silent for the idle time-out, a
    // fault drops it, NWRESET restarts the module or the projector stops. Shuts the socket
    // down before returning.
    void Run();

  private:
    // One receive, after waiting at most the idle time-out for something to arrive: the byte
    // count, 0 when the peer left or stayed silent, -1 on error.
    ssize_t ReceiveSome(void* buffer, std::size_t size);
    bool ReadExact(std::uint8_t* buffer, std::size_t size);
    // Handshake packets until a connect request is accepted; false when the connection ended.
    bool RunHandshake();
    void RunCommands();
    // Sends one reply with the faults applied; false when the connection is to end.
    bool SendTextReply(std::string_view reply);
    bool Write(std::string_view bytes, const FaultConfig& faults, bool countsTowardsDrop);

    int fd_;
    ProjectorState& state_;
    const StopFlag& stop_;
    bool closeOnReset_;
    std::chrono::milliseconds idleTimeout_;
    std::size_t textBytesSent_ = 0;
    std::size_t setsAnswered_ = 0;
};

}  // namespace lanterna::sim
