// The one screen image of the running program, allocated at start-up.
#pragma once

#include <cstdint>

// 6912 bytes: the bitmap, then the attributes. Null until start-up allocates it.
extern std::uint8_t* ScreenBuffer;
