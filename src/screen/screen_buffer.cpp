#include "screen/screen_buffer.h"

std::uint8_t* ScreenBuffer = nullptr;
