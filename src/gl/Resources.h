// Embedded resources found by file name. Every asset is named after its
// file: the directory part is dropped and the first "." becomes "_"
// ("models/Dollaro00f.3dm" is DOLLARO00F_3DM); names compare without
// regard to case. The bytes come from the program's own module
// (platform/Resources.h).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/Resources.h"

// "dir\puzir.jpg" -> "puzir_jpg". Both "/" and "\" (and a drive's ":")
// end a directory part. The case is kept; lookups ignore it.
inline std::string ResourceNameOf(std::string_view FileName)
{
    const std::size_t Slash = FileName.find_last_of("/\\:");
    std::string Name(Slash == std::string_view::npos ? FileName : FileName.substr(Slash + 1));
    const std::size_t Dot = Name.find('.');
    if (Dot != std::string::npos)
        Name[Dot] = '_';
    return Name;
}

// The program module's resources, created at first use.
IEmbeddedResources& ModuleResources();

// The bytes of the resource that FileName names. A missing resource raises
// EGlimmoraError "Resource NAME not found".
std::span<const std::uint8_t> LoadResourceBytes(std::string_view FileName, TResourceKind Kind);
