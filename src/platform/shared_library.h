// Shared libraries opened while the program runs, for optional features
// whose library the program does not need in order to start.
#pragma once

#include <string>

// An open shared library; null for none.
using SharedLibrary = void*;

// Opens the library by its file name ("libexample.so.1"), found where the
// system's loader looks, or by a path. Null when it cannot be opened, with
// the system's reason in `problem`.
SharedLibrary openSharedLibrary(const std::string& fileName, std::string& problem);

// The address of the function or variable `name` in the library; null when
// the library has none of that name (or the library is null).
void* sharedLibrarySymbol(SharedLibrary library, const std::string& name);

// Closes the library; its addresses must not be used afterwards. Null is ignored.
void closeSharedLibrary(SharedLibrary library);
