#include <windows.h>

#include "platform/win32/Win32System.h"
#include "platform/win32/Win32SystemLibrary.h"
#include "platform/win32/Win32Text.h"

namespace {

class TWin32DynamicLibrary final : public IDynamicLibrary {
public:
    explicit TWin32DynamicLibrary(HMODULE Handle) : FHandle(Handle) {}
    ~TWin32DynamicLibrary() override { FreeLibrary(FHandle); }
    void* Symbol(const char* Name) override
    {
        return reinterpret_cast<void*>(GetProcAddress(FHandle, Name));
    }

private:
    HMODULE FHandle;
};

class TWin32LibraryLoader final : public ILibraryLoader {
public:
    std::unique_ptr<IDynamicLibrary> Load(const std::string& Name) override
    {
        // From the system folder only: never a namesake in the program's
        // folder or the current one.
        const HMODULE Handle = LoadSystemLibrary(Win32Widen(Name).c_str());
        if (!Handle)
            return nullptr;
        return std::make_unique<TWin32DynamicLibrary>(Handle);
    }
    std::string SystemOpenGLLibName() const override { return "OpenGL32.DLL"; }
    std::string SystemGLULibName() const override { return "GLU32.DLL"; }
};

} // namespace

std::unique_ptr<ILibraryLoader> CreateSystemLibraryLoader() { return std::make_unique<TWin32LibraryLoader>(); }
