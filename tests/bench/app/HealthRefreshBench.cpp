// The main window with COUNT projectors listed while their health is read in the background,
// offscreen and without any network: a stand-in round "reads" every projector (a pause as a
// network would take, then readings whose power, lamp hours and errors change from round to
// round), every 200 ms. A timer that asks to run every millisecond measures how long the event
// loop was kept from it, in the icon view, then in the table of details sorted by lamp hours
// (every round re-sorts it), idle, with a selection moved and with a typed filter meanwhile.
// Figures only; nothing is asserted. The same is measured first without any health reading, as the
// baseline.
//
//     bench_health_refresh [COUNT [SECONDS]]        default: 1000 10

#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "dialogs/MainDialog.h"
#include "dialogs/ProjectorListModel.h"
#include "platform/AtomicFile.h"
#include "platform/FixedText.h"
#include "record/DottedAddress.h"
#include "settings/WindowSettings.h"
#include "tests/bench/app/ProcessFigures.h"
#include "ui/ListView.h"

namespace {

using lanterna::bench::MonotonicNanoseconds;
using lanterna::bench::PeakResidentKb;

constexpr std::uint32_t kRoundPeriodMs = 200;
constexpr auto kRoundPause = std::chrono::milliseconds(50);

lanterna::ProjectorRecord HealthRoom(int i) {
    lanterna::ProjectorRecord record{};
    lanterna::CopyText(record.projectorName, "ROOM-" + std::to_string(1000 + (i * 7919) % 9000));
    record.ipAddress = {10, 30, static_cast<std::uint8_t>(i / 250),
                        static_cast<std::uint8_t>(i % 250 + 1)};
    lanterna::CopyText(record.address, lanterna::FormatDotted(record.ipAddress));
    record.imType = 21;
    return record;
}

// A reading that differs from round to round: every projector's row changes.
lanterna::pjlink::HealthRead SimulatedReading(std::size_t i, int round) {
    lanterna::pjlink::HealthRead read;
    auto& health = read.health;
    health.power = (i + static_cast<std::size_t>(round)) % 4 == 0 ? lanterna::pjlink::Power::kOff
                                                                  : lanterna::pjlink::Power::kOn;
    health.lamps = std::vector<lanterna::pjlink::Lamp>{
        {static_cast<int>((i * 37 + static_cast<std::size_t>(round) * 11) % 4000), true}};
    lanterna::pjlink::ErrorLevels errors{};
    errors[(i + static_cast<std::size_t>(round)) % errors.size()] =
        static_cast<std::uint8_t>((i + static_cast<std::size_t>(round)) % 3);
    health.errors = errors;
    health.maker = "SIMULATED";
    health.product = "SIM-" + std::to_string(2000 + i % 5);
    return read;
}

// A round as a network would give it: a pause, then a reading of every address.
std::vector<lanterna::fleet::HealthOfTarget> SimulatedRound(
    const std::vector<std::string>& addresses, int round, const std::atomic<bool>& cancel) {
    std::this_thread::sleep_for(kRoundPause);
    std::vector<lanterna::fleet::HealthOfTarget> readings(addresses.size());
    for (std::size_t i = 0; i < addresses.size() && !cancel; ++i) {
        readings[i].address = addresses[i];
        readings[i].read = SimulatedReading(i, round);
    }
    return readings;
}

struct Stalls {
    double longestMs = 0;
    std::vector<double> gapsMs;
};

// Runs the event loop for `seconds`, `interact` once every 100 ms, and measures the gaps
// between the turns of a 1 ms timer.
Stalls MeasureStalls(int seconds, const std::function<void(int)>& interact) {
    Stalls stalls;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    long long last = MonotonicNanoseconds();
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const long long now = MonotonicNanoseconds();
        const double gap = static_cast<double>(now - last) / 1e6;
        stalls.gapsMs.push_back(gap);
        stalls.longestMs = std::max(stalls.longestMs, gap);
        last = now;
    });
    QTimer poke;
    int pokes = 0;
    QObject::connect(&poke, &QTimer::timeout, [&] { interact(pokes++); });
    tick.start(1);
    poke.start(100);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < seconds * 1000) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return stalls;
}

double Percentile(std::vector<double> values, double share) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(share * values.size()))];
}

void Report(const char* view, const Stalls& stalls, int rounds) {
    std::printf("  %-32s longest stall %.1f ms, 99th percentile %.1f ms, %d rounds applied\n", view,
                stalls.longestMs, Percentile(stalls.gapsMs, 0.99), rounds);
    std::fflush(stdout);
}

void Measure(int count, int seconds, bool reading) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("bench-health-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const lanterna::HiveFile hive{(folder / "hive").string(), lanterna::RealFileSeam()};
    lanterna::SavePresencePeriod(kRoundPeriodMs, hive);

    lanterna::ApplicationState state;
    lanterna::AddressBook book;
    std::atomic<int> round{0};
    lanterna::dialogs::MainDialogServices services;
    services.runSearch = [&](lanterna::dialogs::CMainDialog&, lanterna::ProjectorList& found) {
        for (int i = 0; i < count; ++i) {
            found.Append(HealthRoom(i));
        }
    };
    if (reading) {
        services.healthRound = [&round](const std::vector<std::string>& addresses,
                                        const lanterna::fleet::FleetNetwork&,
                                        const lanterna::fleet::PjlinkPasswordOf&,
                                        const std::atomic<bool>& cancel) {
            return SimulatedRound(addresses, round++, cancel);
        };
    }
    lanterna::dialogs::CMainDialog window(state, lanterna::dialogs::AddressBookPlace{book, hive},
                                          services);
    window.Create();
    window.resize(1024, 700);
    window.show();
    QApplication::processEvents();
    window.Refresh(false);
    ui::CListView* list = window.ListView(lanterna::dialogs::CMainDialog::kListControl);

    if (reading) {
        std::printf("%5d projectors, a health round every %u ms:\n", count, kRoundPeriodMs);
    } else {
        std::printf("%5d projectors, no health read (the baseline of the same run):\n", count);
    }
    int before = window.HealthRoundsDone();
    Stalls idle = MeasureStalls(seconds, [](int) {});
    Report("icon view, idle", idle, window.HealthRoundsDone() - before);
    before = window.HealthRoundsDone();
    const auto moveSelection = [&](int poke) { list->SelectRow(3 + (poke * 17) % count); };
    Stalls stalls = MeasureStalls(seconds, moveSelection);
    Report("icon view, selection moving", stalls, window.HealthRoundsDone() - before);

    window.SetDetailsView(true);
    window.DetailsView()->sortByColumn(lanterna::dialogs::kColumnLampHours, Qt::DescendingOrder);
    before = window.HealthRoundsDone();
    stalls = MeasureStalls(seconds, moveSelection);
    Report("details by lamp hours", stalls, window.HealthRoundsDone() - before);

    before = window.HealthRoundsDone();
    stalls = MeasureStalls(seconds, [&](int poke) {
        window.SetFilterText(poke % 2 == 0 ? QStringLiteral("ROOM-5") : QString());
    });
    Report("details, typed filter on and off", stalls, window.HealthRoundsDone() - before);
    if (reading) {
        // What one round costs the user-interface thread itself, whatever else the machine runs:
        // the rows told of new readings, the re-sort by lamp hours and the repaint that follows.
        auto& model = const_cast<lanterna::dialogs::CProjectorRows&>(window.Rows()).Model();
        std::vector<double> applied;
        for (int i = 0; i < 20; ++i) {
            const long long started = MonotonicNanoseconds();
            model.HealthChanged();
            window.DetailsView()->viewport()->repaint();
            applied.push_back(static_cast<double>(MonotonicNanoseconds() - started) / 1e6);
        }
        std::printf("  a round applied to the rows and painted: median %.1f ms, longest %.1f ms\n",
                    Percentile(applied, 0.5), Percentile(applied, 1.0));
    }
    std::printf("  peak resident %ld kB\n", PeakResidentKb());
    std::fflush(stdout);
    window.EndDialog(1);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    const int seconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
    Measure(count, seconds, false);
    Measure(count, seconds, true);
    return 0;
}
