#include "ui/MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QThread>
#include <mutex>
#include <utility>

#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "ui/DialogCodes.h"
#include "ui/TestHooks.h"
#include "ui/Text.h"

namespace ui {
namespace {

struct Hooks {
    std::mutex mutex;
    MessageBoxHandler handler;
    StringLoader loader;
};

Hooks& TheHooks() {
    static Hooks hooks;
    return hooks;
}

int StandInMessageBox(QWidget* owner, const std::string& text, const std::string& caption,
                      unsigned flags) {
    QMessageBox box(owner);
    box.setWindowTitle(ToQString(caption));
    box.setText(ToQString(text));
    box.setTextFormat(Qt::PlainText);
    switch (flags & MB_ICONMASK) {
        case MB_ICONSTOP:
            box.setIcon(QMessageBox::Critical);
            break;
        case MB_ICONQUESTION:
            box.setIcon(QMessageBox::Question);
            break;
        case MB_ICONEXCLAMATION:
            box.setIcon(QMessageBox::Warning);
            break;
        case MB_ICONINFORMATION:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            break;
    }
    if ((flags & MB_BUTTONMASK) == MB_YESNO) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? IDYES : IDNO;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return IDOK;
}

int ShowOnThisThread(QWidget* owner, const std::string& text, const std::string& caption,
                     unsigned flags) {
    MessageBoxHandler handler;
    {
        const std::lock_guard lock(TheHooks().mutex);
        handler = TheHooks().handler;
    }
    return handler ? handler(owner, text, caption, flags)
                   : StandInMessageBox(owner, text, caption, flags);
}

int Show(QWidget* owner, std::string_view text, std::string_view caption, unsigned flags,
         int stringId) {
    const std::string ownText(text);
    const std::string ownCaption(caption);
    int answer = 0;
    if (test::detail::InterceptMessageBox(owner, ownText, ownCaption, flags, stringId, answer)) {
        return answer;
    }
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr || QThread::currentThread() == application->thread()) {
        return ShowOnThisThread(owner, ownText, ownCaption, flags);
    }
    QMetaObject::invokeMethod(
        application, [&] { answer = ShowOnThisThread(owner, ownText, ownCaption, flags); },
        Qt::BlockingQueuedConnection);
    return answer;
}

}  // namespace

void SetMessageBoxHandler(MessageBoxHandler handler) {
    const std::lock_guard lock(TheHooks().mutex);
    TheHooks().handler = std::move(handler);
}

int ShowMessageBox(QWidget* owner, std::string_view text, std::string_view caption,
                   unsigned flags) {
    return Show(owner, text, caption, flags, 0);
}

void SetStringLoader(StringLoader loader) {
    const std::lock_guard lock(TheHooks().mutex);
    TheHooks().loader = std::move(loader);
}

std::string LoadUiString(int stringId) {
    StringLoader loader;
    {
        const std::lock_guard lock(TheHooks().mutex);
        loader = TheHooks().loader;
    }
    return loader ? loader(stringId) : std::string(lanterna::LoadString(stringId));
}

int ShowStringMessage(QWidget* owner, int stringId, unsigned flags) {
    return Show(owner, LoadUiString(stringId), LoadUiString(lanterna::kStringAppName), flags,
                stringId);
}

int ShowStringMessageWithText(QWidget* owner, int stringId, std::string_view text,
                              unsigned flags) {
    return Show(owner, text, LoadUiString(lanterna::kStringAppName), flags, stringId);
}

}  // namespace ui
