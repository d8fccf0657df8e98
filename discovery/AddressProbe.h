#pragma once
// The address probe: asks one address with a hello whether a projector answers there, and
// learns its name and interface-module type. The address-entry dialog runs it on a thread of
// its own and waits; the command line calls Run directly.
//
// Threads: Run blocks its caller; Cancel may be called from any other thread.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string_view>

#include "discovery/HelloRun.h"
#include "platform/FixedText.h"

namespace lanterna {

// What a debug-mode probe waits and reports instead of asking the network.
inline constexpr std::chrono::milliseconds kDebugProbeDelay{3000};
inline constexpr std::string_view kDebugProbeName = "projname";

struct ProbeAnswer {
    FixedText<16> name{};  // at most 15 bytes
    std::uint8_t imType = 0;
};

struct AddressProbeOptions {
    // No traffic: wait kDebugProbeDelay and answer kDebugProbeName (type 0).
    bool debugMode = false;
    // Destination and local ports of the hello; tests change them, nothing else does.
    std::uint16_t port = kProjectorPort;
    std::uint16_t localPort = kProjectorPort;
};

class CAddressProbe {
  public:
    explicit CAddressProbe(AddressProbeOptions options = {});
    CAddressProbe(const CAddressProbe&) = delete;
    CAddressProbe& operator=(const CAddressProbe&) = delete;

    // Sends a hello to `address` (dotted text) and collects answers until none has come for
    // 5000 ms; takes the first whose source address text equals `address`, ignoring letter
    // case. 1 with `answer` filled; 0 when nothing fitting answered (or on cancel, or when the
    // hello could not be sent). One probe per object.
    int Run(std::string_view address, ProbeAnswer& answer);

    // Thread-safe. Ends a Run in progress at once.
    void Cancel();

    // After Run: whether its hello could not be sent at all (the local port taken, or no
    // route), as opposed to nothing having answered it.
    bool HelloFailed() const { return helloFailed; }

  private:
    int RunDebug(ProbeAnswer& answer);

    const AddressProbeOptions options;
    CHelloRun hello;
    std::mutex mutex;
    std::condition_variable cancelled;
    bool cancel = false;
    bool helloFailed = false;
};

}  // namespace lanterna
