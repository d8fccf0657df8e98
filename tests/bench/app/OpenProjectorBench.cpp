// The window's main road against a simulated projector on a loopback address of its own
// (127.90.1.1, ephemeral port): from the double-click on the projector to the network settings
// dialog painted, and how much of that the probe and the read take. The dialog is cancelled as
// soon as it has painted, and the road is run RUNS times (default 20). Prints figures only.
//
//     bench_open_projector [RUNS]
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "dialogs/MainDialog.h"
#include "dialogs/MainDialogDefaults.h"
#include "platform/FixedText.h"
#include "record/DottedAddress.h"
#include "tests/bench/app/ProcessFigures.h"
#include "tools/projector-sim/SimulatedProjector.h"
#include "ui/ListView.h"
#include "ui/TestHooks.h"

namespace {

using lanterna::bench::MonotonicNanoseconds;

constexpr int kProgressTemplate = 133;
constexpr int kNetworkSettingsTemplate = 130;
constexpr const char* kAddress = "127.90.1.1";

// Notes when the last progress dialog went away and when the settings dialog first painted;
// then cancels the settings dialog, as a user would.
class RoadWatcher : public QObject {
  public:
    long long progressHiddenAt = 0;
    long long dialogShownAt = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* dialog = dynamic_cast<ui::CDialog*>(watched);
        if (dialog == nullptr) {
            return false;
        }
        if (event->type() == QEvent::Hide && dialog->TemplateId() == kProgressTemplate) {
            progressHiddenAt = MonotonicNanoseconds();
        } else if (event->type() == QEvent::Paint &&
                   dialog->TemplateId() == kNetworkSettingsTemplate && dialogShownAt == 0) {
            dialogShownAt = MonotonicNanoseconds();
            QTimer::singleShot(0, dialog, [dialog] { dialog->ClickButton(ui::IDCANCEL); });
        }
        return false;
    }
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

void PrintFigure(const char* what, const std::vector<double>& values) {
    std::printf("%s: median %.1f ms (min %.1f, max %.1f)\n", what, Median(values),
                *std::min_element(values.begin(), values.end()),
                *std::max_element(values.begin(), values.end()));
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int programArgc = 1;
    QApplication application(programArgc, argv);

    lanterna::sim::SimulatorConfig config;
    config.address = kAddress;
    config.port = 0;
    config.secondaryPort = 0;
    config.name = "ROOM-201";
    lanterna::sim::SimulatedProjector projector(config);
    std::string reason;
    if (!projector.Start(&reason)) {
        std::fprintf(stderr, "bench_open_projector: %s\n", reason.c_str());
        return 1;
    }
    auto settings = projector.Settings();  // a room's addresses, which the dialog accepts
    settings.wired.ipAddress = {192, 168, 10, 21};
    settings.wired.gateway = {192, 168, 10, 1};
    projector.SetSettings(settings);

    lanterna::StateOptions options;
    options.projectorPort = projector.TcpPort();
    lanterna::ApplicationState state(options);
    auto services = lanterna::dialogs::DefaultMainDialogServices(state);
    services.runSearch = [](lanterna::dialogs::CMainDialog&, lanterna::ProjectorList& projectors) {
        lanterna::ProjectorRecord record{};
        lanterna::CopyText(record.address, kAddress);
        lanterna::ScanDottedInto(kAddress, record.ipAddress);
        lanterna::CopyText(record.projectorName, "ROOM-201");
        projectors.Append(record);
    };
    const std::filesystem::path hive =
        std::filesystem::temp_directory_path() / ("bench-open-" + std::to_string(getpid()));
    lanterna::AddressBook book;
    lanterna::dialogs::CMainDialog window(
        state, lanterna::dialogs::AddressBookPlace{book, {hive.string(), lanterna::RealFileSeam()}},
        std::move(services));
    window.Create();
    window.show();
    ui::test::PumpUntil(
        [&] {
            return window.ListView(lanterna::dialogs::CMainDialog::kListControl)->ItemCount() > 3;
        },
        5000);

    RoadWatcher watcher;
    application.installEventFilter(&watcher);
    std::vector<double> total, read, beyond;
    for (int run = 0; run < runs; ++run) {
        watcher.progressHiddenAt = watcher.dialogShownAt = 0;
        const long long clicked = MonotonicNanoseconds();
        window.OnDoubleClick(3);
        if (watcher.dialogShownAt == 0) {
            std::fprintf(stderr, "bench_open_projector: run %d showed no settings dialog\n", run);
            return 1;
        }
        total.push_back(static_cast<double>(watcher.dialogShownAt - clicked) / 1e6);
        read.push_back(static_cast<double>(watcher.progressHiddenAt - clicked) / 1e6);
        beyond.push_back(static_cast<double>(watcher.dialogShownAt - watcher.progressHiddenAt) /
                         1e6);
    }
    application.removeEventFilter(&watcher);
    std::printf("open projector (%s, %d runs, simulated projector on %s)\n",
                qPrintable(QGuiApplication::platformName()), runs, kAddress);
    PrintFigure("double-click to settings dialog shown", total);
    PrintFigure("of which probe and read", read);
    PrintFigure("settings dialog beyond the read (target under 100 ms)", beyond);
    std::error_code ignored;
    std::filesystem::remove(hive, ignored);
    return 0;
}
