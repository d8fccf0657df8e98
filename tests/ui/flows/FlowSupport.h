#pragma once
// A simulated projector on a loopback address of the test's own and an application state whose
// selected entry is that projector, for dialogs that run link work.

#include <memory>
#include <string>

#include "../dialogs/DialogTestSupport.h"
#include "record/DottedAddress.h"
#include "state/ApplicationState.h"
#include "tools/projector-sim/SimulatedProjector.h"

namespace dialogtest {

inline lanterna::sim::SimulatorConfig ProjectorAt(const std::string& address) {
    lanterna::sim::SimulatorConfig config;
    config.address = address;
    config.port = 0;
    config.secondaryPort = 0;
    return config;
}

class CFlowBench {
  public:
    explicit CFlowBench(const lanterna::sim::SimulatorConfig& config) : projector(config) {
        std::string reason;
        EXPECT_TRUE(projector.Start(&reason)) << reason;
        lanterna::StateOptions options;
        options.projectorPort = projector.TcpPort();
        state = std::make_unique<lanterna::ApplicationState>(options);
        lanterna::ProjectorRecord record{};
        lanterna::CopyText(record.address, config.address);
        lanterna::ScanDottedInto(config.address, record.ipAddress);
        record.imType = config.imType;
        state->projectors.Append(record);
        state->selectedIndex = 0;
        lanterna::CopyText(state->currentAddress, config.address);
    }

    lanterna::sim::SimulatedProjector projector;
    std::unique_ptr<lanterna::ApplicationState> state;
};

}  // namespace dialogtest
