// Text helpers over 8-bit text. Positions count from 1; arguments are never changed.
#pragma once

#include <cstdint>
#include <string>

// The low `width` bits of value as binary digits, most significant first,
// without leading zeros; "0" for zero.
std::string binaryText(std::int64_t value, int width);

// Text right-aligned in exactly `width` characters (a negative width is 0):
// padded in front with the first character of `pad` (a space when empty), or
// cut to its first `width` characters.
std::string padLeft(const std::string& text, int width, const std::string& pad);

// At most `length` characters from position `start`; a start below 1 is 1.
std::string midText(const std::string& text, std::int64_t start, std::int64_t length);

// Decimal digits with a minus sign for a negative value.
std::string decimalText(std::int64_t value);

// The index-th field (from 1) between occurrences of the first character of
// `separator`; "" for an index out of range.
std::string stringField(const std::string& text, std::int64_t index, const std::string& separator);

// The text after the last "/" or "\", without a leading double quote and
// ending before the next double quote.
std::string filePart(const std::string& path);
