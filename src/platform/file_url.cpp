#include "platform/file_url.h"

#include <cstddef>

namespace {

char lowerCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// `prefix` is in lower case.
bool startsWithNoCase(const std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (lowerCase(text[i]) != prefix[i]) {
            return false;
        }
    }
    return true;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::string percentDecoded(const std::string& text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool escape = text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
                            hexValue(text[i + 2]) >= 0;
        if (escape) {
            bytes.push_back(static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2])));
            i += 2;
        } else {
            bytes.push_back(text[i]);
        }
    }
    return bytes;
}

}  // namespace

std::string localFileOfArgument(const std::string& argument) {
    if (!startsWithNoCase(argument, "file:")) {
        return argument;
    }
    std::string path = argument.substr(5);
    path = path.substr(0, path.find_first_of("?#"));
    if (path.starts_with("//")) {
        // An authority: the host runs to the next "/", where the path starts.
        const std::size_t pathStart = path.find('/', 2);
        if (pathStart == std::string::npos) {
            return "";
        }
        const std::string host = path.substr(2, pathStart - 2);
        if (!host.empty() && !(host.size() == 9 && startsWithNoCase(host, "localhost"))) {
            return "";
        }
        path = path.substr(pathStart);
    }
    if (!path.starts_with("/")) {
        return "";
    }
    return percentDecoded(path);
}
