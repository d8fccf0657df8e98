#include "ui/MessageTarget.h"

#include <QCoreApplication>
#include <memory>
#include <utility>

#include "ui/detail/MessageTargetState.h"

namespace ui {
namespace detail {

PostedMessageEvent::PostedMessageEvent(std::uint64_t runNumber, unsigned messageId, WParam w,
                                       LParam l)
    : QEvent(EventType()), run(runNumber), message(messageId), wParam(w), lParam(l) {}

QEvent::Type PostedMessageEvent::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

}  // namespace detail

MessageTarget::MessageTarget(std::shared_ptr<detail::MessageTargetState> state, std::uint64_t run)
    : state_(std::move(state)), run_(run) {}

bool MessageTarget::Post(unsigned message, WParam wParam, LParam lParam) const {
    if (!state_) {
        return false;
    }
    // Posting under the mutex keeps the dialog from being destroyed between the check and the
    // post; Qt drops events still queued for an object when it is destroyed.
    const std::lock_guard lock(state_->mutex);
    if (state_->receiver == nullptr || !state_->open || state_->run != run_) {
        return false;
    }
    auto event = std::make_unique<detail::PostedMessageEvent>(run_, message, wParam, lParam);
    QCoreApplication::postEvent(state_->receiver, event.release());  // Qt owns it from here
    return true;
}

bool MessageTarget::IsOpen() const {
    if (!state_) {
        return false;
    }
    const std::lock_guard lock(state_->mutex);
    return state_->receiver != nullptr && state_->open && state_->run == run_;
}

}  // namespace ui
