// Runs the program's start-up (Qt application, application object, single instance, command
// line) and then its first dialog; when that dialog has painted itself for the first time the
// program prints the moment (CLOCK_MONOTONIC, nanoseconds) and its peak resident memory, and
// ends. The main window is not built yet, so the first dialog is the about dialog.
#include <QEvent>
#include <QFile>
#include <QObject>
#include <QTimer>
#include <cstdio>
#include <ctime>

#include "app/Application.h"
#include "dialogs/AboutDialog.h"

namespace {

long long MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// VmHWM of /proc/self/status in kB, 0 when unknown.
long PeakResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return 0;
}

class FirstPaintProbe : public QObject {
  public:
    explicit FirstPaintProbe(ui::CDialog& dialog) : dialog_(dialog) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!seen_ && event->type() == QEvent::Paint) {
            seen_ = true;
            std::printf("shown-at-ns %lld\n", MonotonicNanoseconds());
            // Let the paint finish, then measure with the dialog still open.
            QTimer::singleShot(0, &dialog_, [this] {
                std::printf("peak-rss-kb %ld\n", PeakResidentKb());
                std::fflush(stdout);
                dialog_.EndDialog(1);
            });
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    ui::CDialog& dialog_;
    bool seen_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    return lanterna::RunLanterna(argc, argv, [](lanterna::CApplication& application) {
        lanterna::dialogs::CAboutDialog dialog;
        application.SetMainWindow(&dialog);
        FirstPaintProbe probe(dialog);
        dialog.installEventFilter(&probe);
        return dialog.DoModal();
    });
}
