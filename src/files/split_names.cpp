#include "files/split_names.h"

#include "platform/text.h"

std::string splitBitmapName(const std::string& screenPath) {
    return filePart(screenPath) + ".screen";
}

std::string splitAttributeName(const std::string& screenPath) {
    return filePart(screenPath) + ".attr";
}
