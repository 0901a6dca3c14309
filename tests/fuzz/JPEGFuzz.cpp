// Feeds arbitrary bytes to the image decoders: input that starts with "BM"
// goes to the bitmap decoders (as a .bmp file and, without its 14-byte
// header, as a bitmap resource's DIB), anything else to the JPEG decoder.
// A clean EGlimmoraError is the expected answer to bad input; a crash, a
// sanitizer report, another exception, an exit or a hang is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "gl/Errors.h"
#include "gl/GLUtils.h"

namespace {

void Check(const TGLBitmap& B)
{
    if (B.Empty())
        return;
    // The record must be consistent, and every pixel readable.
    if (B.Width <= 0 || B.Height <= 0 || B.Pixels.size() != B.RowSize() * std::size_t(B.Height))
        std::abort();
    unsigned Sum = 0;
    for (std::int32_t Y = 0; Y < B.Height; Y += 7)
        for (std::int32_t X = 0; X < B.Width; X += 5) {
            const TBitmapColor C = B.PixelColor(X, Y);
            Sum += C.R + C.G + C.B;
        }
    volatile unsigned Sink = Sum;
    (void)Sink;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::span<const std::uint8_t> Bytes(Data, Size);
    try {
        if (Size >= 2 && Data[0] == 'B' && Data[1] == 'M') {
            try {
                Check(DecodeBitmapFile(Bytes, "fuzz.bmp"));
            } catch (const EGlimmoraError&) {
            }
            if (Size >= 14)
                Check(DecodeBitmapDIB(Bytes.subspan(14), "fuzz-dib"));
        } else {
            Check(DecodeJPEG(Bytes, "fuzz.jpg"));
        }
    } catch (const EGlimmoraError&) {
    }
    return 0;
}
