#include <dlfcn.h>

#include "platform/linux/LinuxSystem.h"

namespace {

class TLinuxDynamicLibrary final : public IDynamicLibrary {
public:
    explicit TLinuxDynamicLibrary(void* Handle) : FHandle(Handle) {}
    ~TLinuxDynamicLibrary() override { dlclose(FHandle); }
    void* Symbol(const char* Name) override { return dlsym(FHandle, Name); }

private:
    void* FHandle;
};

class TLinuxLibraryLoader final : public ILibraryLoader {
public:
    std::unique_ptr<IDynamicLibrary> Load(const std::string& Name) override
    {
        void* Handle = dlopen(Name.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!Handle)
            return nullptr;
        return std::make_unique<TLinuxDynamicLibrary>(Handle);
    }
    std::string SystemOpenGLLibName() const override { return "libGL.so.1"; }
    std::string SystemGLULibName() const override { return "libGLU.so.1"; }
};

} // namespace

std::unique_ptr<ILibraryLoader> CreateSystemLibraryLoader() { return std::make_unique<TLinuxLibraryLoader>(); }
