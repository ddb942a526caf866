#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <random>
#include <system_error>

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder(const std::string& purpose) : startFolder_(fs::current_path()) {
    std::random_device random;
    // A name already taken, by another test program running at the same
    // time or one that crashed, is never reused.
    do {
        folder_ =
            fs::temp_directory_path() / ("scrfix-" + purpose + "-" + std::to_string(random()));
    } while (!fs::create_directory(folder_));
}

ScratchFolder::~ScratchFolder() {
    std::error_code error;
    fs::current_path(startFolder_, error);
    if (error) {
        ADD_FAILURE() << "cannot return to " << startFolder_ << ": " << error.message();
    }
    // The test may have taken the owner's rights to the folder away.
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(folder_, error);
    if (error) {
        ADD_FAILURE() << "cannot remove " << folder_ << ": " << error.message();
    }
}
