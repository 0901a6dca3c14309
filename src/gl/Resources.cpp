#include "gl/Resources.h"

#include <memory>

#include "gl/Errors.h"

IEmbeddedResources& ModuleResources()
{
    static const std::unique_ptr<IEmbeddedResources> Module = CreateModuleResources();
    return *Module;
}

std::span<const std::uint8_t> LoadResourceBytes(std::string_view FileName, TResourceKind Kind)
{
    const std::string Name = ResourceNameOf(FileName);
    const auto Bytes = ModuleResources().Find(Name, Kind);
    if (!Bytes)
        throw EGlimmoraError("Resource " + Name + " not found");
    return *Bytes;
}
