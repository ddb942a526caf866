// What the window program spends on its hot paths, on the offscreen platform:
// one full redraw of both panes (against a one-colour fill of the same two
// pictures and against a QPainter port), one served pointer movement end to
// end, the whole-screen operations, and loading and saving a screen file.
//
// Run with --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
// and compare medians of one run: the machine is noisy, the ratios are not.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

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

void BM_RenderPanes(benchmark::State& state, int column, int row, bool grid) {
    startOnce();
    setGrid(grid);
    for (auto _ : state) {
        renderPanes(column, row);
    }
    setGrid(false);
}
BENCHMARK_CAPTURE(BM_RenderPanes, no_highlight, -1, -1, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RenderPanes, highlight, 13, 7, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RenderPanes, grid, -1, -1, true)->Unit(benchmark::kMicrosecond);

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

// The floor: both pictures filled with one colour and shown, as a redraw shows them.
void BM_FillBothPanesWithOneColour(benchmark::State& state) {
    startOnce();
    for (auto _ : state) {
        for (const int pane : {MonoPane, ColourPane}) {
            startDrawing(canvasOutput(pane));
            drawBox(0, 0, 508, 380, rgb(0, 0, 0));
            stopDrawing();
        }
    }
}
BENCHMARK(BM_FillBothPanesWithOneColour)->Unit(benchmark::kMicrosecond);

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
