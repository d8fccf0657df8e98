#pragma once
// The window's side of the state's message service: a worker's message is shown in the message
// dialog on the user-interface thread, owned by the window the worker posts to, while the
// worker waits for the answer.

#include "state/MessageService.h"

namespace lanterna {

class CWindowMessageService final : public IMessageService {
  public:
    // Any thread. `owner` is the worker's progress window (a ui::MessageTarget) or null.
    int ShowMessage(IMessageTarget* owner, int stringId, int flags) override;
};

}  // namespace lanterna
