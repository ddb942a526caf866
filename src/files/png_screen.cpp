#include "files/png_screen.h"

#include <vector>

#include "files/png_file.h"

namespace {

constexpr int LargestScale = 8;
constexpr int HighestOff = 24;
constexpr int LowestLit = 103;
constexpr int LowestBright = 232;
constexpr int CellSide = 8;
constexpr int NoColour = -1;

enum class Level { Off, Far, Lit, Bright };

Level levelOf(int value) {
    if (value <= HighestOff) {
        return Level::Off;
    }
    if (value < LowestLit) {
        return Level::Far;
    }
    return value < LowestBright ? Level::Lit : Level::Bright;
}

std::string plural(int count, const std::string& noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string position(int x, int y) {
    return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

// What one cell shows.
struct CellContent {
    int pixels[8] = {};  // by colour index
    bool bright = false;
    bool notBright = false;
    // The first pixel far from every colour, as "R,G,B"; empty for none.
    std::string farColour;
    // Each pixel's colour index, row by row.
    int colours[CellSide * CellSide] = {};

    int distinctColours() const {
        int count = 0;
        for (int pixelsOfColour : pixels) {
            count += pixelsOfColour > 0 ? 1 : 0;
        }
        return count;
    }
    // Why the cell cannot be encoded; empty when it can.
    std::string problem() const {
        if (!farColour.empty()) {
            return "shows the colour " + farColour + ", far from every Spectrum colour";
        }
        if (distinctColours() > 2) {
            return "shows " + std::to_string(distinctColours()) +
                   " colours, where a cell can show 2";
        }
        if (bright && notBright) {
            return "shows bright and non-bright colours together";
        }
        return {};
    }
};

CellContent cellContent(const std::uint8_t* rgb, int cx, int cy) {
    CellContent cell;
    // Neighbouring pixels mostly repeat a colour: it is sorted once.
    const std::uint8_t* lastPixel = nullptr;
    std::optional<SpectrumColour> colour;
    for (int r = 0; r < CellSide; ++r) {
        for (int c = 0; c < CellSide; ++c) {
            const std::uint8_t* pixel =
                rgb + std::size_t{3} * static_cast<std::size_t>((cy * CellSide + r) * ScreenWidth +
                                                                cx * CellSide + c);
            if (lastPixel == nullptr || pixel[0] != lastPixel[0] || pixel[1] != lastPixel[1] ||
                pixel[2] != lastPixel[2]) {
                colour = spectrumColourOf(pixel[0], pixel[1], pixel[2]);
                lastPixel = pixel;
            }
            if (!colour) {
                if (cell.farColour.empty()) {
                    cell.farColour = std::to_string(pixel[0]) + "," + std::to_string(pixel[1]) +
                                     "," + std::to_string(pixel[2]);
                }
                continue;
            }
            ++cell.pixels[colour->index];
            cell.colours[r * CellSide + c] = colour->index;
            if (colour->index != 0) {
                (colour->bright ? cell.bright : cell.notBright) = true;
            }
        }
    }
    return cell;
}

struct InkAndPaper {
    int ink = NoColour;
    int paper = NoColour;
};

// The encoding of a cell that can be encoded, after the cell on its left
// (NoColour for both at column 0).
InkAndPaper encodeCell(const CellContent& cell, const InkAndPaper& left) {
    int first = NoColour;
    int second = NoColour;
    for (int index = 0; index < 8; ++index) {
        if (cell.pixels[index] > 0) {
            (first == NoColour ? first : second) = index;
        }
    }
    if (second == NoColour) {
        if (first == left.ink) {
            return {first, left.paper};
        }
        const int defaultInk = first == 7 ? 0 : 7;
        return {left.ink != NoColour ? left.ink : defaultInk, first};
    }
    if (left.paper == first || left.paper == second) {
        return {left.paper == first ? second : first, left.paper};
    }
    if (left.ink == first || left.ink == second) {
        return {left.ink, left.ink == first ? second : first};
    }
    // More pixels make the background; `first` is the lower index.
    return cell.pixels[second] > cell.pixels[first] ? InkAndPaper{first, second}
                                                    : InkAndPaper{second, first};
}

void writeCell(std::uint8_t* image, int cx, int cy, const CellContent& cell,
               const InkAndPaper& encoding) {
    for (int r = 0; r < CellSide; ++r) {
        int bits = 0;
        for (int c = 0; c < CellSide; ++c) {
            bits = (bits << 1) | (cell.colours[r * CellSide + c] == encoding.ink ? 1 : 0);
        }
        image[cellRowOffset(cx, cy, r)] = static_cast<std::uint8_t>(bits);
    }
    image[attributeOffset(cx, cy)] =
        static_cast<std::uint8_t>((cell.bright ? 0x40 : 0) | (encoding.paper << 3) | encoding.ink);
}

// The scale a picture of this size is drawn at, 1..8; 0 for none.
int scaleOf(int width, int height) {
    for (int scale = 1; scale <= LargestScale; ++scale) {
        if (width == ScreenWidth * scale && height == ScreenHeight * scale) {
            return scale;
        }
    }
    return 0;
}

// The picture's pixels gathered into screen pixels as they are decoded,
// with the first offence of each kind and how many there are.
class ScreenPixels {
  public:
    ScreenPixels() : rgb_(std::size_t{3} * Pixels), state_(Pixels) {}

    void setScale(int scale) { scale_ = scale; }

    bool take(const PngPixelRun& run) {
        const int sy = run.y / scale_;
        for (int i = 0; i < run.count; ++i) {
            const int x = run.firstX + i * run.stepX;
            const std::uint8_t* pixel = run.rgba + std::size_t{4} * static_cast<std::size_t>(i);
            if (pixel[3] != 255) {
                note(transparent_, x, run.y);
            }
            const int sx = x / scale_;
            const std::size_t at = static_cast<std::size_t>(sy) * ScreenWidth + sx;
            std::uint8_t* kept = rgb_.data() + 3 * at;
            if (state_[at] == Unseen) {
                kept[0] = pixel[0];
                kept[1] = pixel[1];
                kept[2] = pixel[2];
                state_[at] = Seen;
            } else if (state_[at] == Seen &&
                       (kept[0] != pixel[0] || kept[1] != pixel[1] || kept[2] != pixel[2])) {
                state_[at] = Mixed;
                note(mixedBlocks_, sx * scale_, sy * scale_);
            }
        }
        return true;
    }

    // Why the pixels do not make a screen's picture; empty when they may.
    std::string problem() const {
        if (transparent_.count > 0) {
            return "pixel " + position(transparent_.x, transparent_.y) +
                   " is not fully opaque, and a screen has no transparency (" +
                   plural(transparent_.count, "such pixel") + ")";
        }
        if (mixedBlocks_.count > 0) {
            const std::string side = std::to_string(scale_);
            return "enlarged " + side + " times, but the " + side + " x " + side +
                   " block at pixel " + position(mixedBlocks_.x, mixedBlocks_.y) +
                   " is not one colour (" + plural(mixedBlocks_.count, "such block") + ")";
        }
        return {};
    }

    const std::uint8_t* rgb() const { return rgb_.data(); }

  private:
    static constexpr std::size_t Pixels = std::size_t{ScreenWidth} * ScreenHeight;
    enum State : std::uint8_t { Unseen, Seen, Mixed };

    // The first offence in reading order and how many there are.
    struct Offences {
        int count = 0;
        int x = 0;
        int y = 0;
    };

    static void note(Offences& offences, int x, int y) {
        if (offences.count == 0 || y < offences.y || (y == offences.y && x < offences.x)) {
            offences.x = x;
            offences.y = y;
        }
        ++offences.count;
    }

    int scale_ = 1;
    std::vector<std::uint8_t> rgb_;
    std::vector<State> state_;
    Offences transparent_;
    Offences mixedBlocks_;
};

}  // namespace

std::optional<SpectrumColour> spectrumColourOf(std::uint8_t red, std::uint8_t green,
                                               std::uint8_t blue) {
    const Level levels[3] = {levelOf(blue), levelOf(red), levelOf(green)};
    SpectrumColour colour;
    bool lit = false;
    bool bright = false;
    for (int channel = 0; channel < 3; ++channel) {
        switch (levels[channel]) {
            case Level::Off:
                break;
            case Level::Far:
                return std::nullopt;
            case Level::Lit:
            case Level::Bright:
                colour.index |= 1 << channel;
                (levels[channel] == Level::Bright ? bright : lit) = true;
                break;
        }
    }
    if (lit && bright) {
        return std::nullopt;
    }
    colour.bright = bright;
    return colour;
}

PictureScreen screenFromPixels(const std::uint8_t* rgb) {
    PictureScreen screen;
    int failedCells = 0;
    std::string firstFailure;
    for (int cy = 0; cy < CellRows; ++cy) {
        InkAndPaper left;
        for (int cx = 0; cx < CellColumns; ++cx) {
            const CellContent cell = cellContent(rgb, cx, cy);
            const std::string problem = cell.problem();
            if (!problem.empty()) {
                if (failedCells++ == 0) {
                    firstFailure = "cell " + position(cx, cy) + " " + problem;
                }
                continue;
            }
            left = encodeCell(cell, left);
            writeCell(screen.image.data(), cx, cy, cell, left);
        }
    }
    if (failedCells > 0) {
        screen.image.fill(0);
        screen.problem = firstFailure + "; " + plural(failedCells, "cell") +
                         (failedCells == 1 ? " fails" : " fail");
    }
    return screen;
}

PictureScreen screenFromPng(const std::uint8_t* data, std::size_t size) {
    ScreenPixels pixels;
    const PngSizeCheck checkSize = [&pixels](int width, int height) -> std::string {
        const int scale = scaleOf(width, height);
        if (scale == 0) {
            return "a picture of " + std::to_string(width) + " x " + std::to_string(height) +
                   " pixels; a screen's is 256 x 192, or N times that in both directions for N "
                   "from 2 to 8";
        }
        pixels.setScale(scale);
        return {};
    };
    PictureScreen screen;
    screen.problem = decodePng(data, size, checkSize,
                               [&pixels](const PngPixelRun& run) { return pixels.take(run); });
    if (screen.problem.empty()) {
        screen.problem = pixels.problem();
    }
    if (!screen.problem.empty()) {
        return screen;
    }
    return screenFromPixels(pixels.rgb());
}
