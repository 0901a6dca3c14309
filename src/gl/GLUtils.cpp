// Index
//   TGLBitmap             checked sizes and pixel access
//   BMP decoding          file header, DIB header, colour table, rows
//   JPEG decoding         libjpeg behind setjmp/longjmp
//   loaders               resources or files, by extension
#include "gl/GLUtils.h"

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fstream>

#include <jpeglib.h>

#include "gl/Errors.h"

// TGLBitmap ------------------------------------------------------------------

namespace {

void CheckImageSize(std::int64_t Width, std::int64_t Height, std::string_view Source)
{
    if (Width <= 0 || Height <= 0)
        throw EGlimmoraError("Image has no pixels: " + std::to_string(Width) + " x " + std::to_string(Height) +
                             " (" + std::string(Source) + ")");
    if (Width > MaxImageSide || Height > MaxImageSide || Width * Height > MaxImagePixels)
        throw EGlimmoraError("Image too large: " + std::to_string(Width) + " x " + std::to_string(Height) +
                             " (" + std::string(Source) + ")");
}

} // namespace

void TGLBitmap::SetSize(TBitmapFormat NewFormat, std::int32_t NewWidth, std::int32_t NewHeight)
{
    Pixels.clear();
    Format = bfNone;
    Width = 0;
    Height = 0;
    if (NewFormat == bfNone)
        return;
    CheckImageSize(NewWidth, NewHeight, "bitmap");
    Pixels.assign(std::size_t(NewWidth) * std::size_t(NewHeight) * (NewFormat == bf24Bit ? 3u : 1u), 0);
    Format = NewFormat;
    Width = NewWidth;
    Height = NewHeight;
}

const std::uint8_t* TGLBitmap::Row(std::int32_t Y) const
{
    if (Empty() || Y < 0 || Y >= Height)
        throw EGlimmoraError("TGLBitmap: row " + std::to_string(Y) + " out of bounds");
    return Pixels.data() + std::size_t(Y) * RowSize();
}

TBitmapColor TGLBitmap::PixelColor(std::int32_t X, std::int32_t Y) const
{
    const std::uint8_t* R = Row(Y);
    if (X < 0 || X >= Width)
        throw EGlimmoraError("TGLBitmap: column " + std::to_string(X) + " out of bounds");
    if (Format == bf8Bit)
        return Palette[R[X]];
    const std::uint8_t* P = R + std::size_t(X) * 3;
    return {P[0], P[1], P[2]};
}

// BMP ------------------------------------------------------------------------

namespace {

constexpr std::size_t FileHeaderSize = 14;

class TBitmapReader {
public:
    TBitmapReader(std::span<const std::uint8_t> Data, std::string_view Source) : FData(Data), FSource(Source) {}

    [[noreturn]] void Fail(const std::string& Why) const
    {
        throw EGlimmoraError("Bitmap image is not valid (" + FSource + "): " + Why);
    }
    std::uint32_t U16(std::size_t At) const
    {
        Need(At, 2);
        return std::uint32_t(FData[At]) | std::uint32_t(FData[At + 1]) << 8;
    }
    std::uint32_t U32(std::size_t At) const
    {
        Need(At, 4);
        return std::uint32_t(FData[At]) | std::uint32_t(FData[At + 1]) << 8 | std::uint32_t(FData[At + 2]) << 16 |
               std::uint32_t(FData[At + 3]) << 24;
    }
    std::int32_t I32(std::size_t At) const
    {
        const std::uint32_t V = U32(At);
        return V <= 0x7FFFFFFFu ? std::int32_t(V) : -std::int32_t(~V) - 1;
    }
    std::size_t Size() const { return FData.size(); }
    const std::uint8_t* At(std::size_t Offset) const { return FData.data() + Offset; }

private:
    void Need(std::size_t At, std::size_t Count) const
    {
        if (At > FData.size() || FData.size() - At < Count)
            Fail("the header is truncated");
    }

    std::span<const std::uint8_t> FData;
    std::string FSource;
};

// Decodes the DIB whose info header starts at InfoAt. PixelsAt is the
// offset of the pixel rows (the file header's), or 0 for a packed DIB,
// where the rows follow the colour table.
TGLBitmap DecodeDIBAt(const TBitmapReader& In, std::size_t InfoAt, std::uint32_t PixelsAt)
{
    const std::uint32_t HeaderSize = In.U32(InfoAt);
    std::int64_t Width, Height;
    std::uint32_t BitCount, Compression = 0, ColoursUsed = 0;
    std::size_t EntrySize;
    bool TopDown = false;
    if (HeaderSize == 12) {   // the old core header: 16-bit sizes, 3-byte colours
        Width = In.U16(InfoAt + 4);
        Height = In.U16(InfoAt + 6);
        BitCount = In.U16(InfoAt + 10);
        EntrySize = 3;
    } else if (HeaderSize >= 40 && HeaderSize <= 1024) {
        Width = In.I32(InfoAt + 4);
        Height = In.I32(InfoAt + 8);
        BitCount = In.U16(InfoAt + 14);
        Compression = In.U32(InfoAt + 16);
        ColoursUsed = In.U32(InfoAt + 32);
        EntrySize = 4;
        if (Height < 0) {
            TopDown = true;
            Height = -Height;
        }
    } else {
        In.Fail("unknown header size " + std::to_string(HeaderSize));
    }

    TGLBitmap Bitmap;
    if ((BitCount != 8 && BitCount != 24) || Compression != 0)
        return Bitmap;   // a kind of bitmap the textures do not take
    if (Width <= 0 || Height <= 0)
        In.Fail("size " + std::to_string(Width) + " x " + std::to_string(Height));
    if (BitCount == 8 && ColoursUsed > 256)
        In.Fail("colour table of " + std::to_string(ColoursUsed) + " entries");
    if (BitCount == 8 && ColoursUsed == 0)
        ColoursUsed = 256;
    if (ColoursUsed > 0xFFFFFF)
        In.Fail("colour table of " + std::to_string(ColoursUsed) + " entries");

    const std::size_t TableAt = InfoAt + HeaderSize;
    std::uint64_t RowsAt = PixelsAt != 0 ? PixelsAt : TableAt + std::uint64_t(ColoursUsed) * EntrySize;
    if (RowsAt > In.Size())
        In.Fail("the pixel data is missing");
    // Only entries that lie before the pixel rows count; the rest stay black.
    std::uint64_t TableEnd = std::min<std::uint64_t>(RowsAt, In.Size());
    std::uint64_t Present = TableEnd > TableAt ? (TableEnd - TableAt) / EntrySize : 0;
    const std::uint32_t Entries = BitCount == 8 ? std::uint32_t(std::min<std::uint64_t>(ColoursUsed, Present)) : 0;

    CheckImageSize(Width, Height, "bitmap");
    const std::uint64_t Stride = (std::uint64_t(Width) * BitCount + 31) / 32 * 4;
    const std::uint64_t RowBytes = std::uint64_t(Width) * (BitCount / 8);
    if (RowsAt + Stride * std::uint64_t(Height - 1) + RowBytes > In.Size())
        In.Fail("the pixel data is truncated");

    Bitmap.SetSize(BitCount == 8 ? bf8Bit : bf24Bit, std::int32_t(Width), std::int32_t(Height));
    for (std::uint32_t i = 0; i < Entries; ++i) {
        const std::uint8_t* E = In.At(TableAt + std::size_t(i) * EntrySize);
        Bitmap.Palette[i] = {E[2], E[1], E[0]};
    }
    for (std::int64_t Y = 0; Y < Height; ++Y) {
        const std::uint8_t* Src = In.At(std::size_t(RowsAt + Stride * std::uint64_t(Y)));
        const std::int64_t Target = TopDown ? Y : Height - 1 - Y;
        std::uint8_t* Dst = Bitmap.Pixels.data() + std::size_t(Target) * Bitmap.RowSize();
        if (BitCount == 8) {
            std::memcpy(Dst, Src, std::size_t(Width));
        } else {
            for (std::int64_t X = 0; X < Width; ++X, Src += 3, Dst += 3) {
                Dst[0] = Src[2];
                Dst[1] = Src[1];
                Dst[2] = Src[0];
            }
        }
    }
    return Bitmap;
}

} // namespace

TGLBitmap DecodeBitmapFile(std::span<const std::uint8_t> Data, std::string_view Source)
{
    TBitmapReader In(Data, Source);
    if (In.U16(0) != 0x4D42)   // "BM"
        In.Fail("no BM signature");
    const std::uint32_t PixelsAt = In.U32(10);
    if (PixelsAt < FileHeaderSize + 12)
        In.Fail("pixel offset " + std::to_string(PixelsAt));
    return DecodeDIBAt(In, FileHeaderSize, PixelsAt);
}

TGLBitmap DecodeBitmapDIB(std::span<const std::uint8_t> Data, std::string_view Source)
{
    return DecodeDIBAt(TBitmapReader(Data, Source), 0, 0);
}

// JPEG -------------------------------------------------------------------------

namespace {

// libjpeg's default error handler ends the process. Ours records the
// message and jumps back to RunJPEGDecoder, which frees the decoder. A
// warning means corrupt or truncated data (libjpeg would go on with grey
// blocks): it is an error here too. A pathological progressive file could
// hold thousands of scans; more than MaxJPEGScans is refused.
constexpr int MaxJPEGScans = 256;

struct TJPEGDecoder {
    jpeg_error_mgr Errors;          // first: libjpeg hands back its address
    jpeg_decompress_struct Info;
    jpeg_progress_mgr Progress;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

TJPEGDecoder* DecoderOf(j_common_ptr Info) { return reinterpret_cast<TJPEGDecoder*>(Info->err); }

[[noreturn]] void JPEGErrorExit(j_common_ptr Info)
{
    TJPEGDecoder* D = DecoderOf(Info);
    (*Info->err->format_message)(Info, D->Message);
    std::longjmp(D->Jump, 1);
}

void JPEGEmitMessage(j_common_ptr Info, int Level)
{
    if (Level < 0)
        JPEGErrorExit(Info);
}

void JPEGProgress(j_common_ptr Info)
{
    if (Info->is_decompressor && reinterpret_cast<j_decompress_ptr>(Info)->input_scan_number > MaxJPEGScans) {
        TJPEGDecoder* D = DecoderOf(Info);
        std::snprintf(D->Message, sizeof D->Message, "more than %d scans", MaxJPEGScans);
        std::longjmp(D->Jump, 1);
    }
}

// Between setjmp and any longjmp this function creates no C++ object; the
// decoder state lives in D, owned by the caller. Returns false with
// D.Message set when libjpeg failed. Out is sized by the caller's lambda
// once the header is known.
template <typename TSizer>
bool RunJPEGDecoder(TJPEGDecoder& D, const std::uint8_t* Data, unsigned long Size, TSizer& SizeOutput)
{
    D.Info.err = jpeg_std_error(&D.Errors);
    D.Errors.error_exit = JPEGErrorExit;
    D.Errors.emit_message = JPEGEmitMessage;
    D.Message[0] = '\0';
    if (setjmp(D.Jump)) {
        jpeg_destroy_decompress(&D.Info);
        return false;
    }
    jpeg_create_decompress(&D.Info);
    D.Progress.progress_monitor = JPEGProgress;
    D.Info.progress = &D.Progress;
    jpeg_mem_src(&D.Info, Data, Size);
    jpeg_read_header(&D.Info, TRUE);
    D.Info.out_color_space = JCS_RGB;   // grayscale images expand to RGB
    jpeg_calc_output_dimensions(&D.Info);
    std::uint8_t* Rows = nullptr;
    const char* Refused = SizeOutput(D.Info.output_width, D.Info.output_height, Rows);
    if (Refused) {
        std::snprintf(D.Message, sizeof D.Message, "%s", Refused);
        jpeg_destroy_decompress(&D.Info);
        return false;
    }
    jpeg_start_decompress(&D.Info);
    if (D.Info.output_components != 3) {
        std::snprintf(D.Message, sizeof D.Message, "%d colour components", D.Info.output_components);
        jpeg_destroy_decompress(&D.Info);
        return false;
    }
    const std::size_t RowSize = std::size_t(D.Info.output_width) * 3;
    while (D.Info.output_scanline < D.Info.output_height) {
        JSAMPROW Row = Rows + std::size_t(D.Info.output_scanline) * RowSize;
        if (jpeg_read_scanlines(&D.Info, &Row, 1) != 1) {
            std::snprintf(D.Message, sizeof D.Message, "no scan line");
            jpeg_destroy_decompress(&D.Info);
            return false;
        }
    }
    jpeg_finish_decompress(&D.Info);
    jpeg_destroy_decompress(&D.Info);
    return true;
}

} // namespace

TGLBitmap DecodeJPEG(std::span<const std::uint8_t> Data, std::string_view Source)
{
    if (Data.size() > ULONG_MAX)
        throw EGlimmoraError("JPEG error (" + std::string(Source) + "): the data is too large");
    TGLBitmap Bitmap;
    std::string SizeError;
    // Runs inside the decoder, so it must not throw: it reports instead.
    auto SizeOutput = [&](JDIMENSION Width, JDIMENSION Height, std::uint8_t*& Rows) noexcept -> const char* {
        try {
            CheckImageSize(Width, Height, Source);
            Bitmap.SetSize(bf24Bit, std::int32_t(Width), std::int32_t(Height));
            Rows = Bitmap.Pixels.data();
            return nullptr;
        } catch (const std::exception& E) {
            SizeError = E.what();
            return "image size refused";
        }
    };
    auto D = std::make_unique<TJPEGDecoder>();
    if (!RunJPEGDecoder(*D, Data.data(), static_cast<unsigned long>(Data.size()), SizeOutput)) {
        if (!SizeError.empty())
            throw EGlimmoraError(SizeError);
        throw EGlimmoraError("JPEG error (" + std::string(Source) + "): " + D->Message);
    }
    return Bitmap;
}

// Loaders ----------------------------------------------------------------------

std::vector<std::uint8_t> ReadFileBytes(const std::string& Path)
{
    std::ifstream File(Path, std::ios::binary | std::ios::ate);
    if (!File)
        throw EGlimmoraError("Cannot open file \"" + Path + "\"");
    const std::streamoff Size = File.tellg();
    // Asset files are small; anything near the limit is not one of ours.
    if (Size < 0 || Size > (std::streamoff(1) << 28))
        throw EGlimmoraError("Cannot read file \"" + Path + "\": bad size");
    std::vector<std::uint8_t> Bytes(static_cast<std::size_t>(Size));
    File.seekg(0);
    if (Size > 0 && !File.read(reinterpret_cast<char*>(Bytes.data()), Size))
        throw EGlimmoraError("Cannot read file \"" + Path + "\"");
    return Bytes;
}

std::vector<std::string> SplitLines(std::span<const std::uint8_t> Text)
{
    std::vector<std::string> Lines;
    std::string Line;
    bool Open = false;
    for (std::size_t i = 0; i < Text.size(); ++i) {
        const char C = static_cast<char>(Text[i]);
        if (C == '\r' || C == '\n') {
            Lines.push_back(std::move(Line));
            Line.clear();
            Open = false;
            if (C == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n')
                ++i;
        } else {
            Line.push_back(C);
            Open = true;
        }
    }
    if (Open)
        Lines.push_back(std::move(Line));
    return Lines;
}

TGLBitmap LoadBitmapResource(IEmbeddedResources& Resources, std::string_view FileName)
{
    return DecodeBitmapDIB(LoadResourceBytes(Resources, FileName, rkBitmap), FileName);
}

TJPEGImage LoadJPEGResource(IEmbeddedResources& Resources, std::string_view FileName)
{
    const auto Bytes = LoadResourceBytes(Resources, FileName, rkRawData);
    return TJPEGImage{std::vector<std::uint8_t>(Bytes.begin(), Bytes.end()), std::string(FileName)};
}

std::vector<std::string> LoadStringsResource(IEmbeddedResources& Resources, std::string_view FileName)
{
    return SplitLines(LoadResourceBytes(Resources, FileName, rkRawData));
}

std::string LowerExtension(std::string_view FileName)
{
    const std::size_t Slash = FileName.find_last_of("/\\:");
    const std::string_view Name = Slash == std::string_view::npos ? FileName : FileName.substr(Slash + 1);
    const std::size_t Dot = Name.rfind('.');
    std::string Ext(Dot == std::string_view::npos ? std::string_view() : Name.substr(Dot));
    for (char& C : Ext)
        if (C >= 'A' && C <= 'Z')
            C = char(C - 'A' + 'a');
    return Ext;
}

TGLBitmap LoadBMPImage(const TAssetSource& Assets, std::string_view Name)
{
    if (Assets.UseResources)
        return LoadBitmapResource(Assets.Resources, Name);
    const std::string Path = Assets.ImageDir + std::string(Name);
    return DecodeBitmapFile(ReadFileBytes(Path), Path);
}

TGLBitmap LoadJPEGImage(const TAssetSource& Assets, std::string_view Name)
{
    TJPEGImage Image;
    if (Assets.UseResources) {
        Image = LoadJPEGResource(Assets.Resources, Name);
    } else {
        Image.Source = Assets.ImageDir + std::string(Name);
        Image.Data = ReadFileBytes(Image.Source);
    }
    return DecodeJPEG(Image.Data, Image.Source);
}

std::unique_ptr<TGLBitmap> LoadBitmapImage(const TAssetSource& Assets, std::string_view Name)
{
    auto Bitmap = std::make_unique<TGLBitmap>();
    const std::string Ext = LowerExtension(Name);
    if (Ext == ".bmp")
        *Bitmap = LoadBMPImage(Assets, Name);
    else if (Ext == ".jpg" || Ext == ".jepg")
        *Bitmap = LoadJPEGImage(Assets, Name);
    return Bitmap;
}
