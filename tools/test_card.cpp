// Writes a test card screen file: colour bars in every ink and paper at both
// brightness levels, fine patterns that show the interleaved row order, and
// the program's name in large letters. Used for the README's screenshot and
// for trying the program by hand:  test_card card.scr

#include <array>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "screen/layout.h"

namespace {

using Image = std::array<std::uint8_t, ScreenSize>;

constexpr std::uint8_t attribute(int ink, int paper, bool bright) {
    return static_cast<std::uint8_t>((bright ? 0x40 : 0) | (paper << 3) | ink);
}

void fillCell(Image& image, int cx, int cy, std::uint8_t attr,
              const std::array<std::uint8_t, 8>& rows) {
    for (int r = 0; r < 8; ++r) {
        image[cellRowOffset(cx, cy, r)] = rows[r];
    }
    image[attributeOffset(cx, cy)] = attr;
}

// Rows 0-3: two bands of bars, each bar four cells wide, paper 0 to 7, the
// second band bright. The lower half of each bar is a fine ink pattern.
void drawBars(Image& image) {
    for (int band = 0; band < 2; ++band) {
        for (int cx = 0; cx < CellColumns; ++cx) {
            const int paper = cx / 4;
            const int ink = 7 - paper;
            const std::uint8_t attr = attribute(ink, paper, band == 1);
            fillCell(image, cx, 2 * band, attr, {0, 0, 0, 0, 0, 0, 0, 0});
            fillCell(image, cx, 2 * band + 1, attr,
                     {0xAA, 0x55, 0xAA, 0x55, 0xFF, 0x00, 0xFF, 0x00});
        }
    }
}

// 5 x 7 capitals, each row's five bits in the low bits, leftmost pixel first.
struct Glyph {
    char letter;
    std::array<std::uint8_t, 7> rows;
};
constexpr Glyph glyphs[] = {
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
};

const Glyph* glyphOf(char letter) {
    for (const Glyph& glyph : glyphs) {
        if (glyph.letter == letter) {
            return &glyph;
        }
    }
    return nullptr;
}

void setPixel(Image& image, int x, int y) {
    image[bitmapOffset(x, y)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
}

// Each letter pixel becomes a 4 x 4 block, so a letter is 20 x 28 pixels.
void drawWord(Image& image, std::string_view word, int left, int top) {
    for (std::size_t i = 0; i < word.size(); ++i) {
        const Glyph* glyph = glyphOf(word[i]);
        for (int row = 0; glyph != nullptr && row < 7; ++row) {
            for (int column = 0; column < 5; ++column) {
                if ((glyph->rows[row] >> (4 - column)) & 1) {
                    for (int d = 0; d < 16; ++d) {
                        setPixel(image, left + 24 * static_cast<int>(i) + 4 * column + d % 4,
                                 top + 4 * row + d / 4);
                    }
                }
            }
        }
    }
}

// Rows 5-11: the name in bright yellow on blue, framed by a chequer border.
void drawTitle(Image& image) {
    for (int cy = 5; cy < 12; ++cy) {
        for (int cx = 0; cx < CellColumns; ++cx) {
            const bool border = cy == 5 || cy == 11;
            fillCell(
                image, cx, cy, attribute(border ? 7 : 6, 1, true),
                border ? std::array<std::uint8_t, 8>{0xCC, 0xCC, 0x33, 0x33, 0xCC, 0xCC, 0x33, 0x33}
                       : std::array<std::uint8_t, 8>{});
        }
    }
    drawWord(image, "SCRFIX", 56, 60);
}

// Rows 13-23: a diagonal sweep and a ramp of patterns, one cell row each, in
// alternating colours, so that the bitmap pane shows the pixels clearly.
void drawPatterns(Image& image) {
    for (int cy = 13; cy < CellRows; ++cy) {
        for (int cx = 0; cx < CellColumns; ++cx) {
            const int ink = 1 + (cx + cy) % 7;
            const int paper = (cy % 2 == 0) ? 0 : 7;
            fillCell(image, cx, cy, attribute(ink == paper ? 2 : ink, paper, cx >= 16), {});
        }
    }
    for (int y = 104; y < 192; ++y) {
        for (int x = 0; x < 256; ++x) {
            const bool diagonal = ((x + y) / 4) % 4 == 0;
            const bool ramp = x < 128 ? ((x ^ y) & (1 << (x / 32))) != 0 : (x * y / 64) % 3 == 0;
            if (y < 144 ? diagonal : ramp) {
                setPixel(image, x, y);
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: test_card OUTPUT.scr\n");
        return 2;
    }
    Image image{};
    drawBars(image);
    drawTitle(image);
    drawPatterns(image);
    std::FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr || std::fwrite(image.data(), 1, image.size(), out) != image.size() ||
        std::fclose(out) != 0) {
        std::fprintf(stderr, "test_card: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
