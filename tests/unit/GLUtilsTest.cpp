#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "fakes/SystemBackends.h"
#include "fixtures/ExpectedPixels.h"
#include "gl/Errors.h"
#include "gl/GLUtils.h"
#include "gl/Resources.h"

using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

constexpr TBitmapColor Red{255, 0, 0}, Green{0, 255, 0}, Blue{0, 0, 255}, Odd{30, 60, 91}, Black{0, 0, 0};

// A .bmp file around a packed DIB whose colour table has Entries entries.
std::vector<std::uint8_t> BitmapFile(const std::vector<std::uint8_t>& Dib, std::uint32_t Entries)
{
    const std::uint32_t Offset = 14 + 40 + 4 * Entries;
    const std::uint32_t Size = 14 + std::uint32_t(Dib.size());
    std::vector<std::uint8_t> File = {'B', 'M'};
    for (std::uint32_t V : {Size, 0u, Offset})
        for (int i = 0; i < 4; ++i)
            File.push_back(std::uint8_t(V >> (8 * i)));
    File.insert(File.end(), Dib.begin(), Dib.end());
    return File;
}

void Put32(std::vector<std::uint8_t>& B, std::size_t At, std::uint32_t V)
{
    for (int i = 0; i < 4; ++i)
        B.at(At + i) = std::uint8_t(V >> (8 * i));
}

bool Near(TBitmapColor A, TBitmapColor B, int Tolerance)
{
    return std::abs(A.R - B.R) <= Tolerance && std::abs(A.G - B.G) <= Tolerance && std::abs(A.B - B.B) <= Tolerance;
}

// Images from the test program's embedded resources.
class ImageLoaders : public ::testing::Test {
protected:
    const std::unique_ptr<IEmbeddedResources> Module = CreateModuleResources();
    const TAssetSource Assets = EmbeddedAssets(*Module);

    std::vector<std::uint8_t> ResourceCopy(const char* Name, TResourceKind Kind) const
    {
        const auto Bytes = LoadResourceBytes(*Module, Name, Kind);
        return {Bytes.begin(), Bytes.end()};
    }
};

} // namespace

TEST_F(ImageLoaders, ProgressiveJPEGDecodesToTheStoredPixelsOnEveryPlatform)
{
    const auto Bitmap = LoadBitmapImage(Assets, "textures/fixture_prog.jpg");
    ASSERT_EQ(Bitmap->Format, bf24Bit);
    ASSERT_EQ(Bitmap->Width, 16);
    ASSERT_EQ(Bitmap->Height, 16);
    ASSERT_EQ(Bitmap->Pixels.size(), sizeof FixtureProgPixels);
    EXPECT_TRUE(std::equal(Bitmap->Pixels.begin(), Bitmap->Pixels.end(), FixtureProgPixels));
    // The quadrants were drawn red, green / blue, white, top row first.
    const std::tuple<int, int, TBitmapColor> Probes[] = {
        {0, 0, Red}, {15, 0, Green}, {0, 15, Blue}, {15, 15, {255, 255, 255}}, {4, 11, Blue}};
    for (const auto& [X, Y, Colour] : Probes)
        EXPECT_TRUE(Near(Bitmap->PixelColor(X, Y), Colour, 3)) << X << "," << Y;
}

TEST_F(ImageLoaders, GrayscaleJPEGExpandsToRGB)
{
    // Extension and resource name match without regard to case.
    const auto Bitmap = LoadBitmapImage(Assets, "x\\fixture_gray.MIXED.jpg");
    ASSERT_EQ(Bitmap->Format, bf24Bit);
    ASSERT_EQ(Bitmap->Width, 16);
    ASSERT_EQ(Bitmap->Height, 8);
    EXPECT_TRUE(Near(Bitmap->PixelColor(3, 4), {64, 64, 64}, 2));
    EXPECT_TRUE(Near(Bitmap->PixelColor(12, 4), {192, 192, 192}, 2));
}

TEST_F(ImageLoaders, CorruptOrTruncatedJPEGRaisesANamedError)
{
    const std::vector<std::uint8_t> Good = ResourceCopy("fixture_prog.jpg", rkRawData);
    ASSERT_NO_THROW(DecodeJPEG(Good, "good.jpg"));
    auto Cut = [&](std::size_t N) { return std::vector<std::uint8_t>(Good.begin(), Good.begin() + N); };
    std::vector<std::uint8_t> Garbled = Good;
    for (std::size_t i = Garbled.size() / 2; i < Garbled.size() - 2; ++i)
        Garbled[i] = std::uint8_t(i * 37);
    std::vector<std::uint8_t> NoMarker = Good;
    NoMarker[1] = 0x00;   // SOI becomes FF 00
    const std::vector<std::vector<std::uint8_t>> Cases = {
        {}, Cut(2), Cut(20), Cut(Good.size() / 2), Cut(Good.size() - 2), Garbled, NoMarker,
        std::vector<std::uint8_t>(300, 0xFF)};
    for (std::size_t i = 0; i < Cases.size(); ++i) {
        try {
            DecodeJPEG(Cases[i], "bad.jpg");
            ADD_FAILURE() << "case " << i << " decoded";
        } catch (const EGlimmoraError& E) {
            EXPECT_THAT(E.what(), StartsWith("JPEG error (bad.jpg): ")) << i;
            EXPECT_GT(std::string(E.what()).size(), std::string("JPEG error (bad.jpg): ").size()) << i;
        }
    }
}

TEST_F(ImageLoaders, HugeJPEGSizeIsRefusedBeforeAllocating)
{
    std::vector<std::uint8_t> Big = ResourceCopy("fixture_prog.jpg", rkRawData);
    // The frame header (FF C2, length, precision, height, width).
    const std::uint8_t Marker[] = {0xFF, 0xC2};
    const auto Sof = std::search(Big.begin(), Big.end(), std::begin(Marker), std::end(Marker));
    ASSERT_NE(Sof, Big.end());
    const std::size_t At = std::size_t(Sof - Big.begin()) + 5;
    Big.at(At) = 0x4E, Big.at(At + 1) = 0x20, Big.at(At + 2) = 0x4E, Big.at(At + 3) = 0x20;
    EXPECT_THROW(
        {
            try {
                DecodeJPEG(Big, "big.jpg");
            } catch (const EGlimmoraError& E) {
                EXPECT_THAT(E.what(), HasSubstr("Image too large: 20000 x 20000 (big.jpg)"));
                throw;
            }
        },
        EGlimmoraError);
}

TEST_F(ImageLoaders, BitmapsDecodeTopRowFirstWithTheirColours)
{
    const TBitmapColor Square[2][2] = {{Red, Green}, {Blue, Odd}};
    const std::pair<const char*, TBitmapFormat> Cases[] = {
        {"fixture24.bmp", bf24Bit}, {"fixture24td.bmp", bf24Bit}, {"fixture8.bmp", bf8Bit}};
    for (const auto& [Name, Format] : Cases) {
        const auto Bitmap = LoadBitmapImage(Assets, Name);
        ASSERT_EQ(Bitmap->Format, Format) << Name;
        ASSERT_EQ(Bitmap->Width, 2);
        ASSERT_EQ(Bitmap->Height, 2);
        for (int Y = 0; Y < 2; ++Y)
            for (int X = 0; X < 2; ++X)
                EXPECT_EQ(Bitmap->PixelColor(X, Y), Square[Y][X]) << Name << " " << X << "," << Y;
    }
}

TEST_F(ImageLoaders, IndicesPastAShortColourTableReadBlack)
{
    const auto Bitmap = LoadBitmapImage(Assets, "fixture8short.bmp");
    ASSERT_EQ(Bitmap->Format, bf8Bit);
    EXPECT_EQ(Bitmap->PixelColor(0, 0), (TBitmapColor{10, 20, 30}));
    EXPECT_EQ(Bitmap->PixelColor(1, 0), (TBitmapColor{40, 50, 60}));
    EXPECT_EQ(Bitmap->PixelColor(0, 1), Black);   // index 200
    EXPECT_EQ(Bitmap->PixelColor(1, 1), Black);   // index 255
    for (std::size_t i = 2; i < 256; ++i)
        EXPECT_EQ(Bitmap->Palette[i], Black);

    // In a file the table ends where the pixels start, whatever biClrUsed
    // claims: a table cut to one entry leaves index 1 black.
    std::vector<std::uint8_t> Dib = ResourceCopy("fixture8short.bmp", rkBitmap);
    std::vector<std::uint8_t> File = BitmapFile(Dib, 2);
    Put32(File, 10, 14 + 40 + 4);   // pixel offset inside the table
    File.erase(File.begin() + 14 + 40 + 4, File.begin() + 14 + 40 + 8);
    const TGLBitmap Cut = DecodeBitmapFile(File, "cut.bmp");
    EXPECT_EQ(Cut.PixelColor(0, 0), (TBitmapColor{10, 20, 30}));
    EXPECT_EQ(Cut.PixelColor(1, 0), Black);
}

TEST_F(ImageLoaders, OtherDepthsGiveNoBitmap)
{
    EXPECT_TRUE(LoadBitmapImage(Assets, "fixture4.bmp")->Empty());
    // 24 bits with run-length compression is not taken either.
    std::vector<std::uint8_t> Dib = ResourceCopy("fixture24.bmp", rkBitmap);
    Put32(Dib, 16, 1);
    EXPECT_TRUE(DecodeBitmapDIB(Dib, "rle.bmp").Empty());
}

TEST_F(ImageLoaders, MalformedBitmapsRaiseAndHugeSizesAreRefused)
{
    const std::vector<std::uint8_t> Dib = ResourceCopy("fixture24.bmp", rkBitmap);
    const std::vector<std::uint8_t> File = BitmapFile(Dib, 0);
    ASSERT_EQ(DecodeBitmapFile(File, "ok.bmp").PixelColor(0, 0), Red);

    struct Case {
        const char* What;
        std::size_t At;        // offset in the file, or SIZE_MAX to truncate
        std::uint32_t Value;   // the new 32-bit value, or the new length
        const char* Message;
        std::size_t At2 = 0;   // a second value, when not 0
        std::uint32_t Value2 = 0;
    };
    const Case Cases[] = {
        {"signature", 0, 0x3F3F3F3F, "no BM signature"},
        {"header size", 14, 20, "unknown header size 20"},
        {"width 0", 18, 0, "size 0 x 2"},
        {"negative width", 18, 0xFFFFFFFE, "size -2 x 2"},
        {"huge", 18, 100000, "Image too large: 100000 x 2"},
        {"huge area", 18, 8192, "Image too large: 8192 x 4096", 22, 4096},
        {"height of minus 2^31", 22, 0x80000000, "Image too large"},
        {"pixel offset past the end", 10, 4000, "pixel data is missing"},
        {"truncated rows", SIZE_MAX, 14 + 40 + 8, "pixel data is truncated"},
        {"truncated header", SIZE_MAX, 20, "header is truncated"},
    };
    for (const Case& C : Cases) {
        std::vector<std::uint8_t> Bad = File;
        if (C.At == SIZE_MAX)
            Bad.resize(C.Value);
        else
            Put32(Bad, C.At, C.Value);
        if (C.At2 != 0)
            Put32(Bad, C.At2, C.Value2);
        try {
            DecodeBitmapFile(Bad, "bad.bmp");
            ADD_FAILURE() << C.What << ": decoded";
        } catch (const EGlimmoraError& E) {
            EXPECT_THAT(E.what(), HasSubstr(C.Message)) << C.What;
        }
    }
}

TEST_F(ImageLoaders, FilesComeFromImageDirAndUnknownExtensionsGiveNothing)
{
    const std::filesystem::path Dir = std::filesystem::temp_directory_path() / "glimmora_image_loaders";
    std::filesystem::create_directories(Dir);
    const std::vector<std::uint8_t> Bmp = BitmapFile(ResourceCopy("fixture24.bmp", rkBitmap), 0);
    const std::vector<std::uint8_t> Jpg = ResourceCopy("fixture_prog.jpg", rkRawData);
    std::ofstream(Dir / "a.bmp", std::ios::binary).write(reinterpret_cast<const char*>(Bmp.data()), Bmp.size());
    std::ofstream(Dir / "b.JEPG", std::ios::binary).write(reinterpret_cast<const char*>(Jpg.data()), Jpg.size());

    const TAssetSource Files{*Module, false, "", Dir.string() + "/"};
    EXPECT_EQ(LoadBitmapImage(Files, "a.bmp")->PixelColor(1, 1), Odd);
    const auto FromFile = LoadBitmapImage(Files, "b.JEPG");
    ASSERT_EQ(FromFile->Pixels.size(), sizeof FixtureProgPixels);
    EXPECT_TRUE(std::equal(FromFile->Pixels.begin(), FromFile->Pixels.end(), FixtureProgPixels));
    EXPECT_THAT([&] { LoadBitmapImage(Files, "missing.jpg"); },
                ::testing::ThrowsMessage<EGlimmoraError>(HasSubstr("Cannot open file \"")));
    for (const char* Name : {"a.png", "b.jpeg", "a", "a.bmp.txt"})
        EXPECT_TRUE(LoadBitmapImage(Files, Name)->Empty()) << Name;
    std::filesystem::remove_all(Dir);
}

TEST(TGLBitmap, PixelAccessIsCheckedAndSizesAreBounded)
{
    TGLBitmap B;
    EXPECT_THROW(B.PixelColor(0, 0), EGlimmoraError);
    B.SetSize(bf8Bit, 4, 2);
    EXPECT_EQ(B.Pixels.size(), 8u);
    EXPECT_EQ(B.PixelColor(3, 1), Black);
    EXPECT_THROW(B.PixelColor(4, 0), EGlimmoraError);
    EXPECT_THROW(B.PixelColor(0, -1), EGlimmoraError);
    EXPECT_THROW(B.SetSize(bf24Bit, MaxImageSide, MaxImageSide), EGlimmoraError);
    EXPECT_TRUE(B.Empty());
    EXPECT_TRUE(B.Pixels.empty());
}
