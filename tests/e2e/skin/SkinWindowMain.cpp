// lanterna-skin-window INFO_FILE: runs the about dialog on the display of DISPLAY. Once the
// dialog is on screen and active it writes to INFO_FILE, in one line: its window id, then a
// point of its caption and the centre of its close block (window coordinates), and prints
// "shown". It prints "pressed" when a mouse button press reaches the dialog, and "ended CODE"
// when the dialog has ended. Used by the frame's end-to-end test; it opens no network
// connection.
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <cstdio>

#include "dialogs/AboutDialog.h"

namespace {

constexpr int kActivationChecks = 500;
constexpr int kActivationCheckMs = 10;

void ReportWhenActive(lanterna::dialogs::CAboutDialog& dialog, const QString& path, int checks) {
    if (!dialog.isActiveWindow() && checks > 0) {
        QTimer::singleShot(kActivationCheckMs, &dialog,
                           [&dialog, path, checks] { ReportWhenActive(dialog, path, checks - 1); });
        return;
    }
    const lanterna::skin::FrameGeometry& g = dialog.FrameGeometryNow();
    const QPoint caption(g.window.width() / 2, g.frameHeight + g.captionHeight / 2);
    const QRect close = g.CloseRect();
    {
        QFile info(path);
        if (info.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            info.write(QString("%1 %2 %3 %4 %5\n")
                           .arg(dialog.winId())
                           .arg(caption.x())
                           .arg(caption.y())
                           .arg(close.left() + close.width() / 2)
                           .arg(close.top() + close.height() / 2)
                           .toUtf8());
        }
    }  // written and closed before the test hears of it
    std::printf("shown\n");
    std::fflush(stdout);
}

// Tells the test that a press has reached the dialog: the window manager may hold the first
// moments of a press (to raise and focus the window) before the dialog sees it.
class CPressReporter : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress) {
            std::printf("pressed\n");
            std::fflush(stdout);
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: lanterna-skin-window INFO_FILE\n");
        return 2;
    }
    QApplication application(argc, argv);
    const QString path = QString::fromLocal8Bit(argv[1]);
    lanterna::dialogs::CAboutDialog dialog;
    CPressReporter pressReporter;
    dialog.installEventFilter(&pressReporter);
    QTimer::singleShot(0, &dialog,
                       [&dialog, path] { ReportWhenActive(dialog, path, kActivationChecks); });
    const int code = dialog.DoModal();
    std::printf("ended %d\n", code);
    std::fflush(stdout);
    return 0;
}
