// Arbitrary bytes as a snapshot or tape for extract, through the same code
// as the command and libspectrum itself: no crash, and either screens or a
// reason, never both. The first byte picks the file's name, so that the
// bytes are read as each of the five types by extension or left to
// libspectrum to identify; the rest is the file.
//
// Seeds: snapshots and tapes written by libspectrum's writers through the
// tests' fixtures (tests/files/snapshot_tape_fixtures.h), each behind its byte.

#include <cstddef>
#include <cstdint>
#include <string>

#include "contract.h"
#include "files/snapshot_tape_screens.h"

namespace {

const char* const Names[] = {"fuzz.sna", "fuzz.z80", "fuzz.szx", "fuzz.tap", "fuzz.tzx", "fuzz"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string name = Names[data[0] % std::size(Names)];
    const SpectrumScreens found = screensInSpectrumFile(data + 1, size - 1, name);
    require(found.screens.empty() != found.problem.empty(), "screens or a reason, never both");
    require(found.screens.size() <= (size - 1) / 6914 + 1, "no more screens than the file holds");
    return 0;
}
