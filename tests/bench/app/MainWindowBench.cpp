// The main window's figures, on the program's own start-up: the moment the window has painted
// itself for the first time (CLOCK_MONOTONIC, nanoseconds), then, once the first refresh has
// listed COUNT projectors, the peak resident memory and the time of one more refresh. Run by
// scripts/bench-main-window, which prints the figures.
//
//     bench_main_window COUNT               searches aimed at a loopback address where nothing
//                                           answers (COUNT must be 0)
//     bench_main_window COUNT --broadcast   the real broadcasts: only inside a network of
//                                           namespaces (scripts/demo-network)
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/Application.h"
#include "app/MainWindowRun.h"
#include "dialogs/MainDialog.h"
#include "state/DebugTrace.h"
#include "tests/bench/app/ProcessFigures.h"
#include "ui/ListView.h"

namespace {

using lanterna::bench::MonotonicNanoseconds;
using lanterna::bench::PeakResidentKb;

class MainWindowProbe : public QObject {
  public:
    MainWindowProbe(lanterna::dialogs::CMainDialog& window, int expected)
        : window_(window), expected_(expected) {
        window_.installEventFilter(this);
        poll_.setInterval(20);
        QObject::connect(&poll_, &QTimer::timeout, this, [this] { CheckListed(); });
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!painted_ && event->type() == QEvent::Paint) {
            painted_ = true;
            std::printf("shown-at-ns %lld\n", MonotonicNanoseconds());
            std::fflush(stdout);
            poll_.start();
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    void CheckListed() {
        // The window traces a line at the end of every refresh: the first one is over.
        if (trace_.Lines().empty()) {
            return;
        }
        const ui::CListView* list = window_.ListView(lanterna::dialogs::CMainDialog::kListControl);
        const int projectors = list != nullptr ? list->ItemCount() - 3 : -1;
        poll_.stop();
        std::printf("listed %d of %d\n", projectors, expected_);
        std::printf("peak-rss-kb %ld\n", PeakResidentKb());
        const long long started = MonotonicNanoseconds();
        window_.Refresh(true);
        std::printf("refresh-ms %.1f\n",
                    static_cast<double>(MonotonicNanoseconds() - started) / 1e6);
        std::printf("relisted %zu\n", window_.State().projectors.Size());
        std::fflush(stdout);
        window_.EndDialog(1);
    }

    lanterna::dialogs::CMainDialog& window_;
    const int expected_;
    QTimer poll_;
    lanterna::CDebugTraceCapture trace_;
    bool painted_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    const int expected = argc > 1 ? std::atoi(argv[1]) : 0;
    const bool broadcast = argc > 2 && std::strcmp(argv[2], "--broadcast") == 0;
    lanterna::MainWindowOptions options;
    if (!broadcast) {
        options.searchTargets.hello = {.address = "127.90.0.1", .port = 3629, .localPort = 0};
        options.searchTargets.secondary = {.address = "127.90.0.1"};
        options.searchTargets.pjlink = {.address = "127.90.0.1", .port = 9, .localPort = 0};
    }
    std::unique_ptr<MainWindowProbe> probe;
    options.onCreated = [&](lanterna::dialogs::CMainDialog& window) {
        probe = std::make_unique<MainWindowProbe>(window, expected);
    };
    // Only the program's own name reaches start-up: the bench's arguments are not its business.
    int programArgc = 1;
    return lanterna::RunLanterna(programArgc, argv, [&](lanterna::CApplication& application) {
        return lanterna::RunMainWindow(application, options);
    });
}
