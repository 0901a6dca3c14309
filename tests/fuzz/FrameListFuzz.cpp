// Feeds arbitrary bytes to the frame-list loader as the text of
// "fuzz.mfl". The frame files it may name come from an in-memory resource
// table of this target (it stands in for the program's embedded
// resources): frames of one layout, of another size, of two primitives,
// without objects and with a face index outside its vertices. The loaded
// animations are then driven through a few clock times. A clean
// EGlimmoraError is the expected answer to bad input; a crash, a sanitizer
// report, another exception or a hang is a finding.
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "gl/Errors.h"
#include "gl/GLClasses.h"
#include "gl/GLTexture.h"
#include "gl/GLUtils.h"
#include "model/AnimClasses.h"
#include "model/MorphAnimation.h"
#include "platform/Resources.h"
#include "platform/SameText.h"

namespace {

std::string Triangle(const char* Shift)
{
    return std::string("#MaterialStandard 2\nName M\nDiffuseMap undefined\n#Object 1\nName T\n#Vertices 3\n[") +
           Shift + ",0,0]\n[1,0,0]\n[0,1,0]\n#VertexFaces 1\n[1,2,3]\n#FaceMatID 1\n1\n";
}

std::string& FrameListText()
{
    static std::string Text;
    return Text;
}

const std::map<std::string, std::string>& Models()
{
    static const std::map<std::string, std::string> M = {
        {"A_3DM", Triangle("0")},
        {"B_3DM", Triangle("5")},
        {"SQ_3DM", "#Object 1\nName S\n#Vertices 4\n[0,0,0]\n[1,0,0]\n[1,1,0]\n[0,1,0]\n"
                   "#VertexFaces 2\n[1,2,3]\n[1,3,4]\n#FaceMatID 2\n1\n1\n"},
        {"TWO_3DM", "#Object 1\nName W\n#Vertices 4\n[0,0,0]\n[1,0,0]\n[1,1,0]\n[0,1,0]\n"
                    "#VertexFaces 2\n[1,2,3]\n[1,3,4]\n#FaceMatID 2\n1\n2\n"},
        {"EMPTY_3DM", "#Header 1\nVersion 1\n"},
        {"BAD_3DM", "#Object 1\nName X\n#Vertices 3\n[0,0,0]\n[1,0,0]\n[0,1,0]\n#VertexFaces 1\n[1,2,4]\n"
                    "#FaceMatID 1\n1\n"},
        {"MAP_3DM", "#MaterialStandard 2\nName P\nDiffuseMap x.png\n#Object 1\nName T\n#Vertices 3\n"
                    "[0,0,0]\n[1,0,0]\n[0,1,0]\n#VertexFaces 1\n[1,2,3]\n#FaceMatID 1\n1\n"},
    };
    return M;
}

class TMemoryResources final : public IEmbeddedResources {
public:
    std::optional<std::span<const std::uint8_t>> Find(std::string_view Name, TResourceKind Kind) override
    {
        if (Kind != rkRawData)
            return std::nullopt;
        const std::string Key = UpperAscii(Name);
        const std::string* Text = nullptr;
        if (Key == "FUZZ_MFL") {
            Text = &FrameListText();
        } else {
            const auto It = Models().find(Key);
            if (It == Models().end())
                return std::nullopt;
            Text = &It->second;
        }
        return std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(Text->data()), Text->size());
    }
};

}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    static TMemoryResources Resources;
    FrameListText().assign(reinterpret_cast<const char*>(Data), Size);
    TAnimatedModel Model;
    try {
        Model = LoadFrameList(EmbeddedAssets(Resources), "fuzz.mfl");
    } catch (const EGlimmoraError&) {
        return 0;
    }
    // Whatever was loaded must play without harm.
    Model.Animations.Start(0);
    for (long double Clock : {0.0L, 0.1L, 0.3L, 1.0L, 2.5L, 1e6L})
        Model.Animations.Update(Clock);
    for (int32_t I = 0; I < Model.Primitives.Count(); ++I) {
        try {
            Model.Primitives.Items(I)->CalcNormals();
        } catch (const EGlimmoraError&) {
            // A frame of another size leaves indices past the vertices.
        }
    }
    return 0;
}
