#include <windows.h>

#include "platform/DynamicLibrary.h"

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
        // Library names are plain ASCII; no error box for a missing one.
        const UINT OldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
        HMODULE Handle = LoadLibraryA(Name.c_str());
        SetErrorMode(OldMode);
        if (!Handle)
            return nullptr;
        return std::make_unique<TWin32DynamicLibrary>(Handle);
    }
    std::string SystemOpenGLLibName() const override { return "OpenGL32.DLL"; }
    std::string SystemGLULibName() const override { return "GLU32.DLL"; }
};

} // namespace

std::unique_ptr<ILibraryLoader> CreateSystemLibraryLoader() { return std::make_unique<TWin32LibraryLoader>(); }
