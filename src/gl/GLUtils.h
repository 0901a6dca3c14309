// Images for textures: a bitmap record, decoders for BMP (24-bit and 8-bit
// palette) and JPEG (through libjpeg), loaders that read an image by file
// name from where a TAssetSource says (the embedded resources, or a file
// under its ImageDir), and the routines that turn images into textures.
// The texture routines are defined in GLTexture.cpp, so that GLUtils.cpp
// (the image side) builds on its own, as the fuzz target does.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gl/GLTexture.h"
#include "gl/Resources.h"

// Decoded images larger than this are refused before anything is allocated.
inline constexpr std::int32_t MaxImageSide = 16384;
inline constexpr std::int64_t MaxImagePixels = std::int64_t(1) << 24;

enum TBitmapFormat { bfNone, bf8Bit, bf24Bit };

struct TBitmapColor {
    std::uint8_t R = 0, G = 0, B = 0;
    bool operator==(const TBitmapColor&) const = default;
};

// A decoded picture. Rows run top-down without gaps; a 24-bit pixel is
// R, G, B, an 8-bit pixel an index into Palette. Palette entries that the
// source did not define are black. bfNone: nothing (an unsupported image).
class TGLBitmap {
public:
    TBitmapFormat Format = bfNone;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::array<TBitmapColor, 256> Palette{};
    std::vector<std::uint8_t> Pixels;

    bool Empty() const { return Format == bfNone; }
    std::int32_t BytesPerPixel() const { return Format == bf24Bit ? 3 : Format == bf8Bit ? 1 : 0; }
    std::size_t RowSize() const { return std::size_t(Width) * std::size_t(BytesPerPixel()); }
    // Sizes the pixel buffer (zero-filled) after checking the size against
    // MaxImageSide and MaxImagePixels; bfNone empties the bitmap.
    void SetSize(TBitmapFormat NewFormat, std::int32_t NewWidth, std::int32_t NewHeight);
    // The colour at (X, Y), Y = 0 the top row; raises outside the picture.
    TBitmapColor PixelColor(std::int32_t X, std::int32_t Y) const;
    const std::uint8_t* Row(std::int32_t Y) const;
};

// The compressed bytes of a JPEG image and where they came from.
struct TJPEGImage {
    std::vector<std::uint8_t> Data;
    std::string Source;
};

// A .bmp file (with its 14-byte file header). 24-bit and 8-bit palette
// images without compression decode; any other depth or compression gives
// an empty bitmap. A malformed file raises EGlimmoraError.
TGLBitmap DecodeBitmapFile(std::span<const std::uint8_t> Data, std::string_view Source);
// The same for a packed DIB, as a bitmap resource holds it.
TGLBitmap DecodeBitmapDIB(std::span<const std::uint8_t> Data, std::string_view Source);
// A JPEG (baseline or progressive; colour or grayscale) into a 24-bit
// bitmap. Corrupt or truncated data raises EGlimmoraError naming Source.
TGLBitmap DecodeJPEG(std::span<const std::uint8_t> Data, std::string_view Source);

// The whole file Path; raises when it cannot be read.
std::vector<std::uint8_t> ReadFileBytes(const std::string& Path);
// Splits text into lines at CR LF, LF or CR; a final line break adds no
// empty line.
std::vector<std::string> SplitLines(std::span<const std::uint8_t> Text);

// The bitmap, JPEG or text resource of FileName (a missing one raises).
TGLBitmap LoadBitmapResource(IEmbeddedResources& Resources, std::string_view FileName);
TJPEGImage LoadJPEGResource(IEmbeddedResources& Resources, std::string_view FileName);
std::vector<std::string> LoadStringsResource(IEmbeddedResources& Resources, std::string_view FileName);

// The lower-case extension of the file-name part, with its dot ("" if none).
std::string LowerExtension(std::string_view FileName);
// The picture of a BMP or a JPEG asset: the resource of Name when
// Assets.UseResources, else the file Assets.ImageDir + Name.
TGLBitmap LoadBMPImage(const TAssetSource& Assets, std::string_view Name);
TGLBitmap LoadJPEGImage(const TAssetSource& Assets, std::string_view Name);
// ".bmp", ".jpg" or ".jepg" decoded from the resources or from ImageDir +
// Name; any other extension gives an empty bitmap.
std::unique_ptr<TGLBitmap> LoadBitmapImage(const TAssetSource& Assets, std::string_view Name);

// Textures from images. None of them uploads anything: a texture is
// uploaded at its first Bind. Null means the image is not usable (absent,
// empty, or colour and alpha of different sizes); a size that is not a
// power of two raises (TGLTexture::SetSize) and leaks nothing.
TGLRef<TGLTexture> TextureFromBitmap(const TGLBitmap* Bitmap);
// RGB from Colour; alpha = (red + green + blue) div 3 of Alpha's pixel.
TGLRef<TGLTexture> TextureFromBitmaps(const TGLBitmap* Colour, const TGLBitmap* Alpha);
TGLRef<TGLTexture> LoadBitmapTexture(const TAssetSource& Assets, std::string_view Name);
TGLRef<TGLTexture> LoadJPEGTexture(const TAssetSource& Assets, std::string_view Name);
// By the lower-case extension: ".bmp", ".jpg" or ".jepg"; else null.
TGLRef<TGLTexture> LoadTexture(const TAssetSource& Assets, std::string_view Name);
// Alpha from AlphaName's brightness; the same name (without regard to
// case) takes the colour image's own brightness.
TGLRef<TGLTexture> LoadTextureWithAlpha(const TAssetSource& Assets, std::string_view ColourName,
                                        std::string_view AlphaName);
