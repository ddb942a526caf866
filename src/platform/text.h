// Text helpers over 8-bit text. Positions count from 1; arguments are never changed.
#pragma once

#include <cstdint>
#include <string>

// The low `width` bits of value, taken as an unsigned number, as binary
// digits, most significant first, without leading zeros; "0" for zero. So
// with width 8 both 200 and -56 give "11001000". A width above 64 counts as
// 64 (all bits); a width of 0 or less keeps no bits and gives "0".
std::string binaryText(std::int64_t value, int width);

// Text right-aligned in exactly `width` characters (a negative width is 0):
// padded in front with the first character of `pad` (a space when empty), or
// cut to its first `width` characters.
std::string padLeft(const std::string& text, int width, const std::string& pad);

// At most `length` characters from position `start`; a start below 1 is 1.
// "" for a length of 0 or less or a start past the last character.
std::string midText(const std::string& text, std::int64_t start, std::int64_t length);

// Decimal digits with a minus sign for a negative value; "0" for zero.
std::string decimalText(std::int64_t value);

// The index-th field (from 1) between occurrences of the first character of
// `separator`; "" for an index out of range. Two separators in a row enclose
// an empty field; text without the separator (or an empty separator) is one
// field.
std::string stringField(const std::string& text, std::int64_t index, const std::string& separator);

// How a path names its folders.
enum class PathRules {
    // Only "/" separates; every other byte, "\" and '"' included, is part of a name.
    Posix,
    // "/" and "\" separate; a double quote cannot be part of a name, so one
    // at the start is skipped and the name ends before the next.
    Windows,
};

#ifdef _WIN32
constexpr PathRules NativePathRules = PathRules::Windows;
#else
constexpr PathRules NativePathRules = PathRules::Posix;
#endif

// The last component of the path: on POSIX the text after the last "/" (the
// whole path when it has none). Under the Windows rules the text after the
// last "/" or "\", without a leading double quote and ending before the
// next double quote.
std::string filePart(const std::string& path, PathRules rules = NativePathRules);
