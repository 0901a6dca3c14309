// Platform seam: shared libraries loaded by name at run time.
//
// Windows: LoadLibrary of the name in the system folder (never the
// program's folder) / GetProcAddress / FreeLibrary. Linux: dlopen /
// dlsym / dlclose. The program picks the loader and hands it to the OpenGL
// unit (gl/OpenGL12.h), which loads the GL and GLU libraries through it.
#pragma once

#include <memory>
#include <string>

class IDynamicLibrary {
public:
    virtual ~IDynamicLibrary() = default;
    // Address of an exported name; null when the library does not export it.
    virtual void* Symbol(const char* Name) = 0;
};

class ILibraryLoader {
public:
    virtual ~ILibraryLoader() = default;
    // Loads the library Name; null when it cannot be found or loaded. The
    // library is freed when the returned object is destroyed.
    virtual std::unique_ptr<IDynamicLibrary> Load(const std::string& Name) = 0;
    // The names the system's OpenGL and GLU libraries go by: "OpenGL32.DLL"
    // and "GLU32.DLL" on Windows, "libGL.so.1" and "libGLU.so.1" on Linux.
    virtual std::string SystemOpenGLLibName() const = 0;
    virtual std::string SystemGLULibName() const = 0;
};
