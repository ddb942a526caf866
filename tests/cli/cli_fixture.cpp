#include "cli_fixture.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>
#include <algorithm>

namespace {

// QProcess needs an application object for its notifiers.
void ensureApplication() {
    static int argc = 1;
    static char name[] = "cli_tests";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr) {
        static QCoreApplication application(argc, argv);
    }
}

std::string text(const QByteArray& bytes) {
    return std::string(bytes.constData(), bytes.size());
}

}  // namespace

Image patternImage(std::uint32_t seed) {
    Image image{};
    std::uint32_t state = seed;
    for (std::uint8_t& byte : image) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<std::uint8_t>(state >> 16);
    }
    return image;
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
    ensureApplication();
    QStringList list;
    for (const std::string& argument : arguments) {
        list << QString::fromStdString(argument);
    }
    QProcess process;
    process.setWorkingDirectory(QString::fromStdString(folder().string()));
    process.start(QStringLiteral(SCRFIX_CLI_PATH), list);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << "scrfix-cli did not finish normally";
        return {};
    }
    return CliResult{process.exitCode(), text(process.readAllStandardOutput()),
                     text(process.readAllStandardError())};
}

std::string failureLine(const std::string& file, const std::string& reason) {
    return "scrfix-cli: " + file + ": " + reason + "\n";
}
