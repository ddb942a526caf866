#include "support/screen_pattern.h"

ScreenBytes screenPattern(std::uint32_t seed) {
    ScreenBytes screen{};
    std::uint32_t state = seed;
    for (std::uint8_t& byte : screen) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<std::uint8_t>(state >> 16);
    }
    return screen;
}
