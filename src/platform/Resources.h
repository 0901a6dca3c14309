// Platform seam: the resources embedded in the program's own module.
//
// Windows: real resources of the module, compiled from a .rc script by
// windres (raw data as RCDATA, bitmaps as BITMAP, the sound as WAVE) and
// found with FindResource/LoadResource/LockResource. Linux: a table of byte
// arrays generated at build time from the same files (cmake/
// EmbeddedResources.cmake, glimmora_embed_resources). Names are compared
// without regard to case (platform/SameText.h); callers turn a file name
// into a resource name with ResourceNameOf (gl/Resources.h).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

enum TResourceKind {
    rkRawData,  // the file's bytes as they are
    rkBitmap,   // a packed DIB: the .bmp file without its 14-byte file header
    rkWave,     // a RIFF WAVE file as it is
};

class IEmbeddedResources {
public:
    virtual ~IEmbeddedResources() = default;
    // The bytes of the resource Name of the given kind, or nothing when the
    // module has none. The bytes live as long as the program.
    virtual std::optional<std::span<const std::uint8_t>> Find(std::string_view Name, TResourceKind Kind) = 0;
};
