#include "app/MessageService.h"

#include "ui/MessageBox.h"
#include "ui/MessageTarget.h"

namespace lanterna {

int CWindowMessageService::ShowMessage(IMessageTarget* owner, int stringId, int flags) {
    const auto* target = dynamic_cast<const ui::MessageTarget*>(owner);
    QWidget* window = target != nullptr ? target->Window() : nullptr;
    return ui::ShowStringMessage(window, stringId, static_cast<unsigned>(flags));
}

}  // namespace lanterna
