#pragma once
// A handle through which any thread posts a message to one dialog. The dialog's handlers run
// on the dialog's own (user-interface) thread, in posting order.
//
// A handle belongs to one modal run of its dialog: the run that was going on when the handle
// was taken, or the next run when none was. Posting after that run has ended, after the dialog
// was destroyed, or through an empty handle does nothing and returns false; so a worker that
// outlives its dialog can go on posting without harm. Copies share the same target. Every
// member may be called from any thread.

#include <cstdint>
#include <memory>

#include "ui/DialogCodes.h"

namespace ui {

namespace detail {
struct MessageTargetState;
}

class MessageTarget {
  public:
    MessageTarget() = default;

    // Queues the message; true when it was queued for delivery.
    bool Post(unsigned message, WParam wParam = 0, LParam lParam = 0) const;

    // True while the run this handle belongs to is going on.
    bool IsOpen() const;

  private:
    friend class CDialog;
    MessageTarget(std::shared_ptr<detail::MessageTargetState> state, std::uint64_t run);

    std::shared_ptr<detail::MessageTargetState> state_;
    std::uint64_t run_ = 0;
};

}  // namespace ui
