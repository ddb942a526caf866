// `scrfix-cli optimize --in-place` over 10,000 screen files in one run: the
// time of the whole process, reading, optimizing and rewriting every file.

#include <benchmark/benchmark.h>

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

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
