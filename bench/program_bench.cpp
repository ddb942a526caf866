// What the window program spends on its hot paths, on the offscreen platform:
// drawing both panes off screen against the floor of filling the same two
// pictures in plain memory, showing them whole and in part, a redraw as the
// program makes it (drawn, then the changes shown), a QPainter port for
// comparison, one served pointer movement end to end, the whole-screen
// operations, and loading and saving a screen file.
//
// Run with --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
// and compare medians of one run: the machine is noisy, the ratios are not.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QRegion>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/program.h"
#include "display/panes.h"
#include "display/render.h"
#include "files/current_file.h"
#include "files/screen_files.h"
#include "files/whole_file.h"
#include "naive_render.h"
#include "platform/drawing.h"
#include "platform/event_queue.h"
#include "platform/gadgets.h"
#include "platform/images.h"
#include "platform/qt_access.h"
#include "screen/layout.h"
#include "screen/operations.h"
#include "screen/screen_buffer.h"

namespace {

void fillRandomly(std::uint8_t* image) {
    std::mt19937 random(6912);
    for (int i = 0; i < ScreenSize; ++i) {
        image[i] = static_cast<std::uint8_t>(random());
    }
}

bool programStarted = false;

// The program is started once for the whole run, with a random screen, and
// ended by main().
void startOnce() {
    if (programStarted) {
        return;
    }
    if (!startProgram()) {
        std::abort();
    }
    programStarted = true;
    fillRandomly(ScreenBuffer);
    QCoreApplication::processEvents();
}

// Ticks the Grid box and serves its click, so renderPanes draws the grid.
void setGrid(bool on) {
    if ((gadgetState(GridBox) != 0) != on) {
        QTest::mouseClick(gadgetWidget(GridBox), Qt::LeftButton);
        while (!eventQueueEmpty()) {
            runLoopTurn();
        }
    }
}

// A redraw as the program makes one: both panes drawn whole, then what
// changed shown. The highlight moves between two cells, as under a moving
// pointer; without one nothing changes, and nothing is shown.
void BM_RenderPanes(benchmark::State& state, bool highlight, bool grid) {
    startOnce();
    setGrid(grid);
    int step = 0;
    for (auto _ : state) {
        const int column = highlight ? 13 + step++ % 2 : -1;
        renderPanes(column, highlight ? 7 : -1);
    }
    setGrid(false);
}
BENCHMARK_CAPTURE(BM_RenderPanes, no_highlight, false, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RenderPanes, moving_highlight, true, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RenderPanes, moving_highlight_grid, true, true)->Unit(benchmark::kMicrosecond);

// The drawing alone, without showing anything: both panes into off-screen images.
void BM_RenderBothPanesOffScreen(benchmark::State& state) {
    startOnce();
    createImage(90, 508, 380);
    createImage(91, 508, 380);
    for (auto _ : state) {
        for (const PaneKind kind : {PaneKind::Mono, PaneKind::Colour}) {
            startDrawing(imageOutput(kind == PaneKind::Mono ? 90 : 91));
            renderPane(ScreenBuffer, kind, -1, -1, false, 2);
            stopDrawing();
        }
    }
    freeImage(90);
    freeImage(91);
}
BENCHMARK(BM_RenderBothPanesOffScreen)->Unit(benchmark::kMicrosecond);

// The floor for the drawing: two pictures of the panes' size filled with
// one colour in plain memory, nothing shown. Their size is fixed here so that
// the compiler fills them with vector stores, as fast as plain code can.
using PanePixels = std::array<std::uint32_t, std::size_t{508} * 380>;
PanePixels monoFloor;
PanePixels colourFloor;

void BM_FillBothPanesOffScreen(benchmark::State& state) {
    PanePixels& mono = monoFloor;
    PanePixels& colour = colourFloor;
    std::uint32_t pixel = 0xFF000000;
    for (auto _ : state) {
        std::fill(mono.begin(), mono.end(), pixel);
        std::fill(colour.begin(), colour.end(), pixel);
        benchmark::DoNotOptimize(mono.data());
        benchmark::DoNotOptimize(colour.data());
        benchmark::ClobberMemory();
        ++pixel;
    }
}
BENCHMARK(BM_FillBothPanesOffScreen)->Unit(benchmark::kMicrosecond);

// Showing both panes whole, as an expose does: the pictures go to the window
// system as they are, nothing is drawn.
void BM_ShowBothPanesWhole(benchmark::State& state) {
    startOnce();
    renderPanes(-1, -1);
    for (auto _ : state) {
        gadgetWidget(MonoPane)->repaint();
        gadgetWidget(ColourPane)->repaint();
    }
}
BENCHMARK(BM_ShowBothPanesWhole)->Unit(benchmark::kMicrosecond);

// Showing two cells of each pane, as after a pointer movement.
void BM_ShowTwoCellsOfBothPanes(benchmark::State& state) {
    startOnce();
    renderPanes(-1, -1);
    const QRegion cells = QRegion(208, 112, 16, 16) + QRegion(224, 112, 16, 16);
    for (auto _ : state) {
        gadgetWidget(MonoPane)->repaint(cells);
        gadgetWidget(ColourPane)->repaint(cells);
    }
}
BENCHMARK(BM_ShowTwoCellsOfBothPanes)->Unit(benchmark::kMicrosecond);

// The naive port: the same picture, one QPainter::fillRect per 2 x 2 box into
// a QImage, and the pane shown the same way.
void BM_PaintBothPanesWithQPainter(benchmark::State& state) {
    startOnce();
    QImage picture(508, 380, QImage::Format_RGB32);
    for (auto _ : state) {
        for (const int pane : {MonoPane, ColourPane}) {
            paintPaneNaively(picture, ScreenBuffer, pane);
            startDrawing(canvasOutput(pane));
            stopDrawing();
        }
    }
}
BENCHMARK(BM_PaintBothPanesWithQPainter)->Unit(benchmark::kMicrosecond);

// One pointer movement over a pane, from the native event to both panes shown
// and the title set: the event is posted as the window system would deliver it,
// then one turn of the program's loop fetches and serves it.
void BM_ServedPointerMovement(benchmark::State& state) {
    startOnce();
    QWidget* pane = gadgetWidget(ColourPane);
    const auto post = [pane](QPoint at) {
        QCoreApplication::postEvent(
            pane, new QMouseEvent(QEvent::MouseMove, at, pane->mapToGlobal(at), Qt::NoButton,
                                  Qt::NoButton, Qt::NoModifier));
    };
    post({100, 100});  // the first movement only enters the pane
    runLoopTurn();
    int step = 0;
    for (auto _ : state) {
        post({100 + 16 * (step % 8), 100 + 16 * (step / 8 % 8)});
        ++step;
        runLoopTurn();
    }
}
BENCHMARK(BM_ServedPointerMovement)->Unit(benchmark::kMicrosecond);

void BM_OptimizeScreen(benchmark::State& state) {
    std::array<std::uint8_t, ScreenSize> original{};
    fillRandomly(original.data());
    std::array<std::uint8_t, ScreenSize> image{};
    for (auto _ : state) {
        image = original;  // about 0.1 us of the figure: Optimize is not its own inverse
        optimizeScreen(image.data());
        benchmark::DoNotOptimize(image.data());
    }
}
BENCHMARK(BM_OptimizeScreen)->Unit(benchmark::kMicrosecond);

void BM_InvertScreen(benchmark::State& state) {
    std::array<std::uint8_t, ScreenSize> image{};
    fillRandomly(image.data());
    for (auto _ : state) {
        invertScreen(image.data());
        benchmark::DoNotOptimize(image.data());
    }
}
BENCHMARK(BM_InvertScreen)->Unit(benchmark::kMicrosecond);

std::string scratchFile() {
    static const std::string path =
        (std::filesystem::temp_directory_path() / "scrfix-bench-screen.scr").string();
    return path;
}

// Load as the Open command does it: size test, read, copy, redraw of both panes.
void BM_LoadScreenFile(benchmark::State& state) {
    startOnce();
    writeWholeFile(scratchFile(), ScreenBuffer, ScreenSize);
    for (auto _ : state) {
        loadScreenFile(scratchFile());
    }
}
BENCHMARK(BM_LoadScreenFile)->Unit(benchmark::kMicrosecond);

// Save as the Save command does it, over the file last loaded.
void BM_SaveScreenFile(benchmark::State& state) {
    startOnce();
    writeWholeFile(scratchFile(), ScreenBuffer, ScreenSize);
    loadScreenFile(scratchFile());
    for (auto _ : state) {
        saveScreenFile();
    }
    std::filesystem::remove(scratchFile());
}
BENCHMARK(BM_SaveScreenFile)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    // The benchmarks need no display; a caller may still choose one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (programStarted) {
        endProgram();
    }
    return 0;
}
