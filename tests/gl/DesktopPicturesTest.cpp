// Pictures as a 32-bit desktop shows them: the headless context's colour
// depth, and the PNG files the snapshots are written to.
#include <gtest/gtest.h>

#include <png.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <vector>

#include "HeadlessEngine.h"
#include "app/linux/LinuxProgram.h"
#include "fakes/TempDir.h"
#include "platform/headless/PngFile.h"

namespace {

// The configs Mesa's software renderer offers for a 16-bit request, in its
// order: every colour depth with depths 16, 24 (with and without stencil),
// 32, each also multisampled.
std::vector<TEGLConfigSizes> MesaLike()
{
    std::vector<TEGLConfigSizes> C;
    const int Colours[][4] = {{5, 6, 5, 0}, {8, 8, 8, 0}, {10, 10, 10, 0}, {8, 8, 8, 8}};
    for (const auto& Rgba : Colours)
        for (int Samples : {0, 4})
            for (const auto& [Depth, Stencil] : {std::pair{16, 0}, {24, 0}, {24, 8}, {32, 0}})
                C.push_back({Rgba[0], Rgba[1], Rgba[2], Rgba[3], Depth, Stencil, Samples});
    return C;
}

TPixelFormatRequest Asked(int Alpha, int Depth, int Stencil)
{
    TPixelFormatRequest R;
    R.ColorBits = 16;
    R.AlphaBits = Alpha;
    R.DepthBits = Depth;
    R.StencilBits = Stencil;
    return R;
}

TEST(DesktopLikeConfig, TakesEightBitsAChannelAndTheDesktopsDepthBuffer)
{
    struct TCase {
        TPixelFormatRequest Request;
        TEGLConfigSizes Expected;
    };
    const TCase Cases[] = {
        {Asked(0, 16, 0), {8, 8, 8, 0, 24, 0, 0}},   // the scene's request
        {Asked(0, 0, 0), {8, 8, 8, 0, 24, 0, 0}},
        {Asked(8, 16, 0), {8, 8, 8, 8, 24, 0, 0}},
        {Asked(0, 16, 8), {8, 8, 8, 0, 24, 8, 0}},
        {Asked(0, 32, 0), {8, 8, 8, 0, 32, 0, 0}},
    };
    const std::vector<TEGLConfigSizes> Configs = MesaLike();
    for (const TCase& C : Cases) {
        const int I = DesktopLikeConfig(Configs, C.Request);
        ASSERT_GE(I, 0);
        const TEGLConfigSizes& Got = Configs[std::size_t(I)];
        const TEGLConfigSizes& E = C.Expected;
        EXPECT_EQ(std::tie(Got.Red, Got.Green, Got.Blue, Got.Alpha, Got.Depth, Got.Stencil, Got.Samples),
                  std::tie(E.Red, E.Green, E.Blue, E.Alpha, E.Depth, E.Stencil, E.Samples))
            << "asked alpha " << C.Request.AlphaBits << ", depth " << C.Request.DepthBits << ", stencil "
            << C.Request.StencilBits;
    }
}

TEST(DesktopLikeConfig, ADepthBelowTheDesktopsIsTakenWhenNothingElseHasEightBits)
{
    EXPECT_EQ(DesktopLikeConfig({{5, 6, 5, 0, 24, 0, 0}, {8, 8, 8, 0, 16, 0, 0}}, Asked(0, 16, 0)), 1);
}

TEST(DesktopLikeConfig, WithoutAnEightBitConfigTheCallerKeepsTheFirstMatch)
{
    EXPECT_EQ(DesktopLikeConfig({{5, 6, 5, 0, 16, 0, 0}, {10, 10, 10, 0, 24, 0, 0}, {8, 8, 8, 0, 24, 0, 4}},
                                Asked(0, 16, 0)),
              -1);
    EXPECT_EQ(DesktopLikeConfig({}, Asked(0, 16, 0)), -1);
}

// The engine's 16-bit request on the real backend: a smooth ramp across the
// window keeps every one of its 256 levels, not the 32 of 5-6-5.
TEST(DesktopPictures, AHeadlessContextDrawsEightBitsAChannel)
{
    constexpr int Size = 256;
    THeadlessEngine GL{Size};
    ASSERT_TRUE(GL.Start(16));
    EXPECT_EQ(GL.Engine.ColorBits, 24);
    EXPECT_GE(GL.Engine.DepthBits, 16);
    glViewport(0, 0, Size, Size);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_FOG);
    glShadeModel(GL_SMOOTH);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // Black at the left edge, white at the right; half a pixel in from each
    // edge so the pixel centres sample 0.5/256 .. 255.5/256.
    const float Edge = 1.0f / Size;
    const GLfloat Corners[] = {-1 - Edge, -1, 1 + Edge, -1, -1 - Edge, 1, 1 + Edge, 1};
    const GLfloat Colours[] = {0, 0, 0, 1, 1, 1, 1, 1, 0, 0, 0, 1, 1, 1, 1, 1};
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, Corners);
    glColorPointer(4, GL_FLOAT, 0, Colours);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glFinish();
    const std::vector<uint8_t> Pixels = ReadFramePixels(Size, Size);
    GL.Stop();
    for (int Channel = 0; Channel < 3; ++Channel) {
        std::set<int> Levels;
        for (int X = 0; X < Size; ++X)
            Levels.insert(Pixels[std::size_t(Size / 2 * Size + X) * 3 + std::size_t(Channel)]);
        EXPECT_GT(Levels.size(), 200u) << "channel " << Channel;
    }
}

// Reads a PNG back with libpng as RGB, rows top-down.
std::vector<uint8_t> ReadPng(const std::string& File, int& Width, int& Height)
{
    png_image Image;
    std::memset(&Image, 0, sizeof(Image));
    Image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&Image, File.c_str()))
        return {};
    Image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> Rgb(PNG_IMAGE_SIZE(Image));
    if (!png_image_finish_read(&Image, nullptr, Rgb.data(), 0, nullptr))
        return {};
    Width = int(Image.width);
    Height = int(Image.height);
    return Rgb;
}

TEST(PngFile, EveryByteComesBackAndSmoothPicturesShrink)
{
    TTempDir Dir;
    const std::unique_ptr<IPictureFileWriter> Writer = CreatePngFileWriter();
    // Ramps in every channel, with a few colours 5-6-5 cannot hold.
    const int W = 320, H = 200;
    std::vector<uint8_t> Rgb(std::size_t(W) * H * 3);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            uint8_t* P = &Rgb[(std::size_t(Y) * W + std::size_t(X)) * 3];
            P[0] = uint8_t(X * 255 / (W - 1));
            P[1] = uint8_t(Y * 255 / (H - 1));
            P[2] = uint8_t((X + Y) / 2 % 256);
        }
    const uint8_t Odd[] = {1, 130, 253};
    std::copy(std::begin(Odd), std::end(Odd), Rgb.begin() + 3 * (7 * W + 9));
    const std::string File = Dir.File("ramp.png");
    ASSERT_EQ(Writer->WriteRGB(File, W, H, Rgb), "");
    int RW = 0, RH = 0;
    EXPECT_EQ(ReadPng(File, RW, RH), Rgb);
    EXPECT_EQ(RW, W);
    EXPECT_EQ(RH, H);
    // Compressed: far below the 192000 bytes of raw pixels.
    EXPECT_LT(std::filesystem::file_size(File), Rgb.size() / 10);
    // No time stamp: the same pixels give the same bytes.
    ASSERT_EQ(Writer->WriteRGB(Dir.File("again.png"), W, H, Rgb), "");
    EXPECT_EQ(TTempDir::Read(Dir.File("again.png")), TTempDir::Read(File));
}

TEST(PngFile, FailuresSayWhyAndLeaveNoFile)
{
    TTempDir Dir;
    const std::unique_ptr<IPictureFileWriter> Writer = CreatePngFileWriter();
    const std::vector<uint8_t> Rgb(2 * 2 * 3, 200);
    const std::string Missing = Dir.File("no/such/folder/a.png");
    EXPECT_EQ(Writer->WriteRGB(Missing, 2, 2, Rgb), "Cannot write \"" + Missing + "\": No such file or directory");
    EXPECT_FALSE(std::filesystem::exists(Missing));
    const std::string Short = Dir.File("short.png");
    EXPECT_EQ(Writer->WriteRGB(Short, 2, 3, Rgb),
              "Cannot write \"" + Short + "\": the picture size does not match its pixels");
    EXPECT_FALSE(std::filesystem::exists(Short));
    // A full disk: the device takes the file but refuses every write; it
    // is reported, and the device itself is not removed.
    EXPECT_EQ(Writer->WriteRGB("/dev/full", 2, 2, Rgb), "Cannot write \"/dev/full\": No space left on device");
    EXPECT_TRUE(std::filesystem::exists("/dev/full"));
}

} // namespace
