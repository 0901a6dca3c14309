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
    // Windows: SetPriorityClass of the current process. Linux: nothing; the
    // nice value the user started the program with stays.
    virtual void SetPriorityClass(TPriorityClass Class) = 0;
};
