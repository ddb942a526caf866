#include "platform/shared_library.h"

#include <dlfcn.h>

SharedLibrary openSharedLibrary(const std::string& fileName, std::string& problem) {
    if (fileName.empty()) {
        problem = "no library named";
        return nullptr;
    }
    ::dlerror();
    void* library = ::dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = ::dlerror();
        problem = reason != nullptr ? reason : "cannot be opened";
    }
    return library;
}

void* sharedLibrarySymbol(SharedLibrary library, const std::string& name) {
    if (library == nullptr) {
        return nullptr;
    }
    return ::dlsym(library, name.c_str());
}

void closeSharedLibrary(SharedLibrary library) {
    if (library != nullptr) {
        ::dlclose(library);
    }
}
