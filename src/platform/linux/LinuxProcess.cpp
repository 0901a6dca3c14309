#include "platform/linux/LinuxSystem.h"

namespace {

// On Linux the scheduling priority is the user's: a nice value given with
// nice(1) or renice(1) holds for the whole run. Putting the process back to
// nice 0 ("normal") would undo it, and a root run would take a higher
// priority than the user asked for ("high"), so the program never changes
// it; the tuning file's priority is a Windows setting.
class TLinuxProcessControl final : public IProcessControl {
public:
    void SetPriorityClass(TPriorityClass) override {}
};

} // namespace

std::unique_ptr<IProcessControl> CreateProcessControl() { return std::make_unique<TLinuxProcessControl>(); }
