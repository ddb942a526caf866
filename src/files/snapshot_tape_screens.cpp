#include "files/snapshot_tape_screens.h"

#include <algorithm>
#include <cctype>

#include "files/snapshot_tape_library.h"
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
constexpr std::size_t PageSize = 0x4000;

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

// The length a .z80 page's data expands to: 0xED 0xED N B stands for N
// bytes B, any other byte for itself. A sequence cut by the end of the data
// reads the bytes after it, as libspectrum does (the margin's zeros here).
std::size_t expandedLength(const std::uint8_t* data, std::size_t length) {
    std::size_t expanded = 0;
    std::size_t i = 0;
    while (i < length) {
        if (i + 1 < length && data[i] == 0xED && data[i + 1] == 0xED) {
            expanded += data[i + 2];
            i += 4;
        } else {
            ++expanded;
            ++i;
        }
    }
    return expanded;
}

// What libspectrum's .z80 reader takes on trust: that the file holds its
// headers (it reads them whole whatever the file's length) and that each
// compressed page expands to 16384 bytes (it keeps a page of any length).
// `data` is followed by the reading margin.
std::string z80Problem(const std::uint8_t* data, std::size_t size) {
    const std::string what = "cannot be read as a .z80 snapshot: ";
    if (size < Z80HeaderLength) {
        return what + std::to_string(size) + " bytes are too few for its header";
    }
    if (data[6] != 0 || data[7] != 0) {
        return {};  // version 1: one 48K block, which libspectrum checks
    }
    const std::size_t second = data[30] | (data[31] << 8);
    const bool known =
        std::find(std::begin(Z80SecondHeaderLengths), std::end(Z80SecondHeaderLengths), second) !=
        std::end(Z80SecondHeaderLengths);
    const std::size_t headers = Z80HeaderLength + 2 + (known ? second : 0);
    if (size < headers) {
        return what + std::to_string(size) + " bytes are too few for its header";
    }
    // Each page: its data's length (0xFFFF for 16384 bytes as they are),
    // its number, its data. A length and number of 0 end the pages.
    std::size_t at = known ? headers : size;
    while (at + 3 <= size) {
        const std::size_t length = data[at] | (data[at + 1] << 8);
        const int page = data[at + 2];
        if (length == 0 && page == 0) {
            break;
        }
        if (length == 0xFFFF || at + 3 + length > size) {
            // libspectrum checks these itself.
            at += 3 + (length == 0xFFFF ? PageSize : length);
            continue;
        }
        const std::size_t expanded = expandedLength(data + at + 3, length);
        if (expanded != PageSize) {
            return what + "page " + std::to_string(page) + " expands to " +
                   std::to_string(expanded) + " bytes, not 16384";
        }
        at += 3 + length;
    }
    return {};
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
        std::string problem = z80Problem(data, size);
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

SpectrumScreens screensInSpectrumFile(const std::uint8_t* data, std::size_t size,
                                      const std::string& fileName) {
    std::string problem;
    const SpectrumLibrary* library = spectrumLibrary(problem);
    if (library == nullptr) {
        return failure(problem);
    }
    std::vector<std::uint8_t> padded(size + ReadingMargin, 0);
    std::copy(data, data + size, padded.begin());
    // The type of the bytes as they are. A compressed file is not opened, as
    // libspectrum's decompression of a damaged one can run without end; its
    // readers decompress whatever this finds compressed, whatever the type
    // they are asked to read, so this comes before the extension decides.
    libspectrum_id_t type = LIBSPECTRUM_ID_UNKNOWN;
    libspectrum_class_t typeClass = LIBSPECTRUM_CLASS_UNKNOWN;
    takeSpectrumLibraryMessage();
    if (library->identifyFileRaw(&type, fileName.c_str(), padded.data(), size) !=
            LIBSPECTRUM_ERROR_NONE ||
        library->identifyClass(&typeClass, type) != LIBSPECTRUM_ERROR_NONE) {
        return failure(unreadable("a snapshot or tape"));
    }
    if (typeClass == LIBSPECTRUM_CLASS_COMPRESSED) {
        return failure("a compressed file; extract reads snapshots and tapes as they are");
    }
    const std::string extension = lowerExtension(fileName);
    for (const FileType& byExtension : TypesByExtension) {
        if (extension == byExtension.extension) {
            const std::string what = description(extension, byExtension.kind);
            return byExtension.kind == Kind::Snapshot
                       ? snapshotScreen(*library, padded.data(), size, byExtension.id, fileName,
                                        what)
                       : tapeScreens(*library, padded.data(), size, byExtension.id, fileName, what);
        }
    }
    // Only the five types are read: libspectrum's readers of the others (.sp
    // for one) copy as much as their headers say, whatever the file holds.
    for (const FileType& known : TypesByExtension) {
        if (type == known.id) {
            return known.kind == Kind::Snapshot
                       ? snapshotScreen(*library, padded.data(), size, type, fileName, "a snapshot")
                       : tapeScreens(*library, padded.data(), size, type, fileName, "a tape");
        }
    }
    if (typeClass == LIBSPECTRUM_CLASS_SNAPSHOT || typeClass == LIBSPECTRUM_CLASS_TAPE) {
        return failure(
            "a snapshot or tape of a kind extract does not read (it reads .sna, .z80, .szx, "
            ".tap and .tzx)");
    }
    return failure("not a snapshot or tape that libspectrum can read");
}
