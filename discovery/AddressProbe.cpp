#include "discovery/AddressProbe.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/AsciiCase.h"

namespace lanterna {

CAddressProbe::CAddressProbe(AddressProbeOptions probeOptions)
    : options(probeOptions), hello(options.port, options.localPort) {}

int CAddressProbe::Run(std::string_view address, ProbeAnswer& answer) {
    if (options.debugMode) {
        return RunDebug(answer);
    }
    if (address.empty()) {
        return 0;  // an empty address would make the hello a broadcast
    }
    std::vector<DiscoveredProjector> found;
    helloFailed = hello.Run(address, found) == -1;
    const auto match = std::find_if(found.begin(), found.end(), [&](const auto& projector) {
        return EqualIgnoringCase(TextOf(projector.address), address);
    });
    if (match == found.end()) {
        return 0;
    }
    answer = ProbeAnswer{};
    CopyText(answer.name, TextOf(match->name));
    answer.imType = match->imType;
    return 1;
}

void CAddressProbe::Cancel() {
    {
        std::lock_guard guard(mutex);
        cancel = true;
    }
    cancelled.notify_all();
    hello.Cancel();
}

int CAddressProbe::RunDebug(ProbeAnswer& answer) {
    std::unique_lock lock(mutex);
    if (cancelled.wait_for(lock, kDebugProbeDelay, [this] { return cancel; })) {
        return 0;
    }
    answer = ProbeAnswer{};
    CopyText(answer.name, kDebugProbeName);
    return 1;
}

}  // namespace lanterna
