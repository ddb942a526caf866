// Snapshots and tape images made by libspectrum's own writers, for tests of
// what the program takes out of them.
#pragma once

#include <libspectrum.h>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "support/file_bytes.h"
#include "support/screen_pattern.h"

struct SnapshotContents {
    libspectrum_machine machine = LIBSPECTRUM_MACHINE_48;
    // The screen in RAM page 5 (0x4000 on every machine) and in page 7.
    ScreenBytes normalScreen{};
    ScreenBytes shadowScreen{};
    // The last value written to port 0x7FFD (128K machines only).
    std::uint8_t port7ffd = 0;
    // The Timex display mode (port 0xFF), for the machines that have one.
    std::uint8_t timexMode = 0;
    // The Timex second screen at 0x6000 (page 5, offset 0x2000).
    std::optional<ScreenBytes> secondScreen;
    // Leaves RAM page 7 out of a 128K machine's snapshot.
    bool withoutPage7 = false;
    // False: the RAM around the screens is 0 (a small compressed file).
    bool patternedRam = true;
};

// The snapshot in the format `type` (LIBSPECTRUM_ID_SNAPSHOT_...). Every
// other RAM byte is a pattern (unless asked otherwise), so that a screen
// taken from the wrong place shows.
Bytes snapshotFile(const SnapshotContents& contents, libspectrum_id_t type);

struct TapeBlockContents {
    // LIBSPECTRUM_TAPE_BLOCK_ROM, _TURBO or _PURE_DATA, or _PAUSE (no data).
    libspectrum_tape_type type = LIBSPECTRUM_TAPE_BLOCK_ROM;
    // The bytes between the flag byte and the checksum byte.
    Bytes payload;
    // 0x00 for a header, 0xFF for data.
    std::uint8_t flag = 0xFF;
};

// The tape in the format `type` (LIBSPECTRUM_ID_TAPE_TAP or _TZX); each data
// block gets its flag byte and its checksum.
Bytes tapeFile(const std::vector<TapeBlockContents>& blocks, libspectrum_id_t type);

// The payload of a standard header block naming a CODE file of `length` bytes.
Bytes headerPayload(const char* name, std::uint16_t length);

Bytes bytesOfScreen(const ScreenBytes& screen);
