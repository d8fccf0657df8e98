#include <array>
#include <cstdio>

#include "link/LinkPacket.h"
#include "workers/DebugSimulation.h"
#include "workers/PasswordResults.h"
#include "workers/Workers.h"

namespace lanterna {

namespace {

// Only 0x41 says the current password is not the projector's own; every other status the
// projector answered with is its refusal for a reason of its own, told with its byte.
int ChangeRefusalResult(int changed) {
    if (changed == kPasswordNotTaken) {
        return kPasswordChangeRefused;
    }
    for (const int status : {0x40, 0x43, 0x45, 0x53, 0x55}) {
        if (StatusToResult(static_cast<std::uint8_t>(status)) == changed) {
            return PasswordDeclinedResult(status);
        }
    }
    return -1;
}

int ReportPasswordChange(ApplicationState& state, int result) {
    state.Post(kMessagePasswordResult, result);
    return result;
}

}  // namespace

std::string StatusByteText(int statusByte) {
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "0x%02X", static_cast<unsigned>(statusByte & 0xFF));
    return text.data();
}

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
        return ReportPasswordChange(state, ChangeRefusalResult(changed));
    }
    state.Post(kMessageProgress, 60);
    state.link->Close();
    state.Post(kMessageProgress, 10);
    state.link.reset();
    return ReportPasswordChange(state, 1);
}

}  // namespace lanterna
