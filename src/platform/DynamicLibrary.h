// Platform seam: shared libraries loaded by name at run time.
//
// Windows: LoadLibrary / GetProcAddress / FreeLibrary. Linux: dlopen /
// dlsym / dlclose. The library is freed when the object is destroyed.
#pragma once

#include <memory>
#include <string>

class IDynamicLibrary {
public:
    virtual ~IDynamicLibrary() = default;
    // Address of an exported name; null when the library does not export it.
    virtual void* Symbol(const char* Name) = 0;
};

// Loads the library Name; null when it cannot be found or loaded.
std::unique_ptr<IDynamicLibrary> LoadDynamicLibrary(const std::string& Name);
