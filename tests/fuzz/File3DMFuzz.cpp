// Feeds arbitrary bytes to the 3DM reader. A clean EGlimmoraError is the
// expected answer to bad input; anything else (a crash, a sanitizer report,
// another exception type, a hang) is a finding.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "gl/Errors.h"
#include "model/File3DM.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string_view Text(reinterpret_cast<const char*>(Data), Size);
    T3DMFile File;
    try {
        File.LoadFromText(Text, "fuzz.3dm");
    } catch (const EGlimmoraError&) {
    }
    // Walk what was read through the checked accessors, as the model
    // conversion does.
    for (int32_t I = 0; I < File.ObjectCount(); ++I) {
        const T3DMObject& O = File.Object(I);
        for (int32_t F = 0; F < O.VertexFaces.Count(); ++F) {
            const T3DMFace& Face = O.VertexFaces.GetFace(F);
            for (int32_t Index : {Face.A, Face.B, Face.C}) {
                try {
                    (void)O.Vertices.GetVertex(Index);
                } catch (const EGlimmoraError&) {
                }
            }
        }
    }
    for (int32_t I = 0; I < File.Materials.Count(); ++I)
        (void)File.Materials.Items(I)->Name();
    return 0;
}
