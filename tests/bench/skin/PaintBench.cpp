// bench_skin_paint [ROUNDS]: at device pixel ratio 2, draws the skinned frame of dialogs afresh
// and paints the whole dialogs into an image, ROUNDS times each (default 300), and prints the
// first time, the median and the 90th percentile of one in microseconds. Runs offscreen unless
// QT_QPA_PLATFORM is set.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/AboutDialog.h"
#include "dialogs/MainDialog.h"
#include "settings/AddressBook.h"
#include "state/ApplicationState.h"

namespace {

constexpr qreal kRatio = 2.0;

// The first round, which pays for caches (glyphs, icons), and then the median and the 90th
// percentile of all rounds.
void PrintFigure(const std::string& name, std::vector<double> micros) {
    const double first = micros.front();
    std::sort(micros.begin(), micros.end());
    const double median = micros[micros.size() / 2];
    const double p90 = micros[micros.size() * 9 / 10];
    std::printf("%-30s first %8.1f us   median %8.1f us   p90 %8.1f us\n", name.c_str(), first,
                median, p90);
}

std::vector<double> Time(int rounds, const std::function<void()>& step) {
    std::vector<double> micros;
    micros.reserve(static_cast<std::size_t>(rounds));
    for (int round = 0; round < rounds; ++round) {
        const auto started = std::chrono::steady_clock::now();
        step();
        const auto ended = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(ended - started).count());
    }
    return micros;
}

// The frame drawn afresh into its off-screen image, as after a resize or a new title; then
// the whole dialog painted (frame strips copied from that image, client, controls).
void BenchDialog(const std::string& name, lanterna::skin::CSkinDialog& dialog, int rounds) {
    if (dialog.ClientArea() == nullptr && !dialog.Create()) {
        std::fprintf(stderr, "bench_skin_paint: %s not created\n", name.c_str());
        std::exit(1);
    }
    PrintFigure(name + " frame redrawn @2x", Time(rounds, [&] { dialog.RedrawFrame(kRatio); }));
    QImage image(dialog.size() * kRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(kRatio);
    PrintFigure(name + " whole dialog @2x", Time(rounds, [&] { dialog.render(&image); }));
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(10, std::atoi(argv[1])) : 300;

    lanterna::dialogs::CAboutDialog about;
    BenchDialog("about", about, rounds);

    // Nothing is searched: the window has no services and is never run.
    lanterna::ApplicationState state;
    lanterna::AddressBook book;
    lanterna::dialogs::CMainDialog window(
        state, lanterna::dialogs::AddressBookPlace{book, {"/nonexistent/registry.reg"}}, {});
    BenchDialog("main window", window, rounds);
    return 0;
}
