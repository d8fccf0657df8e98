// Runs the program's start-up (Qt application, application object, single instance, command
// line) and then its first dialog; when that dialog has painted itself for the first time the
// program prints the moment (CLOCK_MONOTONIC, nanoseconds) and its peak resident memory, and
// ends. The main window is not built yet, so the first dialog is the about dialog.
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <cstdio>

#include "app/Application.h"
#include "dialogs/AboutDialog.h"
#include "tests/bench/app/ProcessFigures.h"

namespace {

using lanterna::bench::MonotonicNanoseconds;
using lanterna::bench::PeakResidentKb;

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
