#pragma once
// Shared state behind MessageTarget handles; only the dialog and the handles see it.

#include <QEvent>
#include <QObject>
#include <cstdint>
#include <mutex>

#include "ui/DialogCodes.h"

namespace ui::detail {

struct MessageTargetState {
    std::mutex mutex;
    QObject* receiver = nullptr;  // the dialog; cleared (under the mutex) before it is destroyed
    std::uint64_t run = 0;        // number of the current run, or of the last one when closed
    bool open = false;            // a run is going on and has not been ended
};

// The event that carries a posted message to the dialog's thread.
class PostedMessageEvent : public QEvent {
  public:
    PostedMessageEvent(std::uint64_t run, unsigned message, WParam wParam, LParam lParam);
    static QEvent::Type EventType();

    std::uint64_t run;
    unsigned message;
    WParam wParam;
    LParam lParam;
};

}  // namespace ui::detail
