#include "display/render.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "platform/drawing.h"
#include "platform/images.h"
#include "support/pane_model.h"

namespace {

using Screen = std::array<std::uint8_t, 6912>;
constexpr int Picture = 1;

// Every attribute value three times over the 768 cells, and a bitmap whose
// bytes vary, so every ink and paper of both brightnesses shows set and
// clear pixels.
Screen everyAttributeScreen() {
    Screen screen{};
    std::uint32_t state = 2024;
    for (int i = 0; i < 6144; ++i) {
        state = state * 1103515245u + 12345u;
        screen[i] = static_cast<std::uint8_t>(state >> 16);
    }
    for (int cell = 0; cell < 768; ++cell) {
        screen[6144 + cell] = static_cast<std::uint8_t>(cell * 7);
    }
    return screen;
}

// Draws the screen into a picture of its own size at the settings' scale.
void draw(const Screen& screen, const PaneSettings& settings) {
    ASSERT_NE(createImage(Picture, 256 * settings.scale, 192 * settings.scale), 0);
    ASSERT_NE(startDrawing(imageOutput(Picture)), 0);
    renderPane(screen.data(), settings.mono ? PaneKind::Mono : PaneKind::Colour, settings.column,
               settings.row, settings.grid, settings.scale);
    stopDrawing();
}

ColourValue colourOf(ModelColour colour) {
    return rgb(colour.red, colour.green, colour.blue);
}

std::string describe(const PaneSettings& s) {
    return std::string(s.mono ? "mono" : "colour") + " scale " + std::to_string(s.scale) +
           (s.grid ? " grid" : "") + " highlight " + std::to_string(s.column) + "," +
           std::to_string(s.row);
}

TEST(RenderPane, DrawsEveryPixelAsThePlainModelWorksItOut) {
    const Screen screen = everyAttributeScreen();
    for (const int scale : {1, 2, 3}) {
        for (const bool mono : {false, true}) {
            for (const bool grid : {false, true}) {
                for (const auto& [column, row] :
                     {std::pair{-1, -1}, std::pair{0, 0}, std::pair{31, 23}, std::pair{5, 9}}) {
                    const PaneSettings settings{mono, column, row, grid, scale};
                    SCOPED_TRACE(describe(settings));
                    draw(screen, settings);
                    int wrong = 0;
                    for (int y = 0; y < 192 * scale && wrong < 5; ++y) {
                        for (int x = 0; x < 256 * scale && wrong < 5; ++x) {
                            const ColourValue expected =
                                colourOf(modelPanePixel(screen.data(), settings, x, y));
                            if (imagePixel(Picture, x, y) != expected) {
                                ++wrong;
                                ADD_FAILURE()
                                    << "pixel " << x << "," << y << " is " << std::hex
                                    << imagePixel(Picture, x, y) << ", expected " << expected;
                            }
                        }
                    }
                    freeImage(Picture);
                }
            }
        }
    }
}

// Worked out by hand: cell (6, 3) with attribute 71 (bright, paper 0, ink 7)
// and the bitmap byte 240 in its pixel row 2.
TEST(RenderPane, ACellWorkedOutByHand) {
    Screen screen{};
    screen[6144 + 3 * 32 + 6] = 71;
    // Cell row 3 lies in the first third: pixel row 2 of it is at 256 * 2 + 32 * 3 + 6.
    screen[512 + 96 + 6] = 240;
    const ColourValue white = rgb(255, 255, 255);
    const ColourValue grey = rgb(127, 127, 127);
    const ColourValue black = rgb(0, 0, 0);
    const struct {
        PaneSettings settings;
        ColourValue set;
        ColourValue clear;
    } cases[] = {
        {{false, -1, -1, false, 2}, white, black},
        {{true, -1, -1, false, 2}, grey, black},
        // Highlighted: 255 - 71 = 184 (flash, not bright, paper 7, ink 0).
        {{false, 6, 3, false, 2}, black, grey},
        // The bitmap pane's 7 becomes 248: bright, paper 7, ink 0.
        {{true, 6, 3, false, 2}, black, white},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(describe(c.settings));
        draw(screen, c.settings);
        // Screen row 8 * 3 + 2 = 26 is picture rows 52 and 53; the cell's
        // pixels 0-3 (set) are picture columns 96-103, 4-7 (clear) 104-111.
        for (const int y : {52, 53}) {
            for (int x = 96; x < 104; ++x) {
                EXPECT_EQ(imagePixel(Picture, x, y), c.set) << x << "," << y;
            }
            for (int x = 104; x < 112; ++x) {
                EXPECT_EQ(imagePixel(Picture, x, y), c.clear) << x << "," << y;
            }
        }
        freeImage(Picture);
    }
}

TEST(RenderPane, AttributesThatDifferOnlyInFlashAreDrawnAlike) {
    Screen plain{};
    Screen flashing{};
    for (int cell = 0; cell < 768; ++cell) {
        plain[6144 + cell] = static_cast<std::uint8_t>(cell % 128);
        flashing[6144 + cell] = static_cast<std::uint8_t>(cell % 128 + 128);
    }
    for (int i = 0; i < 6144; ++i) {
        plain[i] = flashing[i] = static_cast<std::uint8_t>(i * 13);
    }
    ASSERT_NE(createImage(2, 256, 192), 0);
    ASSERT_NE(startDrawing(imageOutput(2)), 0);
    renderPane(plain.data(), PaneKind::Colour, -1, -1, false, 1);
    stopDrawing();
    draw(flashing, PaneSettings{});
    for (int y = 0; y < 192; ++y) {
        for (int x = 0; x < 256; ++x) {
            ASSERT_EQ(imagePixel(Picture, x, y), imagePixel(2, x, y)) << x << "," << y;
        }
    }
    freeImage(Picture);
    freeImage(2);
}

}  // namespace
