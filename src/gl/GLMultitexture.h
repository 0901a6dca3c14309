// Several textures in one pass: what the current context offers for it,
// and the texture environment set-ups the drawing uses. OpenGL 1.1 has one
// texture unit; OpenGL 1.3 (or GL_ARB_multitexture with
// GL_ARB_texture_env_combine) adds units whose results combine in a fixed
// chain, and OpenGL 1.4 (or GL_ARB_texture_env_crossbar) lets a unit read
// another unit's texture.
#pragma once

#include <cstdint>
#include <string_view>

#include "gl/OpenGL12.h"

struct TGLTextureUnits {
    int32_t Count = 1;
    bool Combine = false;    // GL_COMBINE environments on Count units
    bool Crossbar = false;   // GL_TEXTUREn as a combiner source
};

// From the context's version and extension strings, its unit count and
// whether both multitexture entry points are loaded. Without the entry
// points, or without combiners, it is one unit and nothing else.
TGLTextureUnits TextureUnitsOf(std::string_view Version, std::string_view Extensions, int32_t MaxUnits,
                               bool EntryPoints);
// The same for the current context.
TGLTextureUnits QueryTextureUnits();

// Whether an extension list (names separated by blanks) holds Name.
bool HasExtension(std::string_view Extensions, std::string_view Name);

// One combiner step of the active unit: RGB = Op(Source0, Source1[,
// Source2]) with the given operands; alpha = the alpha of AlphaSource.
struct TGLCombineStep {
    GLenum Op = GL_MODULATE;
    GLenum Source0 = GL_TEXTURE, Source1 = GL_PREVIOUS, Source2 = GL_CONSTANT;
    GLenum Operand0 = GL_SRC_COLOR, Operand1 = GL_SRC_COLOR, Operand2 = GL_SRC_ALPHA;
    GLenum AlphaSource = GL_PREVIOUS;
};
void SetCombineStep(const TGLCombineStep& Step);
// The active unit's environment colour (GL_CONSTANT).
void SetEnvColor(float R, float G, float B, float A);
