// Which parts of a picture a drawing changed (internal to the services
// layer), so that a canvas passes only those to the window system.
//
// The picture is cut into tiles of 16 x 16 pixels, one cell of a pane;
// a change anywhere in a tile marks the whole tile.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A rectangle of a picture, in its pixels.
struct PictureArea {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const PictureArea&, const PictureArea&) = default;
};

class ChangedAreas {
  public:
    static constexpr int TileSide = 16;

    ChangedAreas(int width, int height);

    // Marks the pixels left <= x < right, top <= y < bottom as changed;
    // they must lie inside the picture and be at least one pixel.
    void mark(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom);

    // The changed tiles as rectangles inside the picture: runs of tiles
    // along a row, and runs of equal rows joined into one; then nothing is
    // marked any more. With `lastShown`, a copy of the picture as it was
    // last shown (same size and stride as `pixels`), a marked tile whose
    // pixels are all as shown is left out, as when a drawing wrote over a
    // pixel and then gave it its old colour back, and the copy takes the
    // new pixels of every tile reported.
    std::vector<PictureArea> take(const std::uint32_t* pixels = nullptr,
                                  std::uint32_t* lastShown = nullptr, std::ptrdiff_t stride = 0);

  private:
    // Unmarks the marked tiles of tile row `row` whose pixels are all as in
    // `lastShown`, and brings the copy up to date for the others.
    void keepOnlyDifferingTiles(int row, const std::uint32_t* pixels, std::uint32_t* lastShown,
                                std::ptrdiff_t stride);

    int width_;
    int height_;
    int across_;
    int down_;
    bool any_ = false;
    std::vector<std::uint8_t> tiles_;           // 1 for a changed tile, row by row
    std::vector<std::uint8_t> differingTiles_;  // of one tile row, kept from call to call
};
