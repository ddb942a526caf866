#include "platform/changed_areas.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

using Areas = std::vector<PictureArea>;

TEST(ChangedAreas, MarkedTilesBecomeRowRunsJoinedDownwards) {
    const struct {
        const char* name;
        std::vector<std::array<int, 4>> marks;  // left, top, right, bottom
        Areas expected;
    } cases[] = {
        {"nothing", {}, {}},
        {"one pixel marks its tile", {{{17, 18, 18, 19}}}, {{16, 16, 16, 16}}},
        {"a box over four tiles", {{{15, 15, 17, 17}}}, {{0, 0, 32, 32}}},
        {"tiles at the edge are cut to the picture", {{{100, 70, 101, 71}}}, {{96, 64, 4, 6}}},
        {"two runs of one row",
         {{{0, 0, 1, 1}}, {{64, 0, 65, 1}}},
         {{0, 0, 16, 16}, {64, 0, 16, 16}}},
        {"a column of equal runs is one area",
         {{{16, 0, 40, 1}}, {{16, 20, 40, 21}}, {{16, 33, 40, 34}}},
         {{16, 0, 32, 48}}},
        {"runs of other widths stay apart",
         {{{16, 0, 40, 1}}, {{16, 20, 60, 21}}},
         {{16, 0, 32, 16}, {16, 16, 48, 16}}},
        {"everything", {{{0, 0, 100, 70}}}, {{0, 0, 100, 70}}},
    };
    for (const auto& c : cases) {
        ChangedAreas changes(100, 70);
        for (const auto& m : c.marks) {
            changes.mark(m[0], m[1], m[2], m[3]);
        }
        EXPECT_EQ(changes.take(), c.expected) << c.name;
        EXPECT_EQ(changes.take(), Areas{}) << c.name << ": taken twice";
    }
}

// With the picture as it was last shown, a marked tile is reported only when
// its pixels differ, and the copy takes them.
TEST(ChangedAreas, TilesAsTheyWereShownAreLeftOut) {
    constexpr int Width = 40;
    constexpr int Height = 20;
    std::vector<std::uint32_t> pixels(std::size_t{Width} * Height, 7);
    std::vector<std::uint32_t> shown = pixels;
    pixels[3 * Width + 35] = 9;  // in tile (2, 0), which is cut to 8 x 16
    ChangedAreas changes(Width, Height);
    changes.mark(0, 0, Width, Height);
    EXPECT_EQ(changes.take(pixels.data(), shown.data(), Width), (Areas{{32, 0, 8, 16}}));
    EXPECT_EQ(shown, pixels);

    changes.mark(0, 0, Width, Height);
    EXPECT_EQ(changes.take(pixels.data(), shown.data(), Width), Areas{});
}

}  // namespace
