#include "gl/Resources.h"

#include "gl/Errors.h"

std::span<const std::uint8_t> LoadResourceBytes(IEmbeddedResources& Resources, std::string_view FileName,
                                                TResourceKind Kind)
{
    if (FileName.empty())
        throw EGlimmoraError("No resource name given");
    const std::string Name = ResourceNameOf(FileName);
    const auto Bytes = Resources.Find(Name, Kind);
    if (!Bytes)
        throw EGlimmoraError("Resource " + Name + " not found");
    return *Bytes;
}
