// Splitting the list of dropped files: an arbitrary text with line feeds
// falls into fields that hold no line feed and, joined back with line
// feeds, give the text again; the program loads the first of them.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "contract.h"
#include "platform/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string list(reinterpret_cast<const char*>(data), size);
    const std::int64_t fieldCount = std::count(list.begin(), list.end(), '\n') + 1;

    std::string joined;
    for (std::int64_t index = 1; index <= fieldCount; ++index) {
        const std::string field = stringField(list, index, "\n");
        require(field.find('\n') == std::string::npos, "a field holds no line feed");
        if (index > 1) {
            joined.push_back('\n');
        }
        joined += field;
    }
    require(joined == list, "the fields joined back give the list");
    require(stringField(list, 1, "\n") == list.substr(0, list.find('\n')),
            "the first field is the text up to the first line feed");
    require(stringField(list, fieldCount + 1, "\n").empty(), "there is no field past the last");
    require(stringField(list, 0, "\n").empty(), "there is no field 0");
    return 0;
}
