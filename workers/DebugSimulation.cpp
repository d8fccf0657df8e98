#include "workers/DebugSimulation.h"

#include "state/DebugTrace.h"
#include "workers/Workers.h"

namespace lanterna {

namespace {

void TraceProjectorAddress(const ApplicationState& state) {
    const ProjectorRecord* record = state.SelectedRecord();
    if (record == nullptr) {
        return;
    }
    const std::string address(TextOf(record->address));
    DebugTrace("Proj Ip : %s", address.c_str());
    const Octets& ip = record->ipAddress;
    DebugTrace("Proj Ip : %d.%d.%d.%d", ip[0], ip[1], ip[2], ip[3]);
}

// Progress 100 between the two waits, then the result.
int Finish(ApplicationState& state, std::uint32_t firstWait, std::uint32_t resultMessage,
           int result) {
    state.Sleep(firstWait);
    state.Post(kMessageProgress, 100);
    state.Sleep(1000);
    state.Post(resultMessage, result);
    return result;
}

}  // namespace

int SimulateProbe(ApplicationState& state) {
    const std::string address(TextOf(state.currentAddress));
    DebugTrace("TcpConnectThread : %s", address.c_str());
    TraceProjectorAddress(state);
    return Finish(state, 1000, kMessageProbeResult, state.selectedIndex % 2 == 0 ? 1 : 2);
}

int SimulateRead(ApplicationState& state) {
    // The password itself never goes to the diagnostic output.
    DebugTrace("ConnectThread : %s", kPasswordMask);
    TraceProjectorAddress(state);
    return Finish(state, 3000, kMessageReadResult, 1);
}

int SimulateWrite(ApplicationState& state) {
    TraceProjectorAddress(state);
    return Finish(state, 3000, kMessageWriteResult, 1);
}

int SimulatePasswordChange(ApplicationState& state) {
    return Finish(state, 3000, kMessagePasswordResult, 1);
}

}  // namespace lanterna
