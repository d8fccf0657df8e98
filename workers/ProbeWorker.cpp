#include "workers/DebugSimulation.h"
#include "workers/Workers.h"

namespace lanterna {

namespace {

int ReportProbe(ApplicationState& state, int result) {
    state.Post(kMessageProbeResult, result);
    return result;
}

// 1 no password needed, 2 password needed, -1 failure.
int ResultOfPasswordQuery(int required) {
    switch (required) {
        case 1:
            return 2;
        case 0:
            return 1;
        default:
            return -1;
    }
}

}  // namespace

int ProbeWorker(ApplicationState& state) {
    if (state.debugMode != 0) {
        return SimulateProbe(state);
    }
    if (state.link) {
        state.link->Close();
        state.link.reset();
        return ReportProbe(state, 0);
    }
    if (state.selectedIndex < 0) {
        return ReportProbe(state, -1);
    }
    state.link = state.CreateLink();
    state.Post(kMessageProgress, 10);
    if (state.link->Connect(TextOf(state.currentAddress), state.ProjectorPort()) != 1) {
        state.link.reset();
        return ReportProbe(state, -1);
    }
    state.Post(kMessageProgress, 50);
    const int result = ResultOfPasswordQuery(state.link->QueryPasswordRequired());
    if (result == -1) {
        state.link.reset();
        return ReportProbe(state, -1);
    }
    state.Post(kMessageProgress, 40);
    state.link->Close();
    state.link.reset();
    return ReportProbe(state, result);
}

}  // namespace lanterna
