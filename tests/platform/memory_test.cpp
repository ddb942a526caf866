#include "platform/memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

TEST(AllocateMemory, GivesAZeroFilledBlock) {
    std::uint8_t* block = allocateMemory(6912);
    ASSERT_NE(block, nullptr);
    for (int offset = 0; offset < 6912; ++offset) {
        ASSERT_EQ(peekByte(block + offset), 0) << "offset " << offset;
    }
    pokeByte(block + 6911, 1);
    EXPECT_EQ(block[6911], 1);
    freeMemory(block);
}

TEST(AllocateMemory, NoBlockForSizesBelowOne) {
    EXPECT_EQ(allocateMemory(0), nullptr);
    EXPECT_EQ(allocateMemory(-1), nullptr);
    EXPECT_EQ(allocateMemory(std::numeric_limits<std::int64_t>::min()), nullptr);
    freeMemory(nullptr);
}

TEST(PokeByte, StoresTheLowEightBits) {
    const struct {
        int value, stored;
    } cases[] = {{44, 44}, {300, 44}, {255, 255}, {256, 0}, {-1, 255}, {-256, 0}};
    std::uint8_t byte = 0;
    for (const auto& c : cases) {
        pokeByte(&byte, c.value);
        EXPECT_EQ(byte, c.stored) << c.value;
        EXPECT_EQ(peekByte(&byte), c.stored) << c.value;
    }
}

TEST(PeekByte, NullAddressIsHarmless) {
    EXPECT_EQ(peekByte(nullptr), 0);
    pokeByte(nullptr, 1);
}
