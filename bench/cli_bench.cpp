// `scrfix-cli optimize --in-place` over 10,000 screen files in one run: the
// time of the whole process, reading, optimizing and rewriting every file.
// `extract` over 1,000 snapshots and tapes written by libspectrum, and
// `from-png` over 1,000 pictures written by `png`, each in one run.

#include <benchmark/benchmark.h>
#include <libspectrum.h>

#include <cstring>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "support/run_program.h"

namespace fs = std::filesystem;

namespace {

constexpr int ScreenFiles = 10000;
constexpr int ScreenSize = 6912;

// A folder of distinct screen files, removed when the benchmark ends.
class ScreenFolder {
  public:
    ScreenFolder() {
        std::random_device random;
        folder_ = fs::temp_directory_path() / ("scrfix-cli-bench-" + std::to_string(random()));
        fs::create_directory(folder_);
        std::mt19937 generator(1);
        std::vector<char> screen(ScreenSize);
        for (int i = 0; i < ScreenFiles; ++i) {
            for (char& byte : screen) {
                byte = static_cast<char>(generator());
            }
            char name[32];
            std::snprintf(name, sizeof name, "screen%05d.scr", i);
            std::ofstream(folder_ / name, std::ios::binary).write(screen.data(), ScreenSize);
            names_.emplace_back(name);
        }
    }
    ~ScreenFolder() { fs::remove_all(folder_); }

    const fs::path& folder() const { return folder_; }
    const std::vector<std::string>& names() const { return names_; }

  private:
    fs::path folder_;
    std::vector<std::string> names_;
};

void OptimizeInPlace(benchmark::State& state) {
    const ScreenFolder screens;
    std::vector<std::string> arguments{"optimize", "--in-place"};
    arguments.insert(arguments.end(), screens.names().begin(), screens.names().end());
    for (auto _ : state) {
        if (runProgram(SCRFIX_CLI_PATH, arguments, screens.folder(), 3600).exitCode != 0) {
            state.SkipWithError("scrfix-cli failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * ScreenFiles);
}
BENCHMARK(OptimizeInPlace)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

constexpr int ImportFiles = 1000;

// A file of libspectrum's writing: a 128K .z80 snapshot (even numbers) or a
// .tap tape with a header and a screen (odd numbers), of distinct screens.
std::vector<std::uint8_t> spectrumFile(int number, std::mt19937& generator) {
    libspectrum_byte* buffer = nullptr;
    std::size_t length = 0;
    std::vector<libspectrum_byte> screen(ScreenSize);
    for (libspectrum_byte& byte : screen) {
        byte = static_cast<libspectrum_byte>(generator());
    }
    if (number % 2 == 0) {
        libspectrum_snap* snap = libspectrum_snap_alloc();
        libspectrum_snap_set_machine(snap, LIBSPECTRUM_MACHINE_128);
        for (int page = 0; page < 8; ++page) {
            auto* memory = static_cast<libspectrum_byte*>(libspectrum_malloc0_n(0x4000, 1));
            if (page == 5) {
                std::memcpy(memory, screen.data(), ScreenSize);
            }
            libspectrum_snap_set_pages(snap, page, memory);
        }
        int flags = 0;
        libspectrum_snap_write(&buffer, &length, &flags, snap, LIBSPECTRUM_ID_SNAPSHOT_Z80, nullptr,
                               0);
        libspectrum_snap_free(snap);
    } else {
        libspectrum_tape* tape = libspectrum_tape_alloc();
        for (const std::size_t size : {std::size_t{17}, std::size_t{ScreenSize}}) {
            libspectrum_tape_block* block =
                libspectrum_tape_block_alloc(LIBSPECTRUM_TAPE_BLOCK_ROM);
            auto* data = static_cast<libspectrum_byte*>(libspectrum_malloc0_n(size + 2, 1));
            data[0] = size == 17 ? 0x00 : 0xFF;
            if (size == ScreenSize) {
                std::memcpy(data + 1, screen.data(), ScreenSize);
            }
            libspectrum_tape_block_set_data(block, data);
            libspectrum_tape_block_set_data_length(block, size + 2);
            libspectrum_tape_append_block(tape, block);
        }
        libspectrum_tape_write(&buffer, &length, tape, LIBSPECTRUM_ID_TAPE_TAP);
        libspectrum_tape_free(tape);
    }
    std::vector<std::uint8_t> file(buffer, buffer + length);
    libspectrum_free(buffer);
    return file;
}

// A folder of snapshots and tapes, and one of PNG pictures (made by png from
// screens), removed when the benchmark ends.
class ImportFolder {
  public:
    explicit ImportFolder(bool pictures) {
        std::random_device random;
        folder_ = fs::temp_directory_path() / ("scrfix-cli-import-" + std::to_string(random()));
        fs::create_directories(folder_ / "out");
        std::mt19937 generator(2);
        libspectrum_init();
        std::vector<std::string> screens;
        for (int i = 0; i < ImportFiles; ++i) {
            char name[32];
            if (pictures) {
                std::snprintf(name, sizeof name, "picture%04d.scr", i);
                std::vector<char> screen(ScreenSize);
                for (char& byte : screen) {
                    byte = static_cast<char>(generator());
                }
                std::ofstream(folder_ / name, std::ios::binary).write(screen.data(), ScreenSize);
                screens.emplace_back(name);
                names_.push_back(std::string(name) + ".png");
                continue;
            }
            std::snprintf(name, sizeof name, i % 2 == 0 ? "game%04d.z80" : "game%04d.tap", i);
            const std::vector<std::uint8_t> file = spectrumFile(i, generator);
            std::ofstream(folder_ / name, std::ios::binary)
                .write(reinterpret_cast<const char*>(file.data()),
                       static_cast<std::streamsize>(file.size()));
            names_.emplace_back(name);
        }
        if (pictures) {
            std::vector<std::string> arguments{"png"};
            arguments.insert(arguments.end(), screens.begin(), screens.end());
            runProgram(SCRFIX_CLI_PATH, arguments, folder_, 3600);
        }
    }
    ~ImportFolder() { fs::remove_all(folder_); }

    const fs::path& folder() const { return folder_; }
    const std::vector<std::string>& names() const { return names_; }

  private:
    fs::path folder_;
    std::vector<std::string> names_;
};

void runImport(benchmark::State& state, const char* command, bool pictures) {
    const ImportFolder files(pictures);
    std::vector<std::string> arguments{command, "-d", "out"};
    arguments.insert(arguments.end(), files.names().begin(), files.names().end());
    for (auto _ : state) {
        if (runProgram(SCRFIX_CLI_PATH, arguments, files.folder(), 3600).exitCode != 0) {
            state.SkipWithError("scrfix-cli failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * ImportFiles);
}

// 500 128K .z80 snapshots and 500 .tap tapes, each giving one screen.
void ExtractSnapshotsAndTapes(benchmark::State& state) {
    runImport(state, "extract", false);
}
BENCHMARK(ExtractSnapshotsAndTapes)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// 1,000 pictures of 256 x 192 pixels as png writes them.
void ScreensFromPictures(benchmark::State& state) {
    runImport(state, "from-png", true);
}
BENCHMARK(ScreensFromPictures)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
