// The screens inside ZX Spectrum snapshots and tape images, read through
// libspectrum (see snapshot_tape_library.h).
//
// The file's type comes from its extension when that is .sna, .z80, .szx,
// .tap or .tzx (in any case), as identifying a file by its content alone
// can take a real file for another format; any other name is identified by
// libspectrum from the name and the content, and is read when it is one of
// those five types. A compressed file is refused unopened.
//
// A snapshot gives the screen its machine shows: the 6912 bytes at 0x4000,
// in RAM page 5, or in page 7 when the machine pages memory like the 128K
// (the SE too) and bit 3 of the last value written to port 0x7FFD is set.
// On the machines with Timex video modes the second screen (0x6000, port
// 0xFF bit 0) is taken when it is the one shown; a hi-colour or hi-res
// display cannot be held by a screen file and is refused.
//
// A tape gives every data block (standard speed, turbo, pure data, PZX data)
// that holds exactly 6914 bytes: a flag byte, 6912 bytes of screen and a
// checksum byte, in tape order. Neither the flag nor the checksum is checked.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "screen/layout.h"

using ScreenImage = std::array<std::uint8_t, ScreenSize>;

struct SpectrumScreens {
    // In tape order; a snapshot gives one.
    std::vector<ScreenImage> screens;
    // Why no screen can be taken from the file; empty when `screens` holds
    // at least one. Never both.
    std::string problem;
};

// The screens in the `size` bytes at `data`, the contents of the file
// `fileName` (a path may be given: its extension chooses the type, and it
// names the file in the "no screen" reason).
SpectrumScreens screensInSpectrumFile(const std::uint8_t* data, std::size_t size,
                                      const std::string& fileName);
