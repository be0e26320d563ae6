#include "platform/base/SharedLibrary.h"

#include <cstring>
#include <dlfcn.h>
#include <fstream>

namespace base {

bool openSharedLibrary(const char* soname, const std::vector<LibrarySymbol>& symbols, std::string& error)
{
    void* handle = ::dlopen(soname, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* reason = ::dlerror();
        error = std::string("cannot load ") + soname + ": " + (reason ? reason : "unknown reason");
        return false;
    }
    std::vector<void*> found;
    found.reserve(symbols.size());
    for (const auto& [name, slot] : symbols) {
        (void)slot;
        void* address = ::dlsym(handle, name);
        if (!address) {
            error = std::string(soname) + " has no " + name;
            ::dlclose(handle);
            return false;
        }
        found.push_back(address);
    }
    for (size_t index = 0; index < symbols.size(); ++index)
        std::memcpy(symbols[index].second, &found[index], sizeof(void*));
    return true;
}

bool isSharedLibraryMapped(const std::string& nameFragment)
{
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        auto slash = line.rfind('/');
        if (slash != std::string::npos && line.find(nameFragment, slash) != std::string::npos)
            return true;
    }
    return false;
}

} // namespace base
