#pragma once
// Hellos to a list of addresses at once, from one UDP socket: which of them answer, with what
// name and module type. The command line learns the module type of every target this way
// before it opens a link, finds out whether an address it would give a projector is already
// taken, and waits for a projector to answer at a new address. Unlike a search it never
// broadcasts, and it stops waiting as soon as every address has answered.
//
// Threads: Run blocks its caller; one run per object at a time.

#include <atomic>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "discovery/HelloRun.h"
#include "link/DiscoveredProjector.h"

namespace lanterna {

struct HelloSweepOptions {
    // Destination port, and the only source port a reply is taken from.
    std::uint16_t port = kProjectorPort;
    // Local port the socket binds; when another socket holds it, any free port is taken (a
    // projector answers to the port the hello came from).
    std::uint16_t localPort = kProjectorPort;
    // Waiting ends when no address has answered for this long (0: only `limitMs` ends it).
    std::uint32_t quietMs = kHelloWaitMs;
    // Waiting ends after this long in any case.
    std::uint32_t limitMs = kHelloRunLimitMs;
    // Above 0: every address that has not answered gets another hello this often, for
    // projectors that are still starting up.
    std::uint32_t resendMs = 0;
};

// Longest a sweep waits at a time before it looks whether it was cancelled.
inline constexpr std::uint32_t kSweepCancelCheckMs = 100;

// What one address gave: its first fitting reply, if any.
using HelloAnswer = std::optional<DiscoveredProjector>;

class CHelloSweep {
  public:
    explicit CHelloSweep(HelloSweepOptions options = {});
    CHelloSweep(const CHelloSweep&) = delete;
    CHelloSweep& operator=(const CHelloSweep&) = delete;

    // Sends a hello to each address (dotted text; empty texts are skipped, never broadcast) and
    // collects replies until every address has answered or a limit of the options ends the
    // wait. `answers` gets one entry per address, in the same order; a reply counts for an
    // address when it comes from that address. 1 when the sweep ran (also when nothing
    // answered); -1 when no socket could be opened.
    int Run(std::span<const std::string> addresses, std::vector<HelloAnswer>& answers);

    // Thread-safe. Ends a Run in progress within kSweepCancelCheckMs (keeping what it has) or
    // makes the next one return at once.
    void Cancel() { cancelled = true; }

  private:
    HelloSweepOptions options;
    std::atomic<bool> cancelled{false};
};

}  // namespace lanterna
