// The 128-byte +3DOS file header that +3DOS puts in front of a file's data.
//
// Bytes 0-7 hold "PLUS3DOS" and byte 8 the end-of-file mark 0x1A; bytes
// 11-14 the length of the whole file, header included, lowest byte first;
// byte 127 the sum of bytes 0-126, modulo 256. The other bytes (issue and
// version, the BASIC header, the reserved area) are carried along unread.
#pragma once

#include <cstdint>
#include <string>

constexpr int Plus3HeaderSize = 128;

// Why the 128 bytes at `header` are not a valid +3DOS header of a file of
// `fileLength` bytes; empty when they are.
std::string plus3HeaderProblem(const std::uint8_t* header, std::int64_t fileLength);
