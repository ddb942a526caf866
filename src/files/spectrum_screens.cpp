#include "files/spectrum_screens.h"

#include <algorithm>
#include <cctype>

#include "files/spectrum_library.h"
#include "platform/text.h"

namespace {

constexpr std::size_t ScreenBlockLength = ScreenSize + 2;  // flag, screen, checksum
constexpr std::size_t SecondScreenOffset = 0x2000;         // 0x6000 in the page at 0x4000
constexpr int NormalScreenPage = 5;
constexpr int ShadowScreenPage = 7;
constexpr int ShadowScreenBit = 0x08;  // of port 0x7FFD
constexpr int SecondScreenBit = 0x01;  // of the Timex port 0xFF
constexpr int HiColourOrHiResBits = 0x06;

// libspectrum's readers are given the file followed by this many zero bytes,
// so that a reader that looks past the end of a short file (its .z80 reader
// reads a whole header without checking the length) reads zeros.
constexpr std::size_t ReadingMargin = 4096;
// The .z80 header: 30 bytes; a zero program counter (bytes 6 and 7) means
// that a second header follows, its length in bytes 30 and 31.
constexpr std::size_t Z80HeaderLength = 30;
constexpr std::size_t Z80SecondHeaderLengths[] = {23, 54, 55};

enum class Kind { Snapshot, Tape };

struct FileType {
    const char* extension;
    libspectrum_id_t id;
    Kind kind;
};

constexpr FileType TypesByExtension[] = {
    {"sna", LIBSPECTRUM_ID_SNAPSHOT_SNA, Kind::Snapshot},
    {"z80", LIBSPECTRUM_ID_SNAPSHOT_Z80, Kind::Snapshot},
    {"szx", LIBSPECTRUM_ID_SNAPSHOT_SZX, Kind::Snapshot},
    {"tap", LIBSPECTRUM_ID_TAPE_TAP, Kind::Tape},
    {"tzx", LIBSPECTRUM_ID_TAPE_TZX, Kind::Tape},
};

// The text after the last "." of the name's last part, in lower case; empty without one.
std::string lowerExtension(const std::string& fileName) {
    const std::string name = filePart(fileName);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) {
        return {};
    }
    std::string extension = name.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

// Why libspectrum cannot be given a .z80 file this short: it would take the
// data after the headers to start past the end of the file, and read on.
std::string z80HeaderProblem(const std::uint8_t* data, std::size_t size) {
    std::size_t needed = Z80HeaderLength;
    if (size >= Z80HeaderLength && data[6] == 0 && data[7] == 0) {
        needed += 2;
        if (size >= needed) {
            const std::size_t second = data[30] | (data[31] << 8);
            for (std::size_t length : Z80SecondHeaderLengths) {
                needed += second == length ? length : 0;
            }
        }
    }
    if (size >= needed) {
        return {};
    }
    return "cannot be read as a .z80 snapshot: " + std::to_string(size) +
           " bytes are too few for its header";
}

SpectrumScreens failure(std::string problem) {
    return SpectrumScreens{{}, std::move(problem)};
}

// "cannot be read as a .z80 snapshot: what libspectrum said".
std::string unreadable(const std::string& what) {
    const std::string message = takeSpectrumLibraryMessage();
    return "cannot be read as " + what + (message.empty() ? "" : ": " + message);
}

std::string description(const std::string& extension, Kind kind) {
    const std::string noun = kind == Kind::Snapshot ? "snapshot" : "tape";
    return extension.empty() ? "a " + noun : "a ." + extension + " " + noun;
}

class Snapshot {
  public:
    explicit Snapshot(const SpectrumLibrary& library)
        : library_(library), snap_(library.snapAlloc()) {}
    ~Snapshot() { library_.snapFree(snap_); }
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;
    libspectrum_snap* get() const { return snap_; }

  private:
    const SpectrumLibrary& library_;
    libspectrum_snap* snap_;
};

class Tape {
  public:
    explicit Tape(const SpectrumLibrary& library) : library_(library), tape_(library.tapeAlloc()) {}
    ~Tape() { library_.tapeFree(tape_); }
    Tape(const Tape&) = delete;
    Tape& operator=(const Tape&) = delete;
    libspectrum_tape* get() const { return tape_; }

  private:
    const SpectrumLibrary& library_;
    libspectrum_tape* tape_;
};

SpectrumScreens snapshotScreen(const SpectrumLibrary& library, const std::uint8_t* data,
                               std::size_t size, libspectrum_id_t type, const std::string& fileName,
                               const std::string& what) {
    if (type == LIBSPECTRUM_ID_SNAPSHOT_Z80) {
        std::string problem = z80HeaderProblem(data, size);
        if (!problem.empty()) {
            return failure(std::move(problem));
        }
    }
    const Snapshot snapshot(library);
    takeSpectrumLibraryMessage();
    if (library.snapRead(snapshot.get(), data, size, type, fileName.c_str()) !=
        LIBSPECTRUM_ERROR_NONE) {
        return failure(unreadable(what));
    }
    const int capabilities = library.machineCapabilities(library.snapMachine(snapshot.get()));
    int page = NormalScreenPage;
    const int pagesLike128 = library.capability128Memory | library.capabilitySeMemory;
    if ((capabilities & pagesLike128) != 0 &&
        (library.snapOut128MemoryPort(snapshot.get()) & ShadowScreenBit) != 0) {
        page = ShadowScreenPage;
    }
    std::size_t offset = 0;
    if ((capabilities & library.capabilityTimexVideo) != 0) {
        const int mode = library.snapOutScldDec(snapshot.get());
        if ((mode & HiColourOrHiResBits) != 0) {
            return failure(
                "shows a Timex hi-colour or hi-res display, which a screen file cannot hold");
        }
        if ((mode & SecondScreenBit) != 0) {
            offset = SecondScreenOffset;
        }
    }
    const libspectrum_byte* memory = library.snapPages(snapshot.get(), page);
    if (memory == nullptr) {
        return failure("the snapshot holds no RAM page " + std::to_string(page) +
                       ", where its screen is");
    }
    SpectrumScreens result;
    result.screens.emplace_back();
    std::copy(memory + offset, memory + offset + ScreenSize, result.screens.back().begin());
    return result;
}

bool carriesBytes(libspectrum_tape_type type) {
    switch (type) {
        case LIBSPECTRUM_TAPE_BLOCK_ROM:
        case LIBSPECTRUM_TAPE_BLOCK_TURBO:
        case LIBSPECTRUM_TAPE_BLOCK_PURE_DATA:
        case LIBSPECTRUM_TAPE_BLOCK_DATA_BLOCK:
            return true;
        default:
            return false;
    }
}

SpectrumScreens tapeScreens(const SpectrumLibrary& library, const std::uint8_t* data,
                            std::size_t size, libspectrum_id_t type, const std::string& fileName,
                            const std::string& what) {
    const Tape tape(library);
    takeSpectrumLibraryMessage();
    if (library.tapeRead(tape.get(), data, size, type, fileName.c_str()) !=
        LIBSPECTRUM_ERROR_NONE) {
        return failure(unreadable(what));
    }
    SpectrumScreens result;
    libspectrum_tape_iterator position = nullptr;
    for (libspectrum_tape_block* block = library.tapeIteratorInit(&position, tape.get());
         block != nullptr; block = library.tapeIteratorNext(&position)) {
        if (!carriesBytes(library.tapeBlockType(block))) {
            continue;
        }
        const libspectrum_byte* bytes = library.tapeBlockData(block);
        if (bytes == nullptr || library.tapeBlockDataLength(block) != ScreenBlockLength) {
            continue;
        }
        result.screens.emplace_back();
        std::copy(bytes + 1, bytes + 1 + ScreenSize, result.screens.back().begin());
    }
    if (result.screens.empty()) {
        return failure("no screen in " + fileName + " (no data block holds 6912 bytes)");
    }
    return result;
}

}  // namespace

SpectrumScreens screensInSpectrumFile(const std::uint8_t* fileBytes, std::size_t size,
                                      const std::string& fileName) {
    std::string problem;
    const SpectrumLibrary* library = spectrumLibrary(problem);
    if (library == nullptr) {
        return failure(problem);
    }
    std::vector<std::uint8_t> padded(size + ReadingMargin, 0);
    std::copy(fileBytes, fileBytes + size, padded.begin());
    const std::uint8_t* data = padded.data();
    const std::string extension = lowerExtension(fileName);
    for (const FileType& type : TypesByExtension) {
        if (extension == type.extension) {
            const std::string what = description(extension, type.kind);
            return type.kind == Kind::Snapshot
                       ? snapshotScreen(*library, data, size, type.id, fileName, what)
                       : tapeScreens(*library, data, size, type.id, fileName, what);
        }
    }
    libspectrum_id_t type = LIBSPECTRUM_ID_UNKNOWN;
    libspectrum_class_t typeClass = LIBSPECTRUM_CLASS_UNKNOWN;
    takeSpectrumLibraryMessage();
    if (library->identifyFileWithClass(&type, &typeClass, fileName.c_str(), data, size) !=
        LIBSPECTRUM_ERROR_NONE) {
        return failure(unreadable("a snapshot or tape"));
    }
    if (typeClass == LIBSPECTRUM_CLASS_SNAPSHOT) {
        return snapshotScreen(*library, data, size, type, fileName, "a snapshot");
    }
    if (typeClass == LIBSPECTRUM_CLASS_TAPE) {
        return tapeScreens(*library, data, size, type, fileName, "a tape");
    }
    return failure("not a snapshot or tape that libspectrum can read");
}
