// The drawing service: one active drawing at a time, on any picture, with
// primitives that write straight into its memory and note which tiles of it
// they changed.

#include "platform/drawing.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/pictures.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace {

using picture_pixels::pixelOf;

// The picture of the drawing in progress, kept by the picture store; empty
// while no drawing is active.
const picture_detail::PictureMemory& activeDrawing = picture_detail::pictureBeingDrawn();

bool drawingActive() {
    return activeDrawing.pixels != nullptr;
}

// Sets `count` pixels from `row` to `pixel`; true when any of them had
// another colour before.
bool fillRun(std::uint32_t* row, std::ptrdiff_t count, std::uint32_t pixel) {
    std::uint32_t difference = 0;
    for (std::ptrdiff_t i = 0; i < count; ++i) {
        difference |= row[i] ^ pixel;
        row[i] = pixel;
    }
    return difference != 0;
}

// Fills left <= px < right, top <= py < bottom, cut to the picture. The bounds
// are 64-bit: sums and differences of any 32-bit arguments fit them.
void fillClipped(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                 std::uint32_t pixel) {
    left = std::max<std::int64_t>(left, 0);
    top = std::max<std::int64_t>(top, 0);
    right = std::min<std::int64_t>(right, activeDrawing.width);
    bottom = std::min<std::int64_t>(bottom, activeDrawing.height);
    if (left >= right || top >= bottom) {
        return;  // also when the box lies wholly outside the picture
    }
    bool changed = false;
    for (std::int64_t y = top; y < bottom; ++y) {
        changed =
            fillRun(activeDrawing.pixels + y * activeDrawing.stride + left, right - left, pixel) ||
            changed;
    }
    if (changed) {
        activeDrawing.changes->mark(left, top, right, bottom);
    }
}

void setPixel(std::int64_t x, std::int64_t y, std::uint32_t pixel) {
    if (x >= 0 && x < activeDrawing.width && y >= 0 && y < activeDrawing.height) {
        std::uint32_t& target = activeDrawing.pixels[y * activeDrawing.stride + x];
        if (target != pixel) {
            target = pixel;
            activeDrawing.changes->mark(x, y, x + 1, y + 1);
        }
    }
}

// A box with a negative size extends to the left of x or above y.
void fillBox(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height,
             std::uint32_t pixel) {
    if (width < 0) {
        x += width;
        width = -width;
    }
    if (height < 0) {
        y += height;
        height = -height;
    }
    fillClipped(x, y, x + width, y + height, pixel);
}

// A line that is neither horizontal nor vertical: the pixels of the whole
// line, one per step along its longer axis, that lie inside the picture. Only
// the steps whose coordinate on the longer axis is inside the picture are
// walked, so the work is bounded by the picture's size whatever the end points.
void drawSlantedLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2,
                     std::uint32_t pixel) {
    const bool alongX = std::llabs(x2 - x1) >= std::llabs(y2 - y1);
    // a is the longer axis, b the shorter one.
    const std::int64_t a1 = alongX ? x1 : y1;
    const std::int64_t b1 = alongX ? y1 : x1;
    const std::int64_t da = (alongX ? x2 : y2) - a1;
    const std::int64_t db = (alongX ? y2 : x2) - b1;
    const std::int64_t aSize = alongX ? activeDrawing.width : activeDrawing.height;
    const std::int64_t aStep = da < 0 ? -1 : 1;
    const std::int64_t bStep = db < 0 ? -1 : 1;
    // Both below 2^32, so steps * rise + steps / 2 stays below 2^64.
    const std::uint64_t steps = static_cast<std::uint64_t>(std::llabs(da));
    const std::uint64_t rise = static_cast<std::uint64_t>(std::llabs(db));

    // Steps k with 0 <= a1 + aStep * k <= aSize - 1.
    std::int64_t first = aStep > 0 ? -a1 : a1 - (aSize - 1);
    std::int64_t last = aStep > 0 ? aSize - 1 - a1 : a1;
    first = std::max<std::int64_t>(first, 0);
    last = std::min<std::int64_t>(last, static_cast<std::int64_t>(steps));
    for (std::int64_t k = first; k <= last; ++k) {
        // The shorter axis' offset at step k, rounded to the nearest pixel.
        const auto offset =
            static_cast<std::int64_t>((static_cast<std::uint64_t>(k) * rise + steps / 2) / steps);
        const std::int64_t a = a1 + aStep * k;
        const std::int64_t b = b1 + bStep * offset;
        setPixel(alongX ? a : b, alongX ? b : a, pixel);
    }
}

// ---- Rows of one-bit pixels ----------------------------------------------

// The leftmost `Scale` x `Scale` boxes of a byte: bit 7 - d of it decides the
// colour of the pixels d * Scale .. d * Scale + Scale - 1 of each row.
template <int Scale>
struct ByteLanes {
    std::uint32_t bit[8 * Scale];
    constexpr ByteLanes() : bit() {
        for (int i = 0; i < 8 * Scale; ++i) {
            bit[i] = 0x80u >> (i / Scale);
        }
    }
};

// Writes the Scale rows of the boxes of `count` bytes, which lie inside the
// picture. The boxes from the first byte whose pixels changed to the last
// are marked, once. Written so that the compiler turns each row of a byte
// into a few vector operations: the byte's row of pixels is worked out once
// into a buffer of its own, which no picture row can overlap, and stored
// into each of the Scale rows.
template <int Scale>
[[gnu::always_inline]] inline void drawBitRowInside(std::int64_t x, std::int64_t y,
                                                    const std::uint8_t* bits,
                                                    const ColourValue* inks,
                                                    const ColourValue* papers, int count) {
    static constexpr ByteLanes<Scale> lanes;
    constexpr int Width = 8 * Scale;
    std::uint32_t* const top = activeDrawing.pixels + y * activeDrawing.stride + x;
    int firstChanged = count;
    int lastChanged = -1;
    for (int j = 0; j < count; ++j) {
        const std::uint32_t ink = pixelOf(inks[j]);
        const std::uint32_t paper = pixelOf(papers[j]);
        const std::uint32_t byte = bits[j];
        std::uint32_t pixels[Width];
        for (int i = 0; i < Width; ++i) {
            const std::uint32_t set = (byte & lanes.bit[i]) != 0 ? ~0u : 0u;
            pixels[i] = paper ^ ((ink ^ paper) & set);
        }
        std::uint32_t difference = 0;
        for (int r = 0; r < Scale; ++r) {
            std::uint32_t* const line =
                top + r * activeDrawing.stride + static_cast<std::ptrdiff_t>(j) * Width;
            for (int i = 0; i < Width; ++i) {
                difference |= line[i] ^ pixels[i];
                line[i] = pixels[i];
            }
        }
        if (difference != 0) {
            firstChanged = std::min(firstChanged, j);
            lastChanged = j;
        }
    }
    if (lastChanged >= 0) {
        activeDrawing.changes->mark(x + std::int64_t{firstChanged} * Width, y,
                                    x + (std::int64_t{lastChanged} + 1) * Width, y + Scale);
    }
}

using InsideRowDrawer = void (*)(std::int64_t, std::int64_t, const std::uint8_t*,
                                 const ColourValue*, const ColourValue*, int);

// The same loop compiled twice: for any x86-64 processor, and for those with
// AVX2, whose vectors hold twice the pixels.
template <int Scale>
void drawBitRowInsideAnywhere(std::int64_t x, std::int64_t y, const std::uint8_t* bits,
                              const ColourValue* inks, const ColourValue* papers, int count) {
    drawBitRowInside<Scale>(x, y, bits, inks, papers, count);
}

#if defined(__x86_64__) && defined(__GNUC__)
template <int Scale>
[[gnu::target("avx2")]] void drawBitRowInsideAvx2(std::int64_t x, std::int64_t y,
                                                  const std::uint8_t* bits, const ColourValue* inks,
                                                  const ColourValue* papers, int count) {
    drawBitRowInside<Scale>(x, y, bits, inks, papers, count);
}

// The panes' scale, written out for AVX2: a byte's 16 pixels are two
// vectors, chosen lane by lane between ink and paper by the byte's bits, and
// stored into both rows; one test per byte tells whether any pixel of its
// box had another colour.
[[gnu::target("avx2")]] void drawBitRowInsideAvx2Scale2(std::int64_t x, std::int64_t y,
                                                        const std::uint8_t* bits,
                                                        const ColourValue* inks,
                                                        const ColourValue* papers, int count) {
    const __m256i leftBits = _mm256_setr_epi32(0x80, 0x80, 0x40, 0x40, 0x20, 0x20, 0x10, 0x10);
    const __m256i rightBits = _mm256_setr_epi32(0x08, 0x08, 0x04, 0x04, 0x02, 0x02, 0x01, 0x01);
    std::uint32_t* const top = activeDrawing.pixels + y * activeDrawing.stride + x;
    const std::ptrdiff_t stride = activeDrawing.stride;
    int firstChanged = count;
    int lastChanged = -1;
    for (int j = 0; j < count; ++j) {
        const __m256i ink = _mm256_set1_epi32(static_cast<int>(pixelOf(inks[j])));
        const __m256i paper = _mm256_set1_epi32(static_cast<int>(pixelOf(papers[j])));
        const __m256i byte = _mm256_set1_epi32(bits[j]);
        const __m256i left = _mm256_blendv_epi8(
            paper, ink, _mm256_cmpeq_epi32(_mm256_and_si256(byte, leftBits), leftBits));
        const __m256i right = _mm256_blendv_epi8(
            paper, ink, _mm256_cmpeq_epi32(_mm256_and_si256(byte, rightBits), rightBits));
        auto* const upper = reinterpret_cast<__m256i*>(top + std::ptrdiff_t{16} * j);
        auto* const lower = reinterpret_cast<__m256i*>(top + stride + std::ptrdiff_t{16} * j);
        const __m256i difference = _mm256_or_si256(
            _mm256_or_si256(_mm256_xor_si256(_mm256_loadu_si256(upper), left),
                            _mm256_xor_si256(_mm256_loadu_si256(upper + 1), right)),
            _mm256_or_si256(_mm256_xor_si256(_mm256_loadu_si256(lower), left),
                            _mm256_xor_si256(_mm256_loadu_si256(lower + 1), right)));
        _mm256_storeu_si256(upper, left);
        _mm256_storeu_si256(upper + 1, right);
        _mm256_storeu_si256(lower, left);
        _mm256_storeu_si256(lower + 1, right);
        if (_mm256_testz_si256(difference, difference) == 0) {
            firstChanged = std::min(firstChanged, j);
            lastChanged = j;
        }
    }
    if (lastChanged >= 0) {
        activeDrawing.changes->mark(x + std::int64_t{firstChanged} * 16, y,
                                    x + (std::int64_t{lastChanged} + 1) * 16, y + 2);
    }
}

bool processorHasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2") != 0;
    return has;
}
#endif

bool baselineLoopsOnly = false;

// A loop of its own for each scale from 1 to 8; none for another scale.
InsideRowDrawer insideRowDrawer(int scale) {
    static constexpr InsideRowDrawer anywhere[] = {
        nullptr,
        drawBitRowInsideAnywhere<1>,
        drawBitRowInsideAnywhere<2>,
        drawBitRowInsideAnywhere<3>,
        drawBitRowInsideAnywhere<4>,
        drawBitRowInsideAnywhere<5>,
        drawBitRowInsideAnywhere<6>,
        drawBitRowInsideAnywhere<7>,
        drawBitRowInsideAnywhere<8>,
    };
    if (scale < 1 || scale > 8) {
        return nullptr;
    }
#if defined(__x86_64__) && defined(__GNUC__)
    static constexpr InsideRowDrawer withAvx2[] = {
        nullptr,
        drawBitRowInsideAvx2<1>,
        drawBitRowInsideAvx2Scale2,
        drawBitRowInsideAvx2<3>,
        drawBitRowInsideAvx2<4>,
        drawBitRowInsideAvx2<5>,
        drawBitRowInsideAvx2<6>,
        drawBitRowInsideAvx2<7>,
        drawBitRowInsideAvx2<8>,
    };
    if (processorHasAvx2() && !baselineLoopsOnly) {
        return withAvx2[scale];
    }
#endif
    return anywhere[scale];
}

// The boxes of bytes from `first` on, one by one as drawBox() draws them.
void drawBitRowBoxByBox(std::int64_t x, std::int64_t y, std::int64_t scale,
                        const std::uint8_t* bits, const ColourValue* inks,
                        const ColourValue* papers, int first, int count) {
    for (int j = first; j < count; ++j) {
        for (int d = 0; d < 8; ++d) {
            const bool set = (bits[j] & (0x80 >> d)) != 0;
            fillBox(x + (8 * std::int64_t{j} + d) * scale, y, scale, scale,
                    pixelOf(set ? inks[j] : papers[j]));
        }
    }
}

}  // namespace

namespace drawing_detail {

void useBaselineLoopsOnly(bool only) {
    baselineLoopsOnly = only;
}

}  // namespace drawing_detail

// One drawing at a time: one still in progress ends here.
int startDrawing(DrawingTarget target) {
    return picture_detail::beginDrawingOn(target) ? 1 : 0;
}

void drawBox(int x, int y, int width, int height, ColourValue colour) {
    if (drawingActive()) {
        fillBox(x, y, width, height, pixelOf(colour));
    }
}

void drawBitRow(int x, int y, int scale, const std::uint8_t* bits, const ColourValue* inks,
                const ColourValue* papers, int count) {
    if (!drawingActive() || count <= 0) {
        return;
    }
    // The bytes whose boxes lie wholly inside the picture take the fast way.
    int inside = 0;
    const InsideRowDrawer drawer = insideRowDrawer(scale);
    if (drawer != nullptr && x >= 0 && y >= 0 && y + std::int64_t{scale} <= activeDrawing.height) {
        const std::int64_t room = (activeDrawing.width - x) / (8 * std::int64_t{scale});
        inside = static_cast<int>(std::clamp<std::int64_t>(room, 0, count));
        drawer(x, y, bits, inks, papers, inside);
    }
    drawBitRowBoxByBox(x, y, scale, bits, inks, papers, inside, count);
}

void drawLine(int x1, int y1, int x2, int y2, ColourValue colour) {
    if (!drawingActive()) {
        return;
    }
    const std::uint32_t pixel = pixelOf(colour);
    const std::int64_t left = std::min(x1, x2);
    const std::int64_t right = std::max(x1, x2);
    const std::int64_t top = std::min(y1, y2);
    const std::int64_t bottom = std::max(y1, y2);
    // Runs include both end points, hence the + 1 on the exclusive limit.
    if (y1 == y2) {
        fillClipped(left, top, right + 1, top + 1, pixel);
    } else if (x1 == x2) {
        fillClipped(left, top, left + 1, bottom + 1, pixel);
    } else {
        drawSlantedLine(x1, y1, x2, y2, pixel);
    }
}

void stopDrawing() {
    picture_detail::endDrawing();
}
