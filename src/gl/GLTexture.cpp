// Index
//   TGLTexture           pixel buffer, changed bits, Bind / UploadChanges
//   texture routines     of gl/GLUtils.h: textures from bitmaps and files
#include "gl/GLTexture.h"

#include <cstdlib>
#include <new>

#include "gl/GLUtils.h"

namespace {

const GLenum MagFilters[] = {GL_NEAREST, GL_LINEAR, GL_NEAREST, GL_LINEAR, GL_NEAREST, GL_LINEAR};
const GLenum MinFilters[] = {GL_NEAREST,
                             GL_LINEAR,
                             GL_NEAREST_MIPMAP_NEAREST,
                             GL_LINEAR_MIPMAP_NEAREST,
                             GL_NEAREST_MIPMAP_LINEAR,
                             GL_LINEAR_MIPMAP_LINEAR};
const GLenum EnvModes[] = {GL_MODULATE, GL_DECAL, GL_BLEND, GL_REPLACE};

bool PowerOfTwo(int32_t Value) { return Value > 0 && (Value & (Value - 1)) == 0; }

} // namespace

// TGLTexture -------------------------------------------------------------------

TGLTexture::TGLTexture()
{
    SetRepeat(true);
    SetEnvColor({1, 1, 1, 1});
    SetFilter(flLinear);
    SetEnvMode(emModulate);
}

TGLTexture::~TGLTexture()
{
    DeleteTexture();
    FreePixels();
}

void TGLTexture::SetSize(TGLTextureFormat Format, int32_t Width, int32_t Height)
{
    FreePixels();
    if (!PowerOfTwo(Width) || !PowerOfTwo(Height))
        throw EGlimmoraError("TGLTexture.SetSize error: a size is not power 2");
    // Powers of two up to 2^30 pass the test above; their product would
    // overflow the buffer size.
    if (Width > MaxImageSide || Height > MaxImageSide || int64_t(Width) * Height > MaxImagePixels)
        throw EGlimmoraError("TGLTexture.SetSize error: the size " + std::to_string(Width) + " x " +
                             std::to_string(Height) + " is too large");
    FWidth = Width;
    FHeight = Height;
    FTarget = Height == 1 ? GL_TEXTURE_1D : GL_TEXTURE_2D;
    FFormat = Format;
    if (Format == tfRGBA) {
        FInternalFormat = GL_RGBA8;
        FGLFormat = GL_RGBA;
        FBytesPerPixel = 4;
    } else {
        FInternalFormat = GL_RGB8;
        FGLFormat = GL_RGB;
        FBytesPerPixel = 3;
    }
    FGLType = GL_UNSIGNED_BYTE;
    FRowSize = Width * FBytesPerPixel;
    FPixels = static_cast<uint8_t*>(std::malloc(std::size_t(FRowSize) * std::size_t(Height)));
    if (!FPixels)
        throw std::bad_alloc();
    InvalidateImage();
}

uint8_t* TGLTexture::PixelRow(int32_t Row) const
{
    if (!FPixels || Row < 0 || Row >= FHeight)
        throw EGlimmoraError("TGLTexture.PixelRow error: row " + std::to_string(Row) + " out of bounds");
    return FPixels + std::size_t(Row) * std::size_t(FRowSize);
}

void TGLTexture::SetRepeat(bool Value)
{
    FRepeatWrap = Value;
    FGLWrap = Value ? GL_REPEAT : GL_CLAMP;
    FChanged |= chWrap;
}

void TGLTexture::SetFilter(TGLTextureFilter Value)
{
    const auto Index = static_cast<std::size_t>(Value);
    if (Index >= std::size(MinFilters))
        throw EGlimmoraError("TGLTexture.SetFilter error: unknown filter " + std::to_string(Index));
    FFilter = Value;
    FMagFilter = MagFilters[Index];
    FMinFilter = MinFilters[Index];
    FChanged |= chFilter;
}

void TGLTexture::SetEnvMode(TGLTextureEnvMode Value)
{
    const auto Index = static_cast<std::size_t>(Value);
    if (Index >= std::size(EnvModes))
        throw EGlimmoraError("TGLTexture.SetEnvMode error: unknown mode " + std::to_string(Index));
    FEnvMode = Value;
    FGLEnvMode = EnvModes[Index];
    FChanged |= chEnvMode;
}

void TGLTexture::SetEnvColor(const TGLColor& Value)
{
    FEnvColor = Value;
    FChanged |= chEnvColor;
}

void TGLTexture::Bind()
{
    if (!FCreated)
        CreateTexture();
    else if (FChanged != 0)
        UploadChanges();
    glBindTexture(FTarget, FTextureName);
}

void TGLTexture::CreateTexture()
{
    FChanged = chAll;
    glGenTextures(1, &FTextureName);
    UploadChanges();
    // Creating a texture also switches texturing of its dimension on.
    glEnable(FTarget);
    glBindTexture(FTarget, 0);
    FCreated = true;
}

void TGLTexture::UploadChanges()
{
    if (FChanged == 0)
        return;
    glBindTexture(FTarget, FTextureName);
    glTexParameterf(FTarget, GL_TEXTURE_PRIORITY, 1.0f);
    if (FChanged & chImage) {
        // Rows are packed; OpenGL reads rows 4-byte aligned unless told, and
        // RGB rows of width 1 or 2 are not.
        const bool Packed = FRowSize % 4 != 0;
        if (Packed)
            glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        if (FTarget == GL_TEXTURE_1D)
            glTexImage1D(FTarget, 0, GLint(FInternalFormat), FWidth, 0, FGLFormat, FGLType, FPixels);
        else
            glTexImage2D(FTarget, 0, GLint(FInternalFormat), FWidth, FHeight, 0, FGLFormat, FGLType, FPixels);
        if (Packed)
            glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    }
    if (FChanged & chFilter) {
        glTexParameteri(FTarget, GL_TEXTURE_MAG_FILTER, GLint(FMagFilter));
        glTexParameteri(FTarget, GL_TEXTURE_MIN_FILTER, GLint(FMinFilter));
    }
    if (FChanged & chWrap) {
        glTexParameteri(FTarget, GL_TEXTURE_WRAP_S, GLint(FGLWrap));
        glTexParameteri(FTarget, GL_TEXTURE_WRAP_T, GLint(FGLWrap));
    }
    if (FChanged & chEnvMode)
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GLint(FGLEnvMode));
    if (FChanged & chEnvColor) {
        const GLfloat Colour[4] = {FEnvColor.R, FEnvColor.G, FEnvColor.B, FEnvColor.A};
        glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, Colour);
    }
    FChanged = 0;
}

void TGLTexture::DeleteTexture()
{
    if (!FCreated)
        return;
    // A destructor may run after the GL library has gone; the name then
    // went with its context.
    if (glDeleteTextures)
        glDeleteTextures(1, &FTextureName);
    FTextureName = 0;
    FCreated = false;
}

void TGLTexture::FreePixels()
{
    std::free(FPixels);
    FPixels = nullptr;
}

// Texture routines ---------------------------------------------------------------

namespace {

bool Usable(const TGLBitmap* Bitmap) { return Bitmap && (Bitmap->Format == bf8Bit || Bitmap->Format == bf24Bit); }

// The colour of pixel X of a bitmap row.
TBitmapColor ColourAt(const TGLBitmap& Bitmap, const uint8_t* Row, int32_t X)
{
    if (Bitmap.Format == bf8Bit)
        return Bitmap.Palette[Row[X]];
    const uint8_t* P = Row + std::size_t(X) * 3;
    return {P[0], P[1], P[2]};
}

} // namespace

TGLRef<TGLTexture> TextureFromBitmap(const TGLBitmap* Bitmap)
{
    if (!Usable(Bitmap))
        return nullptr;
    auto Texture = MakeGLRef<TGLTexture>();
    Texture->SetSize(tfRGB, Bitmap->Width, Bitmap->Height);
    // Bitmap rows run top-down, texture rows bottom-up.
    for (int32_t I = 0; I < Bitmap->Height; ++I) {
        const uint8_t* Src = Bitmap->Row(Bitmap->Height - 1 - I);
        uint8_t* Dst = Texture->PixelRow(I);
        for (int32_t X = 0; X < Bitmap->Width; ++X, Dst += 3) {
            const TBitmapColor C = ColourAt(*Bitmap, Src, X);
            Dst[0] = C.R;
            Dst[1] = C.G;
            Dst[2] = C.B;
        }
    }
    return Texture;
}

TGLRef<TGLTexture> TextureFromBitmaps(const TGLBitmap* Colour, const TGLBitmap* Alpha)
{
    if (!Usable(Colour) || !Usable(Alpha) || Colour->Width != Alpha->Width || Colour->Height != Alpha->Height)
        return nullptr;
    auto Texture = MakeGLRef<TGLTexture>();
    Texture->SetSize(tfRGBA, Colour->Width, Colour->Height);
    for (int32_t I = 0; I < Colour->Height; ++I) {
        const uint8_t* Src = Colour->Row(Colour->Height - 1 - I);
        const uint8_t* SrcAlpha = Alpha->Row(Alpha->Height - 1 - I);
        uint8_t* Dst = Texture->PixelRow(I);
        for (int32_t X = 0; X < Colour->Width; ++X, Dst += 4) {
            const TBitmapColor C = ColourAt(*Colour, Src, X);
            const TBitmapColor A = ColourAt(*Alpha, SrcAlpha, X);
            Dst[0] = C.R;
            Dst[1] = C.G;
            Dst[2] = C.B;
            Dst[3] = uint8_t((unsigned(A.R) + A.G + A.B) / 3);
        }
    }
    return Texture;
}

TGLRef<TGLTexture> LoadBitmapTexture(const TAssetSource& Assets, std::string_view Name)
{
    const TGLBitmap Bitmap = LoadBMPImage(Assets, Name);
    return TextureFromBitmap(&Bitmap);
}

TGLRef<TGLTexture> LoadJPEGTexture(const TAssetSource& Assets, std::string_view Name)
{
    const TGLBitmap Bitmap = LoadJPEGImage(Assets, Name);
    return TextureFromBitmap(&Bitmap);
}

TGLRef<TGLTexture> LoadTexture(const TAssetSource& Assets, std::string_view Name)
{
    const std::string Ext = LowerExtension(Name);
    if (Ext == ".bmp")
        return LoadBitmapTexture(Assets, Name);
    if (Ext == ".jpg" || Ext == ".jepg")
        return LoadJPEGTexture(Assets, Name);
    return nullptr;
}

TGLRef<TGLTexture> LoadTextureWithAlpha(const TAssetSource& Assets, std::string_view ColourName,
                                        std::string_view AlphaName)
{
    const std::unique_ptr<TGLBitmap> Colour = LoadBitmapImage(Assets, ColourName);
    auto SameName = [](std::string_view A, std::string_view B) {
        if (A.size() != B.size())
            return false;
        for (std::size_t I = 0; I < A.size(); ++I) {
            const auto L = [](char C) { return C >= 'A' && C <= 'Z' ? char(C - 'A' + 'a') : C; };
            if (L(A[I]) != L(B[I]))
                return false;
        }
        return true;
    };
    if (SameName(ColourName, AlphaName))
        return TextureFromBitmaps(Colour.get(), Colour.get());
    const std::unique_ptr<TGLBitmap> Alpha = LoadBitmapImage(Assets, AlphaName);
    return TextureFromBitmaps(Colour.get(), Alpha.get());
}
