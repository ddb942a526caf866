// Whole-process times of short commands on the project's test card,
// measured interleaved so that a
// change in the machine's load falls on every command alike: each round
// runs every command once, in turn, and the medians over the rounds are
// reported. Used for scrfix-cli's start-up and single conversions against
// /bin/true and ImageMagick's convert, and for one run over 1,000 screens.
//
// Usage: cli_timing [ROUNDS]   (default 200)

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Command {
    std::string label;
    std::string program;
    std::vector<std::string> arguments;
    // Removed before each run, untimed: every run writes a new file.
    std::string output;
    std::vector<double> milliseconds;
};

// Starts the program in `folder` with its output thrown away, the cheapest
// way the system offers (no copy of this process is made), and waits for it.
double millisecondsOf(const Command& command, const fs::path& folder) {
    if (!command.output.empty()) {
        fs::remove(folder / command.output);
    }
    std::vector<char*> argv{const_cast<char*>(command.program.c_str())};
    for (const std::string& argument : command.arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    int status = -1;
    if (posix_spawn(&child, command.program.c_str(), &actions, nullptr, argv.data(), environ) ==
        0) {
        waitpid(child, &status, 0);
    }
    const auto end = std::chrono::steady_clock::now();
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "cli_timing: %s failed\n", command.label.c_str());
    }
    return std::chrono::duration<double, std::milli>(end - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The test card with the bitmap byte at `variant` inverted, so that every
// screen differs and all are pictures of the kind users convert.
void writeScreen(const fs::path& file, const std::vector<char>& card, int variant) {
    std::vector<char> screen = card;
    screen[static_cast<std::size_t>(variant % 6144)] ^= static_cast<char>(0xFF);
    std::ofstream(file, std::ios::binary).write(screen.data(), 6912);
}

std::string found(const char* program) {
    for (const char* folder : {"/usr/bin/", "/bin/", "/usr/local/bin/"}) {
        if (fs::exists(std::string(folder) + program)) {
            return std::string(folder) + program;
        }
    }
    return "";
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const fs::path folder =
        fs::temp_directory_path() / ("scrfix-cli-timing-" + std::to_string(std::random_device{}()));
    fs::create_directories(folder / "many");
    millisecondsOf({"test card", TEST_CARD_PATH, {"card.scr"}, "", {}}, folder);
    std::vector<char> card(6912);
    std::ifstream(folder / "card.scr", std::ios::binary).read(card.data(), 6912);
    writeScreen(folder / "title.scr", card, 0);
    std::vector<std::string> many = {"png", "-d", "pictures"};
    for (int i = 0; i < 1000; ++i) {
        const std::string name = "many/screen" + std::to_string(i) + ".scr";
        writeScreen(folder / name, card, 7 * i + 1);
        many.push_back(name);
    }
    fs::create_directories(folder / "pictures");

    std::vector<Command> commands = {
        {"/bin/true", "/bin/true", {}, "", {}},
        {"scrfix-cli --version", SCRFIX_CLI_PATH, {"--version"}, "", {}},
        {"scrfix-cli png title.scr",
         SCRFIX_CLI_PATH,
         {"png", "title.scr", "-o", "ours.png"},
         "ours.png",
         {}},
    };
    if (const std::string convert = found("convert"); !convert.empty()) {
        commands.push_back({"convert SCR:title.scr title.png (ImageMagick)",
                            convert,
                            {"SCR:title.scr", "theirs.png"},
                            "theirs.png",
                            {}});
    }
    for (int round = 0; round < rounds; ++round) {
        for (Command& command : commands) {
            command.milliseconds.push_back(millisecondsOf(command, folder));
        }
    }
    std::printf("medians of %d interleaved rounds, whole process:\n", rounds);
    for (const Command& command : commands) {
        std::printf("  %-48s %8.2f ms\n", command.label.c_str(), median(command.milliseconds));
    }

    Command thousand{"scrfix-cli png over 1,000 screens in one run", SCRFIX_CLI_PATH, many, "", {}};
    for (int run = 0; run < 5; ++run) {
        fs::remove_all(folder / "pictures");
        fs::create_directories(folder / "pictures");
        thousand.milliseconds.push_back(millisecondsOf(thousand, folder));
    }
    std::printf("  %-48s %8.1f ms (median of 5; %.2f ms a screen)\n", thousand.label.c_str(),
                median(thousand.milliseconds), median(thousand.milliseconds) / 1000);
    fs::remove_all(folder);
    return 0;
}
