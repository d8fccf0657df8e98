// A settings file applied as a template from the window to COUNT selected projectors (default
// 100), simulated on loopback addresses of this benchmark's own (127.90.2.1 onwards, one
// ephemeral port), after a stand-in search has listed them: the peak memory with them listed,
// the preview's reading, and the write with its read-back up to the results. The preview and
// the results are answered as a user would. Prints figures only.
//
//     bench_apply_selection [COUNT]
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "dialogs/DialogIds.h"
#include "dialogs/MainDialog.h"
#include "dialogs/MainDialogDefaults.h"
#include "platform/FixedText.h"
#include "record/DottedAddress.h"
#include "settings/SettingsFile.h"
#include "tests/bench/app/ProcessFigures.h"
#include "tools/projector-sim/SimulatedProjector.h"
#include "ui/ListView.h"
#include "ui/TestHooks.h"

namespace {

using lanterna::bench::MonotonicNanoseconds;
namespace dialogs = lanterna::dialogs;

std::string AddressOf(int i) {
    return "127.90.2." + std::to_string(i + 1);
}

// Notes when the preview and the results show, and answers them: Apply, then Close.
class ApplyWatcher : public QObject {
  public:
    long long previewAt = 0;
    long long resultsAt = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* dialog = dynamic_cast<ui::CDialog*>(watched);
        if (dialog == nullptr || event->type() != QEvent::Show) {
            return false;
        }
        if (dialog->TemplateId() == dialogs::kApplyPreviewTemplate && previewAt == 0) {
            previewAt = MonotonicNanoseconds();
            QTimer::singleShot(0, dialog, [dialog] { dialog->ClickButton(ui::IDOK); });
        } else if (dialog->TemplateId() == dialogs::kFleetResultsTemplate && resultsAt == 0) {
            resultsAt = MonotonicNanoseconds();
            QTimer::singleShot(0, dialog, [dialog] { dialog->ClickButton(ui::IDOK); });
        }
        return false;
    }
};

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::clamp(std::atoi(argv[1]), 1, 250) : 100;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int programArgc = 1;
    QApplication application(programArgc, argv);

    std::vector<std::unique_ptr<lanterna::sim::SimulatedProjector>> projectors;
    std::uint16_t port = 0;
    for (int i = 0; i < count; ++i) {
        lanterna::sim::SimulatorConfig config;
        config.address = AddressOf(i);
        config.port = port;
        config.secondaryPort = 0;
        config.name = "ROOM-" + std::to_string(101 + i);
        auto projector = std::make_unique<lanterna::sim::SimulatedProjector>(config);
        std::string reason;
        if (!projector->Start(&reason)) {
            std::fprintf(stderr, "bench_apply_selection: %s\n", reason.c_str());
            return 1;
        }
        port = projector->TcpPort();
        projectors.push_back(std::move(projector));
    }
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("bench-apply-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    lanterna::ProjectorRecord site{};
    lanterna::CopyText(site.projectorName, "TEMPLATE");
    site.dns1 = {10, 0, 0, 53};
    site.dns1State = site.dns2State = lanterna::kStateRead;
    lanterna::CopyText(site.community, "site");
    const std::string file = (folder / "site.ini").string();
    lanterna::WriteSettingsFile(site, file);

    lanterna::StateOptions options;
    options.projectorPort = port;
    lanterna::ApplicationState state(options);
    lanterna::SearchTargets targets{
        .hello = {.address = AddressOf(0), .port = port, .localPort = 0},
        .secondary = {.address = AddressOf(0), .port = 0},
        .pjlink = {.address = AddressOf(0), .port = 9, .localPort = 0}};
    auto services = dialogs::DefaultMainDialogServices(state, targets);
    services.runSearch = [count](dialogs::CMainDialog&, lanterna::ProjectorList& list) {
        for (int i = 0; i < count; ++i) {
            lanterna::ProjectorRecord record{};
            lanterna::CopyText(record.address, AddressOf(i));
            lanterna::ScanDottedInto(AddressOf(i), record.ipAddress);
            lanterna::CopyText(record.projectorName, "ROOM-" + std::to_string(101 + i));
            record.imType = 21;  // the search's hello told it
            list.Append(record);
        }
    };
    // What the write keeps of each projector beforehand stays in the benchmark's own folder.
    services.historyFolder = (folder / "history").string();
    services.chooseSettingsFile = [file](dialogs::CMainDialog&) { return file; };
    services.trackPopupMenu = [](dialogs::CMainDialog&, const auto&, QPoint, const auto&) {
        return dialogs::CMainDialog::kApplySettingsFileCommand;
    };
    lanterna::AddressBook book;
    dialogs::CMainDialog window(
        state,
        dialogs::AddressBookPlace{book, {(folder / "hive").string(), lanterna::RealFileSeam()}},
        std::move(services));
    window.Create();
    window.show();
    ui::test::PumpUntil(
        [&] { return window.ListView(dialogs::CMainDialog::kListControl)->ItemCount() > count + 2; },
        10000);
    const long listedKb = lanterna::bench::PeakResidentKb();

    std::vector<const lanterna::ProjectorRecord*> all;
    for (std::size_t i = 0; i < state.projectors.Size(); ++i) {
        all.push_back(state.projectors.At(i));
    }
    window.SelectProjectors(all);
    ApplyWatcher watcher;
    application.installEventFilter(&watcher);
    const long long started = MonotonicNanoseconds();
    window.SendCommand(dialogs::CMainDialog::kListControl, ui::Notify::RightClicked);
    application.removeEventFilter(&watcher);
    if (watcher.previewAt == 0 || watcher.resultsAt == 0) {
        std::fprintf(stderr, "bench_apply_selection: no preview or no results shown\n");
        return 1;
    }
    std::size_t written = 0;
    for (const auto& projector : projectors) {
        written += projector->Settings().community == "site" ? 1 : 0;
    }
    std::printf("apply settings file to a selection (%s, %d simulated projectors on loopback)\n",
                qPrintable(QGuiApplication::platformName()), count);
    std::printf("peak memory with %d listed: %.1f MB (target under 60 MB)\n", count,
                static_cast<double>(listedKb) / 1024.0);
    std::printf("menu command to preview shown (reading all): %.1f ms\n",
                static_cast<double>(watcher.previewAt - started) / 1e6);
    std::printf("Apply to results shown (write and read-back): %.1f ms\n",
                static_cast<double>(watcher.resultsAt - watcher.previewAt) / 1e6);
    std::printf("menu command to results, in all: %.1f ms (target under 2000 ms)\n",
                static_cast<double>(watcher.resultsAt - started) / 1e6);
    std::printf("projectors that took the template: %zu of %d\n", written, count);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
}
