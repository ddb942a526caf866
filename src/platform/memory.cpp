#include "platform/memory.h"

#include <cstdlib>
#include <limits>

std::uint8_t* allocateMemory(std::int64_t size) {
    if (size <= 0 || static_cast<std::uint64_t>(size) > std::numeric_limits<std::size_t>::max()) {
        return nullptr;
    }
    return static_cast<std::uint8_t*>(std::calloc(static_cast<std::size_t>(size), 1));
}

void freeMemory(void* block) {
    std::free(block);
}

int peekByte(const void* address) {
    if (address == nullptr) {
        return 0;
    }
    return *static_cast<const std::uint8_t*>(address);
}

void pokeByte(void* address, int value) {
    if (address == nullptr) {
        return;
    }
    *static_cast<std::uint8_t*>(address) = static_cast<std::uint8_t>(value & 0xFF);
}
