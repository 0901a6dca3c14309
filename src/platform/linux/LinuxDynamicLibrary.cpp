#include <dlfcn.h>

#include "platform/DynamicLibrary.h"

namespace {

class TLinuxDynamicLibrary final : public IDynamicLibrary {
public:
    explicit TLinuxDynamicLibrary(void* Handle) : FHandle(Handle) {}
    ~TLinuxDynamicLibrary() override { dlclose(FHandle); }
    void* Symbol(const char* Name) override { return dlsym(FHandle, Name); }

private:
    void* FHandle;
};

} // namespace

std::unique_ptr<IDynamicLibrary> LoadDynamicLibrary(const std::string& Name)
{
    void* Handle = dlopen(Name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!Handle)
        return nullptr;
    return std::make_unique<TLinuxDynamicLibrary>(Handle);
}
