// A folder of a test's own: fresh and empty under the system's temporary
// folder while the object lives, then removed with everything in it. As a
// base of a test fixture it is made before SetUp() and removed after
// TearDown(), so files the fixture closes there are still in place.
#pragma once

#include <filesystem>
#include <string>

class ScratchFolder {
  public:
    // `purpose` becomes part of the folder's name, to tell whose a folder
    // left over by a crashed test is.
    explicit ScratchFolder(const std::string& purpose);
    // Makes the current folder what it was at creation again, whatever the
    // test changed it to, and removes the folder. A failure of either is a
    // failure of the running test.
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& folder() const { return folder_; }
    // The full name of `name` inside the folder.
    std::string path(const std::string& name) const { return (folder_ / name).string(); }

  private:
    std::filesystem::path startFolder_;
    std::filesystem::path folder_;
};
