#include "gl/GLMultitexture.h"

#include <charconv>
#include <string>

namespace {

std::string GLText(GLenum Name)
{
    const GLubyte* S = glGetString(Name);
    return S ? std::string(reinterpret_cast<const char*>(S)) : std::string();
}

// "major.minor" at the start of a version string ("4.5 (Compatibility
// Profile) Mesa 22.3.6", "1.1.0"); 0.0 when it does not start so.
bool AtLeast(std::string_view Version, int Major, int Minor)
{
    int A = 0, B = 0;
    const char* P = Version.data();
    const char* End = P + Version.size();
    auto R = std::from_chars(P, End, A);
    if (R.ec != std::errc() || R.ptr == End || *R.ptr != '.')
        return false;
    if (std::from_chars(R.ptr + 1, End, B).ec != std::errc())
        return false;
    return A > Major || (A == Major && B >= Minor);
}

} // namespace

bool HasExtension(std::string_view Extensions, std::string_view Name)
{
    std::size_t At = 0;
    while ((At = Extensions.find(Name, At)) != std::string_view::npos) {
        const std::size_t After = At + Name.size();
        if ((At == 0 || Extensions[At - 1] == ' ') && (After == Extensions.size() || Extensions[After] == ' '))
            return true;
        At = After;
    }
    return false;
}

TGLTextureUnits TextureUnitsOf(std::string_view Version, std::string_view Extensions, int32_t MaxUnits,
                               bool EntryPoints)
{
    TGLTextureUnits Units;
    const bool Multitexture = AtLeast(Version, 1, 3) || HasExtension(Extensions, "GL_ARB_multitexture");
    const bool Combine = AtLeast(Version, 1, 3) || HasExtension(Extensions, "GL_ARB_texture_env_combine");
    if (!EntryPoints || !Multitexture || !Combine || MaxUnits < 2)
        return Units;
    Units.Count = MaxUnits;
    Units.Combine = true;
    Units.Crossbar = AtLeast(Version, 1, 4) || HasExtension(Extensions, "GL_ARB_texture_env_crossbar");
    return Units;
}

TGLTextureUnits QueryTextureUnits()
{
    const bool EntryPoints = glActiveTexture != nullptr && glClientActiveTexture != nullptr;
    const std::string Version = GLText(GL_VERSION);
    const std::string Extensions = GLText(GL_EXTENSIONS);
    if (!EntryPoints || TextureUnitsOf(Version, Extensions, 2, true).Count < 2)
        return {};
    GLint MaxUnits = 1;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS, &MaxUnits);
    return TextureUnitsOf(Version, Extensions, MaxUnits, EntryPoints);
}

void SetCombineStep(const TGLCombineStep& Step)
{
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GLint(GL_COMBINE));
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GLint(Step.Op));
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB, GLint(Step.Source0));
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GLint(Step.Operand0));
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB, GLint(Step.Source1));
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB, GLint(Step.Operand1));
    if (Step.Op == GL_INTERPOLATE) {
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE2_RGB, GLint(Step.Source2));
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND2_RGB, GLint(Step.Operand2));
    }
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA, GLint(GL_REPLACE));
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_ALPHA, GLint(Step.AlphaSource));
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_ALPHA, GLint(GL_SRC_ALPHA));
}

void SetEnvColor(float R, float G, float B, float A)
{
    const GLfloat C[4] = {R, G, B, A};
    glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, C);
}
