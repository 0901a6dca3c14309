// Textures: an image in a program-side pixel buffer with its OpenGL
// parameters. The OpenGL texture object is created at the first Bind and
// only what changed since is uploaded. The routines that build textures
// from images are declared in gl/GLUtils.h.
#pragma once

#include <cstdint>

#include "gl/GLClasses.h"

enum TGLTextureFormat { tfRGB = 0, tfRGBA = 1 };

enum TGLTextureFilter {
    flNearest = 0,
    flLinear = 1,
    flNearestMipmapNearest = 2,
    flLinearMipmapNearest = 3,
    flNearestMipmapLinear = 4,
    flLinearMipmapLinear = 5,
};

enum TGLTextureEnvMode { emModulate = 0, emDecal = 1, emBlend = 2, emReplace = 3 };

class TGLTexture : public TGLItemList {
public:
    static constexpr uint32_t chImage = 1;
    static constexpr uint32_t chFilter = 2;
    static constexpr uint32_t chWrap = 4;
    static constexpr uint32_t chEnvMode = 16;
    static constexpr uint32_t chEnvColor = 32;
    static constexpr uint32_t chAll = chImage | chFilter | chWrap | chEnvMode | chEnvColor;

    TGLTexture();

    // Allocates RowSize * Height bytes for Format (content undefined until
    // filled) and marks the image changed. Sides must be powers of two;
    // otherwise, or when the image would be larger than MaxImageSide /
    // MaxImagePixels (gl/GLUtils.h), it raises and the texture keeps no
    // pixels.
    void SetSize(TGLTextureFormat Format, int32_t Width, int32_t Height);
    // Row Row of Pixels (row 0 the bottom of the picture); raises outside
    // 0..Height-1 or without pixels.
    uint8_t* PixelRow(int32_t Row) const;
    // The next Bind uploads the pixels again.
    void InvalidateImage() { FChanged |= chImage; }
    void SetRepeat(bool Value);
    void SetFilter(TGLTextureFilter Value);
    void SetEnvMode(TGLTextureEnvMode Value);
    void SetEnvColor(const TGLColor& Value);

    // Creates the texture object at first use, uploads what changed and
    // binds it. Needs a current context.
    void Bind();
    // Sends the changed parts to the texture object, in a fixed order.
    void UploadChanges();
    // Deletes the texture object (if any); the pixels stay, so the next
    // Bind creates and uploads it again.
    void DeleteTexture();
    void FreePixels();

    int32_t BytesPerPixel() const { return FBytesPerPixel; }
    uint8_t* Pixels() const { return FPixels; }
    bool Created() const { return FCreated; }
    bool RepeatWrap() const { return FRepeatWrap; }
    int32_t Height() const { return FHeight; }
    const TGLColor& EnvColor() const { return FEnvColor; }
    TGLTextureFilter Filter() const { return FFilter; }
    TGLTextureFormat Format() const { return FFormat; }
    TGLTextureEnvMode EnvMode() const { return FEnvMode; }
    GLuint TextureName() const { return FTextureName; }
    int32_t Width() const { return FWidth; }
    int32_t RowSize() const { return FRowSize; }
    uint32_t Changed() const { return FChanged; }
    GLenum Target() const { return FTarget; }
    GLenum InternalFormat() const { return FInternalFormat; }
    GLenum GLFormat() const { return FGLFormat; }
    GLenum GLType() const { return FGLType; }
    GLenum MagFilter() const { return FMagFilter; }
    GLenum MinFilter() const { return FMinFilter; }
    GLenum GLEnvMode() const { return FGLEnvMode; }
    GLenum GLWrap() const { return FGLWrap; }

protected:
    ~TGLTexture() override;

private:
    void CreateTexture();

    int32_t FBytesPerPixel = 3;
    uint8_t* FPixels = nullptr;
    bool FCreated = false;
    bool FRepeatWrap = true;
    int32_t FHeight = 0;
    TGLColor FEnvColor{1, 1, 1, 1};
    TGLTextureFilter FFilter = flLinear;
    TGLTextureFormat FFormat = tfRGB;
    TGLTextureEnvMode FEnvMode = emModulate;
    GLuint FTextureName = 0;
    int32_t FWidth = 0;
    int32_t FRowSize = 0;
    uint32_t FChanged = 0;
    GLenum FTarget = GL_TEXTURE_2D;
    GLenum FInternalFormat = GL_RGB8;
    GLenum FGLFormat = GL_RGB;
    GLenum FGLType = GL_UNSIGNED_BYTE;
    GLenum FMagFilter = GL_LINEAR;
    GLenum FMinFilter = GL_LINEAR;
    GLenum FGLEnvMode = GL_MODULATE;
    GLenum FGLWrap = GL_REPEAT;
};
