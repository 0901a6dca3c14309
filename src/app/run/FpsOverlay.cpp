#include "app/run/FpsOverlay.h"

#include <array>
#include <cstdint>

#include "gl/OpenGL12.h"

namespace {

// Rows top-down, 3 bits each (bit 2 is the left column).
struct TGlyph {
    char Char;
    std::array<uint8_t, 5> Rows;
};

constexpr TGlyph Font[] = {
    {'0', {7, 5, 5, 5, 7}}, {'1', {2, 6, 2, 2, 7}}, {'2', {7, 1, 7, 4, 7}}, {'3', {7, 1, 7, 1, 7}},
    {'4', {5, 5, 7, 1, 1}}, {'5', {7, 4, 7, 1, 7}}, {'6', {7, 4, 7, 5, 7}}, {'7', {7, 1, 1, 1, 1}},
    {'8', {7, 5, 7, 5, 7}}, {'9', {7, 5, 7, 1, 7}}, {'F', {7, 4, 6, 4, 4}}, {'P', {7, 5, 7, 4, 4}},
    {'S', {7, 4, 7, 1, 7}}, {':', {0, 2, 0, 2, 0}},
};

const TGlyph* GlyphOf(char C)
{
    for (const TGlyph& G : Font)
        if (G.Char == C)
            return &G;
    return nullptr;
}

// Switches a capability and puts it back when the scope ends.
class TCapability {
public:
    TCapability(GLenum Cap, bool On, bool ClientState = false) : FCap(Cap), FClient(ClientState)
    {
        FWas = glIsEnabled(Cap) != 0;
        Set(On);
    }
    ~TCapability() { Set(FWas); }
    TCapability(const TCapability&) = delete;
    TCapability& operator=(const TCapability&) = delete;

private:
    void Set(bool On)
    {
        if (FClient)
            On ? glEnableClientState(FCap) : glDisableClientState(FCap);
        else
            On ? glEnable(FCap) : glDisable(FCap);
    }
    GLenum FCap;
    bool FClient;
    bool FWas = false;
};

bool OverlayCallsLoaded()
{
    return glIsEnabled && glEnable && glDisable && glEnableClientState && glDisableClientState && glGetIntegerv &&
           glMatrixMode && glPushMatrix && glPopMatrix && glLoadIdentity && glOrtho && glVertexPointer &&
           glDrawArrays && glColor4fv;
}

} // namespace

std::vector<float> FpsTextQuads(const std::string& Text, float X, float Y, float Cell)
{
    std::vector<float> Quads;
    for (std::size_t I = 0; I < Text.size(); ++I) {
        const TGlyph* G = GlyphOf(Text[I]);
        if (!G)
            continue;
        const float Left = X + static_cast<float>(I) * 4 * Cell;
        for (int Row = 0; Row < 5; ++Row)
            for (int Col = 0; Col < 3; ++Col) {
                if (!(G->Rows[static_cast<std::size_t>(Row)] & (4 >> Col)))
                    continue;
                const float X0 = Left + static_cast<float>(Col) * Cell;
                const float Y0 = Y + static_cast<float>(4 - Row) * Cell;
                Quads.insert(Quads.end(), {X0, Y0, X0 + Cell, Y0, X0 + Cell, Y0 + Cell, X0, Y0 + Cell});
            }
    }
    return Quads;
}

bool TFpsOverlayBackend::SwapBuffers(TGLDeviceContext DC)
{
    if (OverlayCallsLoaded()) {
        GLint Viewport[4] = {0, 0, 0, 0};
        glGetIntegerv(GL_VIEWPORT, Viewport);
        const std::vector<float> Quads =
            FpsTextQuads("FPS: " + std::to_string(FFramesPerSecond ? FFramesPerSecond() : 0), 8, 8, 3);
        {
            TCapability Lighting(GL_LIGHTING, false), Fog(GL_FOG, false), Texture(GL_TEXTURE_2D, false);
            TCapability Depth(GL_DEPTH_TEST, false), Blend(GL_BLEND, false), Cull(GL_CULL_FACE, false);
            TCapability Alpha(GL_ALPHA_TEST, false);
            TCapability Vertices(GL_VERTEX_ARRAY, true, true), Colors(GL_COLOR_ARRAY, false, true);
            TCapability Normals(GL_NORMAL_ARRAY, false, true), TexCoords(GL_TEXTURE_COORD_ARRAY, false, true);
            glMatrixMode(GL_PROJECTION);
            glPushMatrix();
            glLoadIdentity();
            glOrtho(0, Viewport[2], 0, Viewport[3], -1, 1);
            glMatrixMode(GL_MODELVIEW);
            glPushMatrix();
            glLoadIdentity();
            const float Yellow[4] = {1, 1, 0, 1};
            glColor4fv(Yellow);
            glVertexPointer(2, GL_FLOAT, 0, Quads.data());
            glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(Quads.size() / 2));
            glPopMatrix();
            glMatrixMode(GL_PROJECTION);
            glPopMatrix();
            glMatrixMode(GL_MODELVIEW);
        }
    }
    return FInner.SwapBuffers(DC);
}
