#include "state/ApplicationState.h"

#include <chrono>
#include <thread>
#include <utility>

namespace lanterna {

ApplicationState::ApplicationState(StateOptions options) : options_(std::move(options)) {}

// The link goes before the records, as at program exit.
ApplicationState::~ApplicationState() {
    link.reset();
    projectors.Clear();
}

ProjectorRecord* ApplicationState::SelectedRecord() const {
    return selectedIndex < 0 ? nullptr : projectors.At(selectedIndex);
}

void ApplicationState::Post(std::uint32_t message, std::intptr_t wParam) const {
    if (progressWindow != nullptr) {
        progressWindow->PostMessage(message, wParam);
    }
}

int ApplicationState::ShowMessage(int stringId, int flags) const {
    if (messageService == nullptr) {
        return flags == kMessageYesNoQuestion ? kAnswerNo : kAnswerOk;
    }
    return messageService->ShowMessage(progressWindow, stringId, flags);
}

std::unique_ptr<CProjectorLink> ApplicationState::CreateLink() const {
    return std::make_unique<CProjectorLink>(options_.linkOptions);
}

void ApplicationState::Sleep(std::uint32_t milliseconds) const {
    if (options_.sleep) {
        options_.sleep(milliseconds);
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace lanterna
