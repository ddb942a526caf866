// The path of the screen file last loaded.
#pragma once

#include <string>

// Empty until the first successful load; changed only by a successful load.
extern std::string CurrentFileName;
