// Feeds arbitrary bytes to the 3DM reader as "fuzz.3dm" and converts what
// it read as the scene does: all objects into one primitive, and the lists
// of primitives, materials and textures. Diffuse maps come from a small
// in-memory resource table (one 4 x 4 bitmap, "TEX.BMP"); any other name
// is absent. A clean EGlimmoraError is the expected answer to bad input; a
// crash, a sanitizer report, another exception or a hang is a finding.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "gl/Errors.h"
#include "gl/GLClasses.h"
#include "gl/GLTexture.h"
#include "model/Convert3DM.h"
#include "model/File3DM.h"
#include "platform/Resources.h"
#include "platform/SameText.h"

namespace {

// A 4 x 4 bitmap of 24 bits a pixel, bottom-up.
std::vector<uint8_t> SmallBitmap()
{
    std::vector<uint8_t> B(54 + 4 * 12, 0x80);
    const auto Put32 = [&](std::size_t At, uint32_t V) {
        for (int I = 0; I < 4; ++I)
            B[At + I] = uint8_t(V >> (8 * I));
    };
    B[0] = 'B';
    B[1] = 'M';
    Put32(2, uint32_t(B.size()));
    Put32(6, 0);
    Put32(10, 54);
    Put32(14, 40);
    Put32(18, 4);
    Put32(22, 4);
    Put32(26, 1 | 24 << 16);   // one plane, 24 bits
    for (std::size_t At = 30; At < 54; At += 4)
        Put32(At, 0);
    Put32(34, 4 * 12);
    return B;
}

class TMemoryResources final : public IEmbeddedResources {
public:
    std::optional<std::span<const std::uint8_t>> Find(std::string_view Name, TResourceKind Kind) override
    {
        static const std::vector<uint8_t> Bitmap = SmallBitmap();
        if (!SameText(Name, "TEX_BMP"))
            return std::nullopt;
        // A bitmap resource is the file without its 14-byte header.
        const std::span<const std::uint8_t> File(Bitmap);
        return Kind == rkBitmap ? File.subspan(14) : File;
    }
};

}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    static TMemoryResources Resources;
    const std::string_view Text(reinterpret_cast<const char*>(Data), Size);
    T3DMFile File;
    try {
        File.LoadFromText(Text, "fuzz.3dm");
    } catch (const EGlimmoraError&) {
        return 0;
    }
    try {
        if (const TGLRef<TGLPrimitive> P = PrimitiveFrom3DMFile(File))
            P->CalcNormals();
    } catch (const EGlimmoraError&) {
    }
    try {
        (void)ListsFrom3DMFile(EmbeddedAssets(Resources), File);
    } catch (const EGlimmoraError&) {
    }
    return 0;
}
