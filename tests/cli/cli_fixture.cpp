#include "cli_fixture.h"

#include <algorithm>

#include "support/run_program.h"
#include "support/screen_pattern.h"

Image patternImage(std::uint32_t seed) {
    return screenPattern(seed);
}

Bytes plus3Header(std::uint32_t fileLength) {
    Bytes header(128, 0);
    const std::string signature = "PLUS3DOS\x1A";
    std::copy(signature.begin(), signature.end(), header.begin());
    header[9] = 1;  // issue
    for (int i = 0; i < 4; ++i) {
        header[11 + i] = static_cast<std::uint8_t>(fileLength >> (8 * i));
    }
    header[15] = 3;  // CODE
    header[16] = ScreenSize & 255;
    header[17] = ScreenSize >> 8;
    header[18] = 0x00;  // loaded at 16384
    header[19] = 0x40;
    unsigned sum = 0;
    for (int i = 0; i < 127; ++i) {
        sum += header[i];
    }
    header[127] = static_cast<std::uint8_t>(sum);
    return header;
}

Bytes bytesOf(const Image& image) {
    return Bytes(image.begin(), image.end());
}

Bytes concatenated(const Bytes& first, const Bytes& second) {
    Bytes bytes = first;
    bytes.insert(bytes.end(), second.begin(), second.end());
    return bytes;
}

CliResult CliTest::run(const std::vector<std::string>& arguments) const {
    const ProgramRun run = runProgram(SCRFIX_CLI_PATH, arguments, folder());
    if (run.exitCode < 0) {
        ADD_FAILURE() << "scrfix-cli did not finish normally";
    }
    return CliResult{run.exitCode, run.out, run.err};
}

std::string failureLine(const std::string& file, const std::string& reason) {
    return "scrfix-cli: " + file + ": " + reason + "\n";
}
