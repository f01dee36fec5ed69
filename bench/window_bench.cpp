// The window's figures in demo mode: the time from the process's start to the first
// paint, from opening the roster to the first player shown, and of switching players.
// Prints one "name milliseconds" line each and the peak memory in kilobytes.
#include "demo_window.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QSlider>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Milliseconds since the process started, from the kernel's start time of the process.
double sinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string field;
    for (int i = 0; i < 22 && stat >> field; ++i) {
    }
    const double startSeconds = std::stod(field) / static_cast<double>(sysconf(_SC_CLK_TCK));
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return (static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9 -
            startSeconds) *
           1000.0;
}

long peakKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const qb::test::DemoWindow demo;
    qb::MainWindow& window = *demo.window;
    QApplication::processEvents();
    (void)window.grab(); // the first paint
    const double firstPaint = sinceProcessStart();

    QElapsedTimer timer;
    timer.start();
    window.openRoster(demo.demo.roster);
    const double open = static_cast<double>(timer.nsecsElapsed()) / 1e6;

    std::vector<double> switches;
    auto* players = window.findChild<QComboBox*>(QStringLiteral("cboPlayerName"));
    for (int slot = 1; slot <= 50; ++slot) {
        timer.restart();
        players->setCurrentIndex(slot);
        QApplication::processEvents();
        switches.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(switches.begin(), switches.end());

    // Undo and redo of one slider edit, the editors shown again each time.
    auto* slider = window.findChild<QSlider*>(QStringLiteral("sldBowling_4"));
    auto* undo = window.findChild<QAction*>(QStringLiteral("mnuUndo"));
    auto* redo = window.findChild<QAction*>(QStringLiteral("mnuRedo"));
    slider->setValue(slider->value() == 63 ? 62 : slider->value() + 1);
    std::vector<double> steps;
    for (int step = 0; step < 50; ++step) {
        timer.restart();
        (step % 2 == 0 ? undo : redo)->trigger();
        steps.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(steps.begin(), steps.end());
    std::printf("window_first_paint_ms %.2f\n", firstPaint);
    std::printf("window_open_ms %.2f\n", open);
    std::printf("window_switch_ms %.3f\n", switches[switches.size() / 2]);
    std::printf("window_undo_redo_ms %.3f\n", steps[steps.size() / 2]);
    std::printf("window_peak_kb %ld\n", peakKilobytes());
    demo.reportMessages();
    return 0;
}
