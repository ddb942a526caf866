#include "platform/changed_areas.h"

#include <algorithm>
#include <iterator>

ChangedAreas::ChangedAreas(int width, int height)
    : width_(width),
      height_(height),
      across_((width + TileSide - 1) / TileSide),
      down_((height + TileSide - 1) / TileSide),
      tiles_(static_cast<std::size_t>(across_) * static_cast<std::size_t>(down_), 0) {}

void ChangedAreas::mark(std::int64_t left, std::int64_t top, std::int64_t right,
                        std::int64_t bottom) {
    const auto firstColumn = static_cast<int>(left / TileSide);
    const auto lastColumn = static_cast<int>((right - 1) / TileSide);
    for (auto row = static_cast<int>(top / TileSide); row <= (bottom - 1) / TileSide; ++row) {
        std::uint8_t* tiles = tiles_.data() + static_cast<std::size_t>(row) * across_;
        std::fill(tiles + firstColumn, tiles + lastColumn + 1, std::uint8_t{1});
    }
    any_ = true;
}

void ChangedAreas::keepOnlyDifferingTiles(int row, const std::uint32_t* pixels,
                                          std::uint32_t* lastShown, std::ptrdiff_t stride) {
    std::uint8_t* tiles = tiles_.data() + static_cast<std::size_t>(row) * across_;
    const auto first = std::find(tiles, tiles + across_, std::uint8_t{1}) - tiles;
    if (first == across_) {
        return;
    }
    const auto last = across_ - 1 -
                      (std::find(std::make_reverse_iterator(tiles + across_),
                                 std::make_reverse_iterator(tiles), std::uint8_t{1}) -
                       std::make_reverse_iterator(tiles + across_));
    // Whole pixel rows first: after a redraw most of them are as they were.
    const std::ptrdiff_t left = first * TileSide;
    const std::ptrdiff_t right = std::min<std::ptrdiff_t>((last + 1) * TileSide, width_);
    std::vector<std::uint8_t>& differs = differingTiles_;
    differs.assign(static_cast<std::size_t>(across_), 0);
    const int bottom = std::min((row + 1) * TileSide, height_);
    for (int y = row * TileSide; y < bottom; ++y) {
        const std::uint32_t* now = pixels + y * stride;
        const std::uint32_t* shown = lastShown + y * stride;
        if (std::equal(now + left, now + right, shown + left)) {
            continue;
        }
        for (auto column = first; column <= last; ++column) {
            const std::ptrdiff_t from = column * TileSide;
            const std::ptrdiff_t to = std::min<std::ptrdiff_t>(from + TileSide, width_);
            if (tiles[column] != 0 && !std::equal(now + from, now + to, shown + from)) {
                differs[static_cast<std::size_t>(column)] = 1;
            }
        }
    }
    for (auto column = first; column <= last; ++column) {
        tiles[column] = differs[static_cast<std::size_t>(column)];
        if (tiles[column] == 0) {
            continue;
        }
        const std::ptrdiff_t from = column * TileSide;
        const std::ptrdiff_t width = std::min<std::ptrdiff_t>(TileSide, width_ - from);
        for (int y = row * TileSide; y < bottom; ++y) {
            std::copy_n(pixels + y * stride + from, width, lastShown + y * stride + from);
        }
    }
}

std::vector<PictureArea> ChangedAreas::take(const std::uint32_t* pixels, std::uint32_t* lastShown,
                                            std::ptrdiff_t stride) {
    std::vector<PictureArea> areas;
    if (!any_) {
        return areas;
    }
    if (lastShown != nullptr) {
        for (int row = 0; row < down_; ++row) {
            keepOnlyDifferingTiles(row, pixels, lastShown, stride);
        }
    }
    // The runs of each tile row; a run just below an area of the same
    // columns makes that area taller instead.
    for (int row = 0; row < down_; ++row) {
        std::uint8_t* tiles = tiles_.data() + static_cast<std::size_t>(row) * across_;
        for (int column = 0; column < across_;) {
            if (tiles[column] == 0) {
                ++column;
                continue;
            }
            const int first = column;
            while (column < across_ && tiles[column] != 0) {
                tiles[column++] = 0;
            }
            const int y = row * TileSide;
            PictureArea area{first * TileSide, y,
                             std::min(column * TileSide, width_) - first * TileSide,
                             std::min(y + TileSide, height_) - y};
            const auto above = std::find_if(areas.begin(), areas.end(), [&](const PictureArea& a) {
                return a.x == area.x && a.width == area.width && a.y + a.height == y;
            });
            if (above != areas.end()) {
                above->height += area.height;
            } else {
                areas.push_back(area);
            }
        }
    }
    any_ = false;
    return areas;
}
