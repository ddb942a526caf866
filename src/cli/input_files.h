// Reading the files a command works on.
//
// A screen input is a screen file of 6912 bytes, or the same 6912 bytes
// behind a valid +3DOS header (7040 bytes in all). Split inputs are a bitmap
// file of 6144 bytes and an attribute file of 768 bytes. Each reader gives
// either the bytes or the reason the file cannot be used, never part of it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "screen/layout.h"

struct ScreenInput {
    std::array<std::uint8_t, ScreenSize> image{};
    // The +3DOS header the image came behind; empty for a plain screen file.
    std::vector<std::uint8_t> header;
    // Why the file is not a screen; empty when it is one.
    std::string problem;
};

ScreenInput readScreenInput(const std::string& path);

// A file that must hold exactly `size` bytes; `kind` names it in the reason
// ("a bitmap file"). `problem` is set, and `bytes` empty, when it does not.
struct SizedInput {
    std::vector<std::uint8_t> bytes;
    std::string problem;
};

SizedInput readSizedInput(const std::string& path, std::int64_t size, const std::string& kind);

// A file read whole when it holds at most `largest` bytes; `kind` names what
// it should be ("a snapshot or tape") in the reason for a larger one.
// `problem` is set, and `bytes` empty, when it cannot be read.
SizedInput readWholeInput(const std::string& path, std::int64_t largest, const std::string& kind);
