// The names of the two split files of a screen: the bitmap file and the
// attribute file. Both the window program's split save and the batch
// companion name them this way.
#pragma once

#include <string>

// The file part of `screenPath` followed by ".screen": a name without a
// folder, so the file lands in whatever folder the caller puts it.
std::string splitBitmapName(const std::string& screenPath);

// The file part of `screenPath` followed by ".attr".
std::string splitAttributeName(const std::string& screenPath);
