// libspectrum, loaded into the program only when a snapshot or tape is read,
// so that the batch tool starts without it and its many dependencies.
//
// The functions are looked up by name in the library (its file name is
// fixed at build time; the environment variable SCRFIX_LIBSPECTRUM names
// another file instead). Once loaded, the library stays loaded, is
// initialised once, and reports its errors to this binding instead of
// printing them.
#pragma once

#include <libspectrum.h>

#include <string>

// The part of libspectrum that reading screens needs.
struct SpectrumLibrary {
    decltype(&libspectrum_identify_file_raw) identifyFileRaw;
    decltype(&libspectrum_identify_class) identifyClass;
    decltype(&libspectrum_machine_capabilities) machineCapabilities;

    decltype(&libspectrum_snap_alloc) snapAlloc;
    decltype(&libspectrum_snap_free) snapFree;
    decltype(&libspectrum_snap_read) snapRead;
    decltype(&libspectrum_snap_machine) snapMachine;
    decltype(&libspectrum_snap_pages) snapPages;
    decltype(&libspectrum_snap_out_128_memoryport) snapOut128MemoryPort;
    decltype(&libspectrum_snap_out_scld_dec) snapOutScldDec;

    decltype(&libspectrum_tape_alloc) tapeAlloc;
    decltype(&libspectrum_tape_free) tapeFree;
    decltype(&libspectrum_tape_read) tapeRead;
    decltype(&libspectrum_tape_iterator_init) tapeIteratorInit;
    decltype(&libspectrum_tape_iterator_next) tapeIteratorNext;
    decltype(&libspectrum_tape_block_type) tapeBlockType;
    decltype(&libspectrum_tape_block_data) tapeBlockData;
    decltype(&libspectrum_tape_block_data_length) tapeBlockDataLength;

    // The machine capability bits, which the library keeps as variables.
    int capability128Memory;
    int capabilitySeMemory;
    int capabilityTimexVideo;
};

// The library, loaded and initialised on the first call; null when it
// cannot be loaded, with the reason in `problem` (the same on every call).
const SpectrumLibrary* spectrumLibrary(std::string& problem);

// What libspectrum reported since the last call, on one line: its first
// error, or its first warning when it reported no error; empty when it
// reported nothing. Clears what was kept.
std::string takeSpectrumLibraryMessage();
