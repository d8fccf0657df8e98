#include "link/LinkPacket.h"
#include "workers/DebugSimulation.h"
#include "workers/Workers.h"

namespace lanterna {

namespace {

int ReportPasswordChange(ApplicationState& state, int result) {
    state.Post(kMessagePasswordResult, result);
    return result;
}

}  // namespace

int PasswordWorker(ApplicationState& state) {
    if (state.debugMode != 0) {
        return SimulatePasswordChange(state);
    }
    // The open link belongs to another conversation: leave it alone.
    if (state.link) {
        return ReportPasswordChange(state, 0);
    }
    const ProjectorRecord* record = state.SelectedRecord();
    if (record == nullptr) {
        return ReportPasswordChange(state, -1);
    }
    state.link = state.CreateLink();
    state.Post(kMessageProgress, 10);
    // The record's own address: the password belongs to that projector.
    if (state.link->Connect(TextOf(record->address), state.ProjectorPort()) != 1) {
        state.link.reset();
        return ReportPasswordChange(state, -1);
    }
    state.Post(kMessageProgress, 20);
    const int changed =
        state.link->ChangePassword(TextOf(state.currentPassword), TextOf(state.newPassword));
    if (changed != 1) {
        state.link.reset();
        return ReportPasswordChange(state,
                                    changed == kPasswordNotTaken ? kPasswordChangeRefused : -1);
    }
    state.Post(kMessageProgress, 60);
    state.link->Close();
    state.Post(kMessageProgress, 10);
    state.link.reset();
    return ReportPasswordChange(state, 1);
}

}  // namespace lanterna
