#include <windows.h>

#include "platform/win32/Win32System.h"

namespace {

class TWin32ProcessControl final : public IProcessControl {
public:
    void SetPriorityClass(TPriorityClass Class) override { ::SetPriorityClass(GetCurrentProcess(), Class); }
};

} // namespace

std::unique_ptr<IProcessControl> CreateProcessControl() { return std::make_unique<TWin32ProcessControl>(); }
