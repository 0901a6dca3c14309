#include "platform/linux/LinuxResources.h"
#include "platform/linux/LinuxSystem.h"

#include <vector>

#include "platform/SameText.h"

namespace {

struct TTableRef {
    const TEmbeddedResource* Table;
    std::size_t Count;
};

// Function-local, so that generated tables may register from static
// initialisers in any order.
std::vector<TTableRef>& Tables()
{
    static std::vector<TTableRef> List;
    return List;
}

class TLinuxResources final : public IEmbeddedResources {
public:
    std::optional<std::span<const std::uint8_t>> Find(std::string_view Name, TResourceKind Kind) override
    {
        if (Name.empty())
            return std::nullopt;
        for (const TTableRef& T : Tables())
            for (std::size_t i = 0; i < T.Count; ++i) {
                const TEmbeddedResource& R = T.Table[i];
                if (R.Kind == Kind && SameText(Name, R.Name))
                    return std::span<const std::uint8_t>(R.Data, R.Size);
            }
        return std::nullopt;
    }
};

} // namespace

bool RegisterEmbeddedResources(const TEmbeddedResource* Table, std::size_t Count)
{
    Tables().push_back({Table, Count});
    return true;
}

std::unique_ptr<IEmbeddedResources> CreateModuleResources() { return std::make_unique<TLinuxResources>(); }
