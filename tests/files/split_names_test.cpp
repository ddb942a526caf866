#include "files/split_names.h"

#include <gtest/gtest.h>

#include <string>

TEST(SplitNames, AreTheFilePartOfThePathWithTheSuffixAdded) {
    const struct {
        std::string path;
        std::string bitmap;
        std::string attributes;
    } cases[] = {
        {"game.scr", "game.scr.screen", "game.scr.attr"},
        {"/home/user/screens/game.scr", "game.scr.screen", "game.scr.attr"},
        {"say \"hi\".scr", "say \"hi\".scr.screen", "say \"hi\".scr.attr"},
        {"/screens/back\\slash.scr", "back\\slash.scr.screen", "back\\slash.scr.attr"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(splitBitmapName(c.path), c.bitmap) << c.path;
        EXPECT_EQ(splitAttributeName(c.path), c.attributes) << c.path;
    }
}
