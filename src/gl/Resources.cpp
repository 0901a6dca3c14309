#include "gl/Resources.h"

#include <memory>

#include "gl/Errors.h"

std::string ResourceNameOf(std::string_view FileName)
{
    const std::size_t Slash = FileName.find_last_of("/\\:");
    std::string Name(Slash == std::string_view::npos ? FileName : FileName.substr(Slash + 1));
    const std::size_t Dot = Name.find('.');
    if (Dot != std::string::npos)
        Name[Dot] = '_';
    return Name;
}

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
