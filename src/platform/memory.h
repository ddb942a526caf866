// Zero-filled memory blocks and byte access.
#pragma once

#include <cstdint>

// A new block of `size` bytes, all 0; null when size <= 0 or no memory is left.
std::uint8_t* allocateMemory(std::int64_t size);

// Releases a block from allocateMemory(); null is ignored.
void freeMemory(void* block);

// The byte at the address, 0..255; 0 for null.
int peekByte(const void* address);

// Stores the low 8 bits of value at the address (300 stores 44); null is ignored.
void pokeByte(void* address, int value);
