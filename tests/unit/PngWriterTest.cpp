#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/PngWriter.h"
#include "gl/Errors.h"

namespace {

uint32_t Get32(const std::vector<uint8_t>& D, std::size_t At)
{
    return (uint32_t(D[At]) << 24) | (uint32_t(D[At + 1]) << 16) | (uint32_t(D[At + 2]) << 8) | D[At + 3];
}

// Walks the chunks, checks each CRC and unpacks the stored deflate blocks.
std::vector<uint8_t> Inflate(const std::vector<uint8_t>& Png, uint32_t& Width, uint32_t& Height)
{
    std::vector<uint8_t> Z, Raw;
    for (std::size_t At = 8; At < Png.size();) {
        const uint32_t Len = Get32(Png, At);
        const std::string Type(Png.begin() + std::ptrdiff_t(At + 4), Png.begin() + std::ptrdiff_t(At + 8));
        EXPECT_EQ(Crc32(std::span<const uint8_t>(Png.data() + At + 4, Len + 4)), Get32(Png, At + 8 + Len)) << Type;
        if (Type == "IHDR") {
            Width = Get32(Png, At + 8);
            Height = Get32(Png, At + 12);
        } else if (Type == "IDAT") {
            Z.insert(Z.end(), Png.begin() + std::ptrdiff_t(At + 8), Png.begin() + std::ptrdiff_t(At + 8 + Len));
        }
        At += 12 + Len;
    }
    for (std::size_t At = 2; At + 4 < Z.size();) {
        const bool Last = Z[At] & 1;
        const std::size_t Len = Z[At + 1] | (Z[At + 2] << 8);
        EXPECT_EQ((Len ^ (Z[At + 3] | (Z[At + 4] << 8))), 0xFFFFu);
        Raw.insert(Raw.end(), Z.begin() + std::ptrdiff_t(At + 5), Z.begin() + std::ptrdiff_t(At + 5 + Len));
        At += 5 + Len;
        if (Last)
            break;
    }
    return Raw;
}

} // namespace

TEST(PngWriter, KnownCrc)
{
    const std::string Text = "123456789";
    EXPECT_EQ(Crc32(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(Text.data()), Text.size())),
              0xCBF43926u);
}

TEST(PngWriter, RowsSurviveWithAFilterByteEachAcrossSeveralBlocks)
{
    const int W = 200, H = 150;   // 90150 bytes of rows: two stored blocks
    std::vector<uint8_t> Rgb(std::size_t(W) * H * 3);
    for (std::size_t i = 0; i < Rgb.size(); ++i)
        Rgb[i] = static_cast<uint8_t>(i * 7 + 3);
    const std::vector<uint8_t> Png = EncodePNG(W, H, Rgb);
    ASSERT_EQ(std::string(Png.begin() + 1, Png.begin() + 4), "PNG");
    uint32_t Width = 0, Height = 0;
    const std::vector<uint8_t> Raw = Inflate(Png, Width, Height);
    EXPECT_EQ(Width, uint32_t(W));
    EXPECT_EQ(Height, uint32_t(H));
    ASSERT_EQ(Raw.size(), std::size_t(H) * (W * 3 + 1));
    for (int y = 0; y < H; ++y) {
        ASSERT_EQ(Raw[std::size_t(y) * (W * 3 + 1)], 0) << y;
        ASSERT_EQ(Raw[std::size_t(y) * (W * 3 + 1) + 1], Rgb[std::size_t(y) * W * 3]) << y;
    }
}

TEST(PngWriter, SizeMismatchIsRefused)
{
    EXPECT_THROW(EncodePNG(2, 2, std::vector<uint8_t>(11)), EGlimmoraError);
    EXPECT_THROW(EncodePNG(0, 2, {}), EGlimmoraError);
}
