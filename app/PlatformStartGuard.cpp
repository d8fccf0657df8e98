#include "app/PlatformStartGuard.h"

#include <unistd.h>

#include <QMessageLogContext>
#include <QString>
#include <QtGlobal>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "app/LaunchOptions.h"

namespace lanterna {
namespace {

struct HeldMessage {
    QtMsgType type;
    std::string file;
    int line;
    std::string function;
    std::string category;
    QString text;
};

std::mutex heldMutex;
std::vector<HeldMessage> heldMessages;
QtMessageHandler earlierHandler = nullptr;

void HoldOrEnd(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        // Nothing of the toolkit's may run any more: write the line and end at once.
        const std::string line = NoDisplayLine() + "\n";
        [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, line.data(), line.size());
        std::_Exit(1);
    }
    const std::lock_guard lock(heldMutex);
    heldMessages.push_back({type, context.file ? context.file : "", context.line,
                            context.function ? context.function : "",
                            context.category ? context.category : "", text});
}

}  // namespace

CPlatformStartGuard::CPlatformStartGuard() {
    earlierHandler = qInstallMessageHandler(&HoldOrEnd);
}

CPlatformStartGuard::~CPlatformStartGuard() {
    qInstallMessageHandler(earlierHandler);
    std::vector<HeldMessage> messages;
    {
        const std::lock_guard lock(heldMutex);
        messages.swap(heldMessages);
    }
    for (const HeldMessage& message : messages) {
        const QMessageLogContext context(message.file.c_str(), message.line,
                                         message.function.c_str(), message.category.c_str());
        qt_message_output(message.type, context, message.text);  // to the earlier handler
    }
}

}  // namespace lanterna
