#include "files/snapshot_tape_library.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include "platform/shared_library.h"

namespace {

// What libspectrum reported through its error function since it was last taken.
std::string firstError;
std::string firstWarning;

// libspectrum's messages as one line: control characters become spaces.
std::string oneLine(const char* text) {
    std::string line(text);
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 32 || c == 127) {
            c = ' ';
        }
    }
    const std::size_t end = line.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : line.substr(0, end + 1);
}

libspectrum_error keepMessage(libspectrum_error error, const char* format, va_list arguments) {
    std::string& kept = error == LIBSPECTRUM_ERROR_WARNING ? firstWarning : firstError;
    if (kept.empty() && format != nullptr) {
        char text[512];
        std::vsnprintf(text, sizeof text, format, arguments);
        kept = oneLine(text);
    }
    return error;
}

// libspectrum's memory. Its readers keep a page of a damaged file at the
// length its data gave (a .z80 page that expands to fewer than 16384 bytes,
// in a block grown for it and left partly unwritten), and some copy a whole
// page out of such a block. So every block it asks for is at least a page
// long and holds zeros beyond what it writes: nothing it or this program
// reads of a page lies outside the block or is left unset.
constexpr std::size_t SmallestBlock = 0x4000;

// Never destroyed: libspectrum may free blocks while the program ends, and
// the blocks its readers lose on some damaged files stay reachable here.
std::unordered_map<void*, std::size_t>& blockSizes() {
    static auto* sizes = new std::unordered_map<void*, std::size_t>;
    return *sizes;
}

void* newBlock(std::size_t size) {
    const std::size_t made = std::max(size, SmallestBlock);
    void* block = std::calloc(made, 1);
    if (block != nullptr) {
        blockSizes()[block] = made;
    }
    return block;
}

void* zeroedBlock(std::size_t count, std::size_t size) {
    if (size != 0 && count > static_cast<std::size_t>(-1) / size) {
        return nullptr;
    }
    return newBlock(count * size);
}

void* resizedBlock(void* block, std::size_t size) {
    if (block == nullptr) {
        return newBlock(size);
    }
    const auto known = blockSizes().find(block);
    // A block made before this allocator was set keeps the library's own rules.
    if (known == blockSizes().end()) {
        return std::realloc(block, size);
    }
    const std::size_t old = known->second;
    const std::size_t made = std::max(size, SmallestBlock);
    void* resized = std::realloc(block, made);
    if (resized == nullptr) {
        return nullptr;
    }
    blockSizes().erase(block);
    blockSizes()[resized] = made;
    if (made > old) {
        std::memset(static_cast<char*>(resized) + old, 0, made - old);
    }
    return resized;
}

void freeBlock(void* block) {
    if (block != nullptr) {
        blockSizes().erase(block);
        std::free(block);
    }
}

libspectrum_mem_vtable_t blockFunctions = {newBlock, zeroedBlock, resizedBlock, freeBlock};

// Looks up every name; false, with the reason, at the first one missing.
class Loader {
  public:
    explicit Loader(SharedLibrary library, const std::string& fileName)
        : library_(library), fileName_(fileName) {}

    template <typename Pointer>
    void function(Pointer& pointer, const char* name) {
        pointer = reinterpret_cast<Pointer>(symbol(name));
    }
    void capability(int& value, const char* name) {
        const void* address = symbol(name);
        value = address != nullptr ? *static_cast<const int*>(address) : 0;
    }
    void* symbol(const char* name) {
        void* address = sharedLibrarySymbol(library_, name);
        if (address == nullptr && missing_.empty()) {
            missing_ = fileName_ + " has no " + name;
        }
        return address;
    }
    const std::string& missing() const { return missing_; }

  private:
    SharedLibrary library_;
    std::string fileName_;
    std::string missing_;
};

struct LoadedLibrary {
    SpectrumLibrary functions{};
    std::string problem;
    bool usable = false;
};

LoadedLibrary load() {
    LoadedLibrary loaded;
    const char* chosen = std::getenv("SCRFIX_LIBSPECTRUM");
    const std::string fileName =
        chosen != nullptr && *chosen != '\0' ? chosen : SCRFIX_LIBSPECTRUM_FILE;
    std::string reason;
    const SharedLibrary library = openSharedLibrary(fileName, reason);
    if (library == nullptr) {
        loaded.problem = "libspectrum cannot be loaded: " + oneLine(reason.c_str());
        return loaded;
    }
    Loader loader(library, fileName);
    SpectrumLibrary& f = loaded.functions;
    loader.function(f.identifyFileRaw, "libspectrum_identify_file_raw");
    loader.function(f.identifyClass, "libspectrum_identify_class");
    loader.function(f.machineCapabilities, "libspectrum_machine_capabilities");
    loader.function(f.snapAlloc, "libspectrum_snap_alloc");
    loader.function(f.snapFree, "libspectrum_snap_free");
    loader.function(f.snapRead, "libspectrum_snap_read");
    loader.function(f.snapMachine, "libspectrum_snap_machine");
    loader.function(f.snapPages, "libspectrum_snap_pages");
    loader.function(f.snapOut128MemoryPort, "libspectrum_snap_out_128_memoryport");
    loader.function(f.snapOutScldDec, "libspectrum_snap_out_scld_dec");
    loader.function(f.tapeAlloc, "libspectrum_tape_alloc");
    loader.function(f.tapeFree, "libspectrum_tape_free");
    loader.function(f.tapeRead, "libspectrum_tape_read");
    loader.function(f.tapeIteratorInit, "libspectrum_tape_iterator_init");
    loader.function(f.tapeIteratorNext, "libspectrum_tape_iterator_next");
    loader.function(f.tapeBlockType, "libspectrum_tape_block_type");
    loader.function(f.tapeBlockData, "libspectrum_tape_block_data");
    loader.function(f.tapeBlockDataLength, "libspectrum_tape_block_data_length");
    loader.capability(f.capability128Memory, "LIBSPECTRUM_MACHINE_CAPABILITY_128_MEMORY");
    loader.capability(f.capabilitySeMemory, "LIBSPECTRUM_MACHINE_CAPABILITY_SE_MEMORY");
    loader.capability(f.capabilityTimexVideo, "LIBSPECTRUM_MACHINE_CAPABILITY_TIMEX_VIDEO");
    decltype(&libspectrum_init) initialise = nullptr;
    loader.function(initialise, "libspectrum_init");
    decltype(&libspectrum_mem_set_vtable) setMemoryFunctions = nullptr;
    loader.function(setMemoryFunctions, "libspectrum_mem_set_vtable");
    auto* errorFunction =
        static_cast<libspectrum_error_function_t*>(loader.symbol("libspectrum_error_function"));
    if (!loader.missing().empty()) {
        loaded.problem = "libspectrum cannot be loaded: " + loader.missing();
        closeSharedLibrary(library);
        return loaded;
    }
    // Messages go to this binding from the start, the initialisation's
    // included, and memory comes from it.
    *errorFunction = keepMessage;
    setMemoryFunctions(&blockFunctions);
    if (initialise() != LIBSPECTRUM_ERROR_NONE) {
        loaded.problem = "libspectrum cannot be initialised: " + takeSpectrumLibraryMessage();
        return loaded;
    }
    takeSpectrumLibraryMessage();
    loaded.usable = true;
    return loaded;
}

}  // namespace

const SpectrumLibrary* spectrumLibrary(std::string& problem) {
    static const LoadedLibrary loaded = load();
    if (!loaded.usable) {
        problem = loaded.problem;
        return nullptr;
    }
    return &loaded.functions;
}

std::string takeSpectrumLibraryMessage() {
    std::string message = !firstError.empty() ? firstError : firstWarning;
    firstError.clear();
    firstWarning.clear();
    return message;
}
