// The text helpers with arbitrary text and integers: no crash, no undefined
// behaviour, and every result as its contract describes it.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "contract.h"
#include "platform/text.h"

namespace {

// padLeft() builds a text of `width` characters: wider ones test nothing
// more and only cost memory, so larger widths are folded into this range.
constexpr int WidestPad = 1 << 16;

void checkBinaryText(std::int64_t value, int width) {
    const std::string digits = binaryText(value, width);
    const int bits = std::clamp(width, 0, 64);
    std::uint64_t expected = static_cast<std::uint64_t>(value);
    if (bits < 64) {
        expected &= (std::uint64_t{1} << bits) - 1;
    }
    require(!digits.empty() && digits.size() <= 64, "binaryText gives 1 to 64 digits");
    require(digits == "0" || digits.front() == '1', "binaryText has no leading zeros");
    std::uint64_t parsed = 0;
    for (const char digit : digits) {
        require(digit == '0' || digit == '1', "binaryText gives only binary digits");
        parsed = (parsed << 1) | static_cast<std::uint64_t>(digit - '0');
    }
    require(parsed == expected, "binaryText gives the low `width` bits of the value");
}

void checkPadLeft(const std::string& text, int width, const std::string& pad) {
    const std::string result = padLeft(text, width, pad);
    const std::size_t size = static_cast<std::size_t>(std::max(width, 0));
    require(result.size() == size, "padLeft's length is max(width, 0)");
    if (text.size() >= size) {
        require(result == text.substr(0, size), "padLeft cuts a long text to its first characters");
        return;
    }
    const char fill = pad.empty() ? ' ' : pad.front();
    const std::size_t padding = size - text.size();
    require(result.compare(padding, std::string::npos, text) == 0,
            "padLeft keeps a short text at the right");
    require(std::all_of(result.begin(), result.begin() + static_cast<std::ptrdiff_t>(padding),
                        [fill](char c) { return c == fill; }),
            "padLeft fills with the first character of the pad, or spaces");
}

void checkMidText(const std::string& text, std::int64_t start, std::int64_t length) {
    const std::string result = midText(text, start, length);
    const std::uint64_t first = start < 1 ? 0 : static_cast<std::uint64_t>(start) - 1;
    if (length <= 0 || first >= text.size()) {
        require(result.empty(), "midText is empty past the end or for no length");
        return;
    }
    const std::uint64_t available = text.size() - first;
    const std::uint64_t count = std::min(static_cast<std::uint64_t>(length), available);
    require(result == text.substr(first, count), "midText is the substring from start");
}

void checkDecimalText(std::int64_t value) {
    const std::string digits = decimalText(value);
    std::int64_t parsed = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), parsed);
    require(error == std::errc() && end == digits.data() + digits.size() && parsed == value,
            "decimalText reads back as the value");
    const std::size_t firstDigit = value < 0 ? 1 : 0;
    require(digits == "0" || digits[firstDigit] != '0', "decimalText has no leading zeros");
    require(digits.front() != '+', "decimalText has no plus sign");
}

void checkStringField(const std::string& text, std::int64_t index, const std::string& separator) {
    std::vector<std::string> fields;
    if (separator.empty()) {
        fields.push_back(text);
    } else {
        std::string field;
        for (const char c : text) {
            if (c == separator.front()) {
                fields.push_back(field);
                field.clear();
            } else {
                field.push_back(c);
            }
        }
        fields.push_back(field);
    }
    const bool inRange = index >= 1 && static_cast<std::uint64_t>(index) <= fields.size();
    const std::string expected = inRange ? fields[static_cast<std::size_t>(index - 1)] : "";
    require(stringField(text, index, separator) == expected,
            "stringField gives the index-th field, or nothing");
}

// filePart() under the Windows rules: the run after the last separator (or
// after a leading quote), ending before the next quote.
void checkWindowsFilePart(const std::string& path) {
    const std::string name = filePart(path, PathRules::Windows);
    require(name.find_first_of("/\\\"") == std::string::npos,
            "filePart holds no separator and no quote");
    const std::size_t lastSeparator = path.find_last_of("/\\");
    const bool leadingQuote = !path.empty() && path.front() == '"';
    std::size_t start = leadingQuote ? 1 : 0;
    if (lastSeparator != std::string::npos && lastSeparator + 1 > start) {
        start = lastSeparator + 1;
    }
    require(path.compare(start, name.size(), name) == 0,
            "filePart starts after the last separator or the leading quote");
    const std::size_t end = start + name.size();
    require(end == path.size() || path[end] == '"', "filePart ends at a quote or the end");
}

// filePart() under the POSIX rules: everything after the last "/".
void checkPosixFilePart(const std::string& path) {
    const std::string name = filePart(path, PathRules::Posix);
    require(name.find('/') == std::string::npos, "a POSIX file part holds no slash");
    require(path.size() >= name.size() &&
                path.compare(path.size() - name.size(), name.size(), name) == 0,
            "a POSIX file part is the end of the path");
    require(name.size() == path.size() || path[path.size() - name.size() - 1] == '/',
            "a POSIX file part starts after a slash or at the start");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::int64_t first = input.ConsumeIntegral<std::int64_t>();
    const std::int64_t second = input.ConsumeIntegral<std::int64_t>();
    const int width = input.ConsumeIntegral<int>();
    const std::string pad = input.ConsumeRandomLengthString(4);
    const std::string separator = input.ConsumeRandomLengthString(2);
    const std::string text = input.ConsumeRemainingBytesAsString();

    checkBinaryText(first, width);
    checkBinaryText(first, 8);
    checkPadLeft(text, width > WidestPad ? width % WidestPad : width, pad);
    checkPadLeft(binaryText(first, 8), 8, "0");
    checkMidText(text, first, second);
    checkMidText(text, first % 64, second % 64);
    checkDecimalText(first);
    checkStringField(text, first, separator);
    checkStringField(text, second % 8, separator);
    checkWindowsFilePart(text);
    checkPosixFilePart(text);
    return 0;
}
