#include "files/current_file.h"

std::string CurrentFileName;
