// The drawing primitives with arbitrary 32-bit coordinates and sizes on a
// small off-screen image. After every call the picture is compared with a
// model kept here in plain 64-bit arithmetic:
// - drawBox sets exactly the pixels of its clipped box to its colour;
// - a horizontal or vertical drawLine sets exactly its clipped run;
// - a slanted drawLine changes only pixels inside its bounding box, gives
//   each the line's colour, is one pixel thick, and sets every end point that
//   lies inside the picture;
// - with no drawing in progress (before the first start, after stopDrawing,
//   after the image was freed) the primitives change nothing;
// - the top byte of a colour is ignored.
// A write outside the picture, or into a freed one, is caught by
// AddressSanitizer: the drawing library is built with the same flags.
//
// Each call gets a colour no pixel has yet, so every pixel a call writes
// shows as changed.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <utility>

#include "contract.h"
#include "platform/drawing.h"
#include "platform/images.h"

namespace {

constexpr int ImageNumber = 1;
constexpr int MaxSide = 64;
constexpr int MaxCalls = 64;
constexpr ColourValue White = 0xFFFFFF;
// What the primitives draw with while no drawing is in progress: black,
// which colourOf() never gives.
constexpr ColourValue NotDrawnColour = 0;

// Values that break careless sums and negations.
constexpr std::array<int, 8> Extremes = {INT_MIN,     INT_MIN + 1,     INT_MAX, INT_MAX - 1,
                                         INT_MIN / 2, INT_MAX / 2 + 1, 0,       -1};

// A picture as colours (red in the low byte), row by row. Compared with one
// memcmp(): libFuzzer traces each comparison, and one per pixel would slow
// the run many times.
struct Picture {
    int width = 0;
    int height = 0;
    std::array<ColourValue, MaxSide * MaxSide> pixels{};

    ColourValue& at(std::int64_t x, std::int64_t y) {
        return pixels[static_cast<std::size_t>(y * width + x)];
    }
    bool contains(std::int64_t x, std::int64_t y) const {
        return x >= 0 && x < width && y >= 0 && y < height;
    }
    // Only the first width x height pixels belong to the picture.
    friend bool operator==(const Picture& a, const Picture& b) {
        return a.width == b.width && a.height == b.height &&
               std::memcmp(a.pixels.data(), b.pixels.data(),
                           sizeof(ColourValue) * static_cast<std::size_t>(a.width * a.height)) == 0;
    }
};

// Half-open pixel ranges of the picture, as the model computes them.
struct Span {
    std::int64_t first;
    std::int64_t end;
};

Span clipped(std::int64_t first, std::int64_t end, int side) {
    return {std::max<std::int64_t>(first, 0), std::min<std::int64_t>(end, side)};
}

// ---- The model -----------------------------------------------------------

// Fills the columns and rows of two half-open spans; nothing if either is empty.
__attribute__((no_sanitize("coverage"))) void fill(Picture& picture, Span columns, Span rows,
                                                   ColourValue colour) {
    for (std::int64_t y = rows.first; y < rows.end; ++y) {
        for (std::int64_t x = columns.first; x < columns.end; ++x) {
            picture.at(x, y) = colour;
        }
    }
}

// A negative size extends the box to the left of x or above y.
void modelBox(Picture& picture, std::int64_t x, std::int64_t y, std::int64_t width,
              std::int64_t height, ColourValue colour) {
    if (width < 0) {
        x += width;
        width = -width;
    }
    if (height < 0) {
        y += height;
        height = -height;
    }
    fill(picture, clipped(x, x + width, picture.width), clipped(y, y + height, picture.height),
         colour);
}

// A horizontal or vertical run, both end points included.
void modelRun(Picture& picture, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2,
              ColourValue colour) {
    const Span columns{std::min(x1, x2), std::max(x1, x2) + 1};
    const Span rows{std::min(y1, y2), std::max(y1, y2) + 1};
    fill(picture, clipped(columns.first, columns.end, picture.width),
         clipped(rows.first, rows.end, picture.height), colour);
}

// ---- The picture under test ---------------------------------------------

// The picture of the drawing in progress, read through the image's view of
// its memory; the final check reads it through imagePixel() instead.
__attribute__((no_sanitize("coverage"))) const Picture& drawnPicture() {
    static Picture picture;
    const PictureView view = imagePixels(ImageNumber);
    picture.width = view.width;
    picture.height = view.height;
    for (int y = 0; y < view.height; ++y) {
        for (int x = 0; x < view.width; ++x) {
            picture.at(x, y) = view.colourAt(x, y);
        }
    }
    return picture;
}

__attribute__((no_sanitize("coverage"))) bool imageMatches(const Picture& model) {
    for (int y = 0; y < model.height; ++y) {
        for (int x = 0; x < model.width; ++x) {
            if (imagePixel(ImageNumber, x, y) != model.pixels[y * model.width + x]) {
                return false;
            }
        }
    }
    return true;
}

// ---- Checks --------------------------------------------------------------

// Every pixel that differs from `before` has the colour and lies inside the
// bounding box of the line, and the line is one pixel thick: at most one
// pixel per column or at most one per row. (Which of the two depends on the
// axis it steps along, which may change when the line is clipped first.)
__attribute__((no_sanitize("coverage"))) bool slantedLineKeepsItsPlace(
    const Picture& before, const Picture& after, std::int64_t x1, std::int64_t y1, std::int64_t x2,
    std::int64_t y2, ColourValue colour) {
    std::array<int, MaxSide> perColumn{};
    std::array<int, MaxSide> perRow{};
    bool columnsThin = true;
    bool rowsThin = true;
    for (int y = 0; y < after.height; ++y) {
        for (int x = 0; x < after.width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y * after.width + x);
            if (after.pixels[i] == before.pixels[i]) {
                continue;
            }
            const bool inBox = x >= std::min(x1, x2) && x <= std::max(x1, x2) &&
                               y >= std::min(y1, y2) && y <= std::max(y1, y2);
            if (after.pixels[i] != colour || !inBox) {
                return false;
            }
            columnsThin = columnsThin && ++perColumn[x] == 1;
            rowsThin = rowsThin && ++perRow[y] == 1;
        }
    }
    return columnsThin || rowsThin;
}

// ---- Decoding ------------------------------------------------------------

// A coordinate, biased towards the picture's edges and the ends of the range.
int coordinate(FuzzedDataProvider& input, int side) {
    switch (input.ConsumeIntegralInRange(0, 7)) {
        case 0:
        case 1:
        case 2:
            return input.ConsumeIntegralInRange(-4, side + 4);
        case 3:
            return Extremes[input.ConsumeIntegralInRange<std::size_t>(0, Extremes.size() - 1)];
        case 4:
            return INT_MAX - input.ConsumeIntegralInRange(0, side + 4);
        case 5:
            return INT_MIN + input.ConsumeIntegralInRange(0, side + 4);
        case 6:
            return input.ConsumeIntegralInRange(-(side + 4), -1);
        default:
            return input.ConsumeIntegral<int>();
    }
}

// A size: as a coordinate, but negative as often as positive near the picture.
int size(FuzzedDataProvider& input, int side) {
    if (input.ConsumeBool()) {
        return input.ConsumeIntegralInRange(-(side + 4), side + 4);
    }
    return coordinate(input, side);
}

// Distinct for each call, never white, red never equal to blue (so a swap
// of the two shows), and with a top byte the primitives must ignore.
ColourValue colourOf(int call, FuzzedDataProvider& input) {
    const ColourValue colour = rgb(call + 1, 3 * call + 5, 200 - call);
    return colour | (ColourValue{input.ConsumeIntegral<std::uint8_t>()} << 24);
}

// ---- The run -------------------------------------------------------------

class Run {
  public:
    // Begins with a new image, primitives called before any drawing, and then
    // a drawing in progress.
    explicit Run(FuzzedDataProvider& input) : input_(input) {
        newImage();
        callWithoutDrawing();
        start();
    }

    void step(int call) {
        switch (input_.ConsumeIntegralInRange(0, 15)) {
            case 0:
                stop();
                break;
            case 1:
                start();
                break;
            case 2:
                failedStarts();
                break;
            case 3:
                newImage();
                break;
            case 4:
            case 5:
            case 6:
            case 7:
            case 8:
                box(colourOf(call, input_));
                break;
            case 9:
            case 10:
                bitRow(colourOf(call, input_));
                break;
            default:
                line(colourOf(call, input_));
                break;
        }
    }

    void finish() {
        stopDrawing();
        require(imageMatches(model_), "the image holds what the drawing left in it");
        freeImage(ImageNumber);
    }

  private:
    void newImage() {
        freeImage(ImageNumber);  // a drawing in progress on it ends here
        drawing_ = false;
        if (target_ != 0) {
            callWithoutDrawing();  // must not write into the freed picture
            require(startDrawing(target_) == 0, "a freed image's target cannot be drawn on");
        }
        model_.width = input_.ConsumeIntegralInRange(1, MaxSide);
        model_.height = input_.ConsumeIntegralInRange(1, MaxSide);
        model_.pixels.fill(White);
        require(createImage(ImageNumber, model_.width, model_.height) != 0,
                "a small image can be created");
        target_ = imageOutput(ImageNumber);
        require(target_ != 0, "an image has a target");
    }

    // In a colour no drawn pixel ever has, so that any change these calls
    // make shows in the next start() or in finish().
    void callWithoutDrawing() {
        box(NotDrawnColour);
        bitRow(NotDrawnColour);
        line(NotDrawnColour);
    }

    void start() {
        require(startDrawing(target_) != 0, "drawing on an image can begin");
        drawing_ = true;
        // Calls made with no drawing in progress would show here.
        require(drawnPicture() == model_, "a new drawing finds the picture as it was left");
    }

    void stop() {
        stopDrawing();
        drawing_ = false;
    }

    void failedStarts() {
        if (!drawing_) {
            require(startDrawing(0) == 0, "no drawing begins on target 0");
            require(startDrawing(target_ + 1) == 0, "no drawing begins on an unknown target");
        }
    }

    void box(ColourValue colour) {
        const int x = coordinate(input_, model_.width);
        const int y = coordinate(input_, model_.height);
        const int width = size(input_, model_.width);
        const int height = size(input_, model_.height);
        drawBox(x, y, width, height, colour);
        if (drawing_) {
            modelBox(model_, x, y, width, height, colour & White);
            require(drawnPicture() == model_, "drawBox sets exactly its clipped box");
        }
    }

    // A row of up to four bytes of one-bit pixels, in `colour` and a second
    // colour of this call, against one box a pixel in the model.
    void bitRow(ColourValue colour) {
        const int x = coordinate(input_, model_.width);
        const int y = coordinate(input_, model_.height);
        const int scale = input_.ConsumeIntegralInRange(-3, 10);
        const int count = input_.ConsumeIntegralInRange(1, 4);
        std::array<std::uint8_t, 4> bits{};
        std::array<ColourValue, 4> inks{};
        std::array<ColourValue, 4> papers{};
        for (int j = 0; j < count; ++j) {
            bits[j] = input_.ConsumeIntegral<std::uint8_t>();
            inks[j] = colour;
            papers[j] = colour ^ 0x800000u;  // blue's top bit: no other call has this colour
        }
        drawBitRow(x, y, scale, bits.data(), inks.data(), papers.data(), count);
        if (!drawing_) {
            return;
        }
        for (int j = 0; j < count; ++j) {
            for (int d = 0; d < 8; ++d) {
                const bool set = (bits[j] & (0x80 >> d)) != 0;
                modelBox(model_, x + (8 * std::int64_t{j} + d) * scale, y, scale, scale,
                         (set ? inks[j] : papers[j]) & White);
            }
        }
        require(drawnPicture() == model_, "drawBitRow sets exactly the boxes of its pixels");
    }

    void line(ColourValue colour) {
        const int x1 = coordinate(input_, model_.width);
        const int y1 = coordinate(input_, model_.height);
        const int x2 = input_.ConsumeBool() ? x1 : coordinate(input_, model_.width);
        const int y2 = input_.ConsumeBool() ? y1 : coordinate(input_, model_.height);
        drawLine(x1, y1, x2, y2, colour);
        if (!drawing_) {
            return;
        }
        colour &= White;
        if (x1 == x2 || y1 == y2) {
            modelRun(model_, x1, y1, x2, y2, colour);
            require(drawnPicture() == model_, "a straight drawLine sets exactly its clipped run");
            return;
        }
        const Picture& drawn = drawnPicture();
        require(slantedLineKeepsItsPlace(model_, drawn, x1, y1, x2, y2, colour),
                "a slanted drawLine is one pixel thick and inside its bounding box");
        model_ = drawn;
        for (const auto& [x, y] : {std::pair{x1, y1}, std::pair{x2, y2}}) {
            require(!model_.contains(x, y) || model_.at(x, y) == colour,
                    "drawLine sets both end points");
        }
    }

    FuzzedDataProvider& input_;
    Picture model_;
    DrawingTarget target_ = 0;
    bool drawing_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    Run run(input);
    for (int call = 0; call < MaxCalls && input.remaining_bytes() > 0; ++call) {
        run.step(call);
    }
    run.finish();
    return 0;
}
