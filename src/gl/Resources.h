// Where assets come from, and embedded resources found by file name. Every
// asset is named after its file: the directory part is dropped and the
// first "." becomes "_" ("models/Dollaro00f.3dm" is DOLLARO00F_3DM); names
// compare without regard to case. The bytes come from the program's own
// module (platform/Resources.h), which the program creates and hands down.
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

// The asset switches that the image, model and frame-list loaders read:
// the embedded resources, or files under two folders.
struct TAssetSource {
    // What UseResources reads from; it must outlive the source.
    IEmbeddedResources& Resources;
    // true: images, models and frame lists come from Resources; false: from
    // files (ImageDir + name for images, ModelDir + name for models and
    // frame lists).
    bool UseResources = false;
    std::string ModelDir;
    std::string ImageDir;
};

// Every asset from Resources, as the programs read theirs.
inline TAssetSource EmbeddedAssets(IEmbeddedResources& Resources) { return TAssetSource{Resources, true, {}, {}}; }

// The bytes of the resource that FileName names. A missing resource raises
// EGlimmoraError "Resource NAME not found".
std::span<const std::uint8_t> LoadResourceBytes(IEmbeddedResources& Resources, std::string_view FileName,
                                                TResourceKind Kind);
