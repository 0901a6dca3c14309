#include "platform/linux/LinuxResources.h"

#include <cctype>
#include <vector>

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

bool SameName(std::string_view A, const char* B)
{
    std::size_t i = 0;
    for (; i < A.size(); ++i) {
        if (B[i] == '\0')
            return false;
        if (std::toupper(static_cast<unsigned char>(A[i])) != static_cast<unsigned char>(B[i]))
            return false;
    }
    return B[i] == '\0';
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
                if (R.Kind == Kind && SameName(Name, R.Name))
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
