#pragma once
// ShowMessage as a service: every user message is a string-table id shown with the caption
// string 110 in the application's message box. The window implements it with its message
// dialog (on the user-interface thread, the calling worker waiting for the answer); the command
// line by writing to the terminal and, for a question, reading the answer.

#include "state/Messages.h"

namespace lanterna {

class IMessageService {
  public:
    virtual ~IMessageService() = default;
    // Shows the text of `stringId` with `flags` (kMessageWarning, kMessageInformation,
    // kMessageYesNoQuestion) owned by `owner` (may be null) and returns the answer (kAnswerOk,
    // kAnswerYes, kAnswerNo). May be called from a worker thread; it blocks that thread until
    // the user has answered.
    virtual int ShowMessage(IMessageTarget* owner, int stringId, int flags) = 0;
};

}  // namespace lanterna
