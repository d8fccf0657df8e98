// The main window at a site's scale, offscreen and without any network: a stand-in search
// "finds" COUNT projectors, and the figures are the time from the search's end to the list's
// first paint (the refresh's own work, the sorting, the layout of the first screen of icons,
// the paint), the same in the table of details, the time to narrow the list by typed text, and
// the resident memory before and after the list is filled. Each is measured for 0 projectors
// first, as the baseline of the same run. Figures only; nothing is asserted.
//
//     bench_main_list [COUNT...]        default: 1000 4096

#include <QApplication>
#include <QFile>
#include <QTreeView>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "dialogs/MainDialog.h"
#include "platform/FixedText.h"
#include "record/DottedAddress.h"
#include "tests/bench/app/ProcessFigures.h"
#include "ui/ListView.h"

namespace {

using lanterna::bench::MonotonicNanoseconds;
using lanterna::bench::PeakResidentKb;

// VmRSS of /proc/self/status in kB.
long ResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return 0;
}

double MillisecondsSince(long long started) {
    return static_cast<double>(MonotonicNanoseconds() - started) / 1e6;
}

lanterna::ProjectorRecord Room(int i) {
    lanterna::ProjectorRecord record{};
    lanterna::CopyText(record.projectorName, "ROOM-" + std::to_string(1000 + (i * 7919) % 9000));
    record.ipAddress = {10, 20, static_cast<std::uint8_t>(i / 250),
                        static_cast<std::uint8_t>(i % 250 + 1)};
    lanterna::CopyText(record.address, lanterna::FormatDotted(record.ipAddress));
    record.imType = static_cast<std::uint8_t>(i % 3 == 0 ? 22 : 21);
    return record;
}

void Measure(int count) {
    lanterna::ApplicationState state;
    lanterna::AddressBook book;
    long long searchEnded = 0;
    bool firstSearch = true;  // the window's own first refresh finds nothing: the baseline
    lanterna::dialogs::MainDialogServices services;
    services.runSearch = [&](lanterna::dialogs::CMainDialog&, lanterna::ProjectorList& found) {
        for (int i = 0; i < count && !firstSearch; ++i) {
            found.Append(Room(i));
        }
        firstSearch = false;
        searchEnded = MonotonicNanoseconds();
    };
    lanterna::dialogs::CMainDialog window(
        state, lanterna::dialogs::AddressBookPlace{book, {"/nonexistent/lanterna-bench.reg"}},
        services);
    window.Create();
    window.resize(1024, 700);
    window.show();
    QApplication::processEvents();
    const long before = ResidentKb();

    window.Refresh(false);
    ui::CListView* list = window.ListView(lanterna::dialogs::CMainDialog::kListControl);
    list->viewport()->repaint();
    const double firstPaint = MillisecondsSince(searchEnded);
    QApplication::processEvents();  // the rest of the batches
    const long after = ResidentKb();

    long long started = MonotonicNanoseconds();
    window.SetDetailsView(true);
    window.DetailsView()->viewport()->repaint();
    const double details = MillisecondsSince(started);
    window.SetDetailsView(false);

    started = MonotonicNanoseconds();
    window.SetFilterText(QStringLiteral("ROOM-5"));
    list->viewport()->repaint();
    const double filtered = MillisecondsSince(started);
    const int shown = list->ItemCount() - 3;
    window.SetFilterText({});

    std::printf("%5d projectors: first paint %.1f ms, details view %.1f ms, typed filter %.1f ms "
                "(%d shown), resident %ld kB before and %ld kB after the refresh, peak %ld kB\n",
                count, firstPaint, details, filtered, shown, before, after, PeakResidentKb());
    std::fflush(stdout);
    window.EndDialog(1);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) {
        counts.push_back(std::atoi(argv[i]));
    }
    if (counts.empty()) {
        counts = {1000, 4096};
    }
    Measure(0);
    for (const int count : counts) {
        Measure(count);
    }
    return 0;
}
