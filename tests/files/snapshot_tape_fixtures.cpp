#include "files/snapshot_tape_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t PageSize = 0x4000;

libspectrum_byte* newPage(std::uint32_t seed, bool patterned) {
    auto* page = static_cast<libspectrum_byte*>(libspectrum_malloc(PageSize));
    std::uint32_t state = seed * 7919u + 1u;
    for (std::size_t i = 0; i < PageSize; ++i) {
        state = state * 1664525u + 1013904223u;
        page[i] = patterned ? static_cast<libspectrum_byte>(state >> 24) : 0;
    }
    return page;
}

void initialiseOnce() {
    static const bool initialised = [] {
        libspectrum_init();
        return true;
    }();
    (void)initialised;
}

}  // namespace

Bytes bytesOfScreen(const ScreenBytes& screen) {
    return Bytes(screen.begin(), screen.end());
}

Bytes snapshotFile(const SnapshotContents& contents, libspectrum_id_t type) {
    initialiseOnce();
    libspectrum_snap* snap = libspectrum_snap_alloc();
    libspectrum_snap_set_machine(snap, contents.machine);
    const int capabilities = libspectrum_machine_capabilities(contents.machine);
    const bool paged = (capabilities & LIBSPECTRUM_MACHINE_CAPABILITY_128_MEMORY) != 0;
    // A 48K machine's RAM is pages 5, 2 and 0 (0x4000, 0x8000, 0xC000); a 16K one's page 5.
    std::vector<int> pages = {5};
    if (contents.machine != LIBSPECTRUM_MACHINE_16) {
        pages = paged ? std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7} : std::vector<int>{5, 2, 0};
    }
    for (int page : pages) {
        if (page == 7 && contents.withoutPage7) {
            continue;
        }
        libspectrum_snap_set_pages(
            snap, page, newPage(static_cast<std::uint32_t>(page) + 100, contents.patternedRam));
    }
    std::memcpy(libspectrum_snap_pages(snap, 5), contents.normalScreen.data(), 6912);
    if (paged) {
        if (!contents.withoutPage7) {
            std::memcpy(libspectrum_snap_pages(snap, 7), contents.shadowScreen.data(), 6912);
        }
        libspectrum_snap_set_out_128_memoryport(snap, contents.port7ffd);
    }
    if (contents.secondScreen) {
        std::memcpy(libspectrum_snap_pages(snap, 5) + 0x2000, contents.secondScreen->data(), 6912);
    }
    if ((capabilities & LIBSPECTRUM_MACHINE_CAPABILITY_TIMEX_VIDEO) != 0) {
        libspectrum_snap_set_out_scld_dec(snap, contents.timexMode);
    }
    // The stack must be in RAM for a .sna, which keeps the program counter there.
    libspectrum_snap_set_sp(snap, 0xFF00);
    libspectrum_snap_set_pc(snap, 0x8000);
    libspectrum_byte* buffer = nullptr;
    std::size_t length = 0;
    int flags = 0;
    const libspectrum_error error =
        libspectrum_snap_write(&buffer, &length, &flags, snap, type, nullptr, 0);
    libspectrum_snap_free(snap);
    EXPECT_EQ(error, LIBSPECTRUM_ERROR_NONE) << "libspectrum could not write the snapshot";
    Bytes file(buffer, buffer + length);
    libspectrum_free(buffer);
    return file;
}

Bytes tapeFile(const std::vector<TapeBlockContents>& blocks, libspectrum_id_t type) {
    initialiseOnce();
    libspectrum_tape* tape = libspectrum_tape_alloc();
    for (const TapeBlockContents& wanted : blocks) {
        libspectrum_tape_block* block = libspectrum_tape_block_alloc(wanted.type);
        if (wanted.type == LIBSPECTRUM_TAPE_BLOCK_PAUSE) {
            libspectrum_tape_block_set_pause(block, 1000);
            libspectrum_tape_append_block(tape, block);
            continue;
        }
        const std::size_t length = wanted.payload.size() + 2;
        auto* data = static_cast<libspectrum_byte*>(libspectrum_malloc(length));
        data[0] = wanted.flag;
        std::copy(wanted.payload.begin(), wanted.payload.end(), data + 1);
        libspectrum_byte checksum = data[0];
        for (std::uint8_t byte : wanted.payload) {
            checksum ^= byte;
        }
        data[length - 1] = checksum;
        libspectrum_tape_block_set_data(block, data);
        libspectrum_tape_block_set_data_length(block, length);
        libspectrum_tape_block_set_pause(block, 1000);
        if (wanted.type != LIBSPECTRUM_TAPE_BLOCK_ROM) {
            // A faster loader's timings; a pure data block has no pilot or sync.
            if (wanted.type == LIBSPECTRUM_TAPE_BLOCK_TURBO) {
                libspectrum_tape_block_set_pilot_length(block, 1500);
                libspectrum_tape_block_set_pilot_pulses(block, 3000);
                libspectrum_tape_block_set_sync1_length(block, 500);
                libspectrum_tape_block_set_sync2_length(block, 600);
            }
            libspectrum_tape_block_set_bit0_length(block, 600);
            libspectrum_tape_block_set_bit1_length(block, 1200);
            libspectrum_tape_block_set_bits_in_last_byte(block, 8);
        }
        libspectrum_tape_append_block(tape, block);
    }
    libspectrum_byte* buffer = nullptr;
    std::size_t length = 0;
    const libspectrum_error error = libspectrum_tape_write(&buffer, &length, tape, type);
    libspectrum_tape_free(tape);
    EXPECT_EQ(error, LIBSPECTRUM_ERROR_NONE) << "libspectrum could not write the tape";
    Bytes file(buffer, buffer + length);
    libspectrum_free(buffer);
    return file;
}

Bytes headerPayload(const char* name, std::uint16_t length) {
    Bytes header(17, ' ');
    header[0] = 3;  // CODE
    for (std::size_t i = 0; i < 10 && name[i] != '\0'; ++i) {
        header[1 + i] = static_cast<std::uint8_t>(name[i]);
    }
    header[11] = static_cast<std::uint8_t>(length & 0xFF);
    header[12] = static_cast<std::uint8_t>(length >> 8);
    header[13] = 0x00;  // loaded at 16384
    header[14] = 0x40;
    header[15] = 0x00;
    header[16] = 0x80;
    return header;
}
