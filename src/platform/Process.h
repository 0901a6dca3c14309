// Platform seam: the process's scheduling priority.
#pragma once

#include <cstdint>
#include <memory>

enum TPriorityClass : uint32_t {
    pcNormal = 0x20,   // NORMAL_PRIORITY_CLASS
    pcHigh = 0x80,     // HIGH_PRIORITY_CLASS
};

class IProcessControl {
public:
    virtual ~IProcessControl() = default;
    // Windows: SetPriorityClass of the current process. Linux: the nice
    // value (0 for normal, raised where the system allows it for high).
    virtual void SetPriorityClass(TPriorityClass Class) = 0;
};

std::unique_ptr<IProcessControl> CreateProcessControl();
