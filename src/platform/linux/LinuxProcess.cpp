#include <sys/resource.h>

#include "platform/Process.h"

namespace {

class TLinuxProcessControl final : public IProcessControl {
public:
    void SetPriorityClass(TPriorityClass Class) override
    {
        // Raising the priority needs privileges; without them the call
        // fails and the priority stays as it was, which is harmless.
        setpriority(PRIO_PROCESS, 0, Class == pcHigh ? -5 : 0);
    }
};

} // namespace

std::unique_ptr<IProcessControl> CreateProcessControl() { return std::make_unique<TLinuxProcessControl>(); }
