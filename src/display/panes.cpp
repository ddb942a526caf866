#include "display/panes.h"

#include "display/render.h"
#include "platform/drawing.h"
#include "platform/gadgets.h"
#include "screen/screen_buffer.h"

namespace {

// Every screen pixel is a 2 x 2 box on the panes.
constexpr int PaneScale = 2;

}  // namespace

void renderPanes(int column, int row) {
    const bool grid = gadgetState(GridBox) != 0;
    const struct {
        int gadget;
        PaneKind kind;
    } panes[] = {{MonoPane, PaneKind::Mono}, {ColourPane, PaneKind::Colour}};
    for (const auto& pane : panes) {
        if (startDrawing(canvasOutput(pane.gadget)) == 0) {
            continue;
        }
        renderPane(ScreenBuffer, pane.kind, column, row, grid, PaneScale);
        stopDrawing();
    }
}
