// `scrfix-cli optimize --in-place` over 10,000 screen files in one run: the
// time of the whole process, reading, optimizing and rewriting every file.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

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
            const QString name = QStringLiteral("screen%1.scr").arg(i, 5, 10, QLatin1Char('0'));
            std::ofstream(folder_ / name.toStdString(), std::ios::binary)
                .write(screen.data(), ScreenSize);
            names_ << name;
        }
    }
    ~ScreenFolder() { fs::remove_all(folder_); }

    const fs::path& folder() const { return folder_; }
    const QStringList& names() const { return names_; }

  private:
    fs::path folder_;
    QStringList names_;
};

void OptimizeInPlace(benchmark::State& state) {
    const ScreenFolder screens;
    QStringList arguments{QStringLiteral("optimize"), QStringLiteral("--in-place")};
    arguments << screens.names();
    for (auto _ : state) {
        QProcess process;
        process.setWorkingDirectory(QString::fromStdString(screens.folder().string()));
        process.start(QStringLiteral(SCRFIX_CLI_PATH), arguments);
        if (!process.waitForFinished(-1) || process.exitCode() != 0) {
            state.SkipWithError("scrfix-cli failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * ScreenFiles);
}
BENCHMARK(OptimizeInPlace)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
