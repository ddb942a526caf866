// Whole files as bytes, and byte patterns to fill them with, for tests that
// check what reached the disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// Everything in `file`; empty when it cannot be read.
Bytes readBytes(const std::filesystem::path& file);

// Makes `file` hold exactly `bytes`, creating or truncating it. A write that
// fails is a fatal failure of the running test.
void writeBytes(const std::filesystem::path& file, const Bytes& bytes);

// `size` bytes in which neighbours differ and which do not repeat every 256
// bytes, so that a byte lost, doubled or moved shows. Patterns of different
// seeds differ in every byte.
Bytes bytePattern(std::size_t size, std::uint8_t seed = 1);
