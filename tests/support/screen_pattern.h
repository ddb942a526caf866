// A screen image full of different bytes, for tests that check what a
// program does with every byte of one.
#pragma once

#include <array>
#include <cstdint>

using ScreenBytes = std::array<std::uint8_t, 6912>;

// A screen whose bytes differ from their neighbours, so that a byte changed
// or left alone by mistake shows; `seed` makes other screens.
ScreenBytes screenPattern(std::uint32_t seed);
