#include "workers/Workers.h"

namespace lanterna {

int RunWorker(WorkerMode mode, ApplicationState& state) {
    switch (mode) {
        case WorkerMode::kRead:
            return ReadWorker(state);
        case WorkerMode::kWrite:
            return WriteWorker(state);
        case WorkerMode::kPassword:
            return PasswordWorker(state);
        case WorkerMode::kProbe:
            return ProbeWorker(state);
    }
    return -1;
}

std::uint32_t ResultMessageOf(WorkerMode mode) {
    switch (mode) {
        case WorkerMode::kRead:
            return kMessageReadResult;
        case WorkerMode::kWrite:
            return kMessageWriteResult;
        case WorkerMode::kPassword:
            return kMessagePasswordResult;
        case WorkerMode::kProbe:
            return kMessageProbeResult;
    }
    return 0;
}

void CloseLink(ApplicationState& state) {
    if (!state.link) {
        return;
    }
    if (state.debugMode != 0) {
        state.Sleep(1000);
    } else {
        state.link->Close();
    }
    state.link.reset();
}

}  // namespace lanterna
