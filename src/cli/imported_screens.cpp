#include "cli/imported_screens.h"

#include <algorithm>
#include <cctype>

#include "platform/text.h"

namespace {

// Where the last extension of the name's file part starts, or the name's length.
std::size_t extensionStart(const std::string& name) {
    const std::size_t partStart = name.size() - filePart(name).size();
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot <= partStart ? name.size() : dot;
}

bool endsWithPng(const std::string& name) {
    const std::string ending = ".png";
    if (name.size() < ending.size()) {
        return false;
    }
    return std::equal(
        ending.begin(), ending.end(), name.end() - ending.size(),
        [](char wanted, char c) { return wanted == std::tolower(static_cast<unsigned char>(c)); });
}

}  // namespace

std::string extractedScreenName(const std::string& path) {
    const std::string name = filePart(path);
    return name.substr(0, extensionStart(name)) + ".scr";
}

std::string pictureScreenName(const std::string& path) {
    const std::string name = filePart(path);
    return (endsWithPng(name) ? name.substr(0, name.size() - 4) : name) + ".scr";
}

std::string numberedName(const std::string& name, int number) {
    const std::size_t at = extensionStart(name);
    return name.substr(0, at) + "-" + std::to_string(number) + name.substr(at);
}
