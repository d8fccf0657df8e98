#pragma once
// What the threads of one simulated projector share: its settings, the fault and discovery
// switches, the logs and the counters. Every member function is thread-safe.

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/projector-sim/CommandLogFile.h"
#include "tools/projector-sim/CommandSet.h"
#include "tools/projector-sim/Handshake.h"
#include "tools/projector-sim/ProjectorSettings.h"
#include "tools/projector-sim/SimulatorConfig.h"

namespace lanterna::sim {

// One handshake packet received, with the status it was answered with.
struct HandshakeRecord {
    std::uint8_t version = 0;
    std::uint8_t type = 0;
    std::uint8_t headerCount = 0;
    std::vector<PacketEntry> entries;
    std::uint8_t replyStatus = 0;
};

struct ProjectorCounters {
    std::size_t connectionsServed = 0;
    std::size_t connectionsRefused = 0;  // closed at once: too many sessions
    std::size_t sessionsOpened = 0;      // connect requests accepted
    std::size_t helloAnswered = 0;
    std::size_t secondaryAnswered = 0;
    std::size_t testMails = 0;
    std::size_t resets = 0;
    // Served connections whose session is over (the client left or stayed silent, a fault or
    // a reset dropped it, the projector stopped): every command line they sent is logged.
    std::size_t connectionsEnded = 0;
};

class ProjectorState {
  public:
    explicit ProjectorState(const SimulatorConfig& config);

    // False when a log file was configured but could not be opened.
    bool LogFileReady() const { return logFile_.IsOpen(); }

    ProjectorSettings Settings() const;
    void SetSettings(const ProjectorSettings& settings);
    std::optional<std::string> Query(std::string_view command) const;
    bool Apply(std::string_view command, std::string_view argument);

    FaultConfig Faults() const;
    void SetFaults(const FaultConfig& faults);
    DiscoveryConfig Discovery() const;
    void SetDiscovery(const DiscoveryConfig& discovery);

    // Answers and logs one handshake request (the forced status of the faults wins; a forced
    // status changes nothing else, and opens the session for a connect request when 0x20).
    HandshakeAnswer Handshake(const HandshakeRequest& request);

    // Logs one command line and runs it; an overlong line (cut to the line limit) is logged
    // and answered with ERR.
    CommandOutcome Execute(std::string_view line, bool overlong);

    std::vector<std::string> CommandLog() const;
    void ClearCommandLog();
    std::vector<HandshakeRecord> HandshakeLog() const;

    ProjectorCounters Counters() const;
    void CountConnection(bool served);
    void CountConnectionEnded();
    void CountHello();
    void CountSecondary();

  private:
    mutable std::mutex mutex_;
    ProjectorSettings settings_;
    FaultConfig faults_;
    DiscoveryConfig discovery_;
    std::vector<std::string> commandLog_;
    std::vector<HandshakeRecord> handshakeLog_;
    ProjectorCounters counters_;
    CommandLogFile logFile_;
};

}  // namespace lanterna::sim
