#include "platform/text.h"

#include <algorithm>
#include <cstddef>

std::string binaryText(std::int64_t value, int width) {
    const int bits = std::clamp(width, 0, 64);
    std::uint64_t number = static_cast<std::uint64_t>(value);
    if (bits < 64) {
        number &= (std::uint64_t{1} << bits) - 1;
    }
    if (number == 0) {
        return "0";
    }
    std::string digits;
    for (; number != 0; number >>= 1) {
        digits.push_back((number & 1) ? '1' : '0');
    }
    std::reverse(digits.begin(), digits.end());
    return digits;
}

std::string padLeft(const std::string& text, int width, const std::string& pad) {
    const std::size_t size = static_cast<std::size_t>(std::max(width, 0));
    if (text.size() >= size) {
        return text.substr(0, size);
    }
    const char fill = pad.empty() ? ' ' : pad.front();
    return std::string(size - text.size(), fill) + text;
}

std::string midText(const std::string& text, std::int64_t start, std::int64_t length) {
    if (length <= 0 || (start > 1 && static_cast<std::uint64_t>(start - 1) >= text.size())) {
        return "";
    }
    const std::size_t first = start < 1 ? 0 : static_cast<std::size_t>(start - 1);
    const std::size_t count =
        std::min(static_cast<std::uint64_t>(length), std::uint64_t{text.size()});
    return text.substr(first, count);
}

std::string decimalText(std::int64_t value) {
    return std::to_string(value);
}

std::string stringField(const std::string& text, std::int64_t index, const std::string& separator) {
    if (index < 1) {
        return "";
    }
    if (separator.empty()) {
        return index == 1 ? text : "";
    }
    std::size_t fieldStart = 0;
    for (std::int64_t field = 1; field < index; ++field) {
        const std::size_t next = text.find(separator.front(), fieldStart);
        if (next == std::string::npos) {
            return "";
        }
        fieldStart = next + 1;
    }
    const std::size_t fieldEnd = text.find(separator.front(), fieldStart);
    return text.substr(fieldStart,
                       fieldEnd == std::string::npos ? std::string::npos : fieldEnd - fieldStart);
}

namespace {

std::string posixFilePart(const std::string& path) {
    const std::size_t lastSeparator = path.rfind('/');
    return lastSeparator == std::string::npos ? path : path.substr(lastSeparator + 1);
}

std::string windowsFilePart(const std::string& path) {
    const std::size_t begin = (!path.empty() && path.front() == '"') ? 1 : 0;
    const std::size_t lastSeparator = path.find_last_of("/\\");
    const std::size_t nameStart =
        (lastSeparator == std::string::npos || lastSeparator < begin) ? begin : lastSeparator + 1;
    const std::size_t quote = path.find('"', nameStart);
    return path.substr(nameStart,
                       quote == std::string::npos ? std::string::npos : quote - nameStart);
}

}  // namespace

std::string filePart(const std::string& path, PathRules rules) {
    return rules == PathRules::Posix ? posixFilePart(path) : windowsFilePart(path);
}
