#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes/ErrorOf.h"
#include "fakes/RecordingGL.h"
#include "fakes/SystemBackends.h"
#include "gl/Errors.h"
#include "gl/GLTexture.h"
#include "gl/GLUtils.h"
#include "gl/Resources.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <type_traits>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

// The calls of a first Bind of a fresh 4 x 4 RGB texture named 1.
std::vector<std::string> FirstBindCalls()
{
    return {"glGenTextures(1,out)",
            "glBindTexture(GL_TEXTURE_2D,1)",
            "glTexParameterf(GL_TEXTURE_2D,GL_TEXTURE_PRIORITY,1)",
            "glTexImage2D(GL_TEXTURE_2D,0,GL_RGB8,4,4,0,GL_RGB,GL_UNSIGNED_BYTE,pixels)",
            "glTexParameteri(GL_TEXTURE_2D,GL_TEXTURE_MAG_FILTER,GL_LINEAR)",
            "glTexParameteri(GL_TEXTURE_2D,GL_TEXTURE_MIN_FILTER,GL_LINEAR)",
            "glTexParameteri(GL_TEXTURE_2D,GL_TEXTURE_WRAP_S,GL_REPEAT)",
            "glTexParameteri(GL_TEXTURE_2D,GL_TEXTURE_WRAP_T,GL_REPEAT)",
            "glTexEnvi(GL_TEXTURE_ENV,GL_TEXTURE_ENV_MODE,GL_MODULATE)",
            "glTexEnvfv(GL_TEXTURE_ENV,GL_TEXTURE_ENV_COLOR,1,1,1,1)",
            "glEnable(GL_TEXTURE_2D)",
            "glBindTexture(GL_TEXTURE_2D,0)",
            "glBindTexture(GL_TEXTURE_2D,1)"};
}

// Images from the test program's embedded resources.
class ImageAssets : public ::testing::Test {
protected:
    const std::unique_ptr<IEmbeddedResources> Module = CreateModuleResources();
    const TAssetSource Assets = EmbeddedAssets(*Module);
};

} // namespace

TEST(TGLTexture, StartsWithItsDefaultsAndNoPixels)
{
    const auto TRef = MakeGLRef<TGLTexture>();
    TGLTexture& T = *TRef;
    EXPECT_EQ(T.BytesPerPixel(), 3);
    EXPECT_EQ(T.Pixels(), nullptr);
    EXPECT_FALSE(T.Created());
    EXPECT_TRUE(T.RepeatWrap());
    EXPECT_EQ(T.Width() + T.Height() + T.RowSize(), 0);
    EXPECT_EQ(T.EnvColor().R + T.EnvColor().G + T.EnvColor().B + T.EnvColor().A, 4.0f);
    EXPECT_EQ(T.Filter(), flLinear);
    EXPECT_EQ(T.Format(), tfRGB);
    EXPECT_EQ(T.EnvMode(), emModulate);
    EXPECT_EQ(T.TextureName(), 0u);
    EXPECT_EQ(T.Target(), GL_TEXTURE_2D);
    EXPECT_EQ(T.MagFilter(), GL_LINEAR);
    EXPECT_EQ(T.MinFilter(), GL_LINEAR);
    EXPECT_EQ(T.GLEnvMode(), GL_MODULATE);
    EXPECT_EQ(T.GLWrap(), GL_REPEAT);
    EXPECT_EQ(T.Changed(), TGLTexture::chFilter | TGLTexture::chWrap | TGLTexture::chEnvMode | TGLTexture::chEnvColor);
}

TEST(TGLTexture, SetSizeTakesPowersOfTwoAndChecksTheBufferSize)
{
    const char* NotPower2 = "TGLTexture.SetSize error: a size is not power 2";
    struct Case {
        TGLTextureFormat Format;
        int32_t Width, Height;
        const char* Error;   // "" when it passes
        int32_t RowSize = 0;
        GLenum Target = 0, InternalFormat = 0, GLFormat = 0;
    };
    const Case Cases[] = {
        {tfRGB, 256, 256, "", 768, GL_TEXTURE_2D, GL_RGB8, GL_RGB},
        {tfRGBA, 64, 1, "", 256, GL_TEXTURE_1D, GL_RGBA8, GL_RGBA},
        {tfRGB, 1, 2, "", 3, GL_TEXTURE_2D, GL_RGB8, GL_RGB},
        {tfRGB, 512, 4, "", 1536, GL_TEXTURE_2D, GL_RGB8, GL_RGB},
        {tfRGB, 0, 4, NotPower2},
        {tfRGB, 100, 4, NotPower2},
        {tfRGB, 640, 4, NotPower2},
        {tfRGB, 4, 0, NotPower2},
        {tfRGB, -4, 4, NotPower2},
        {tfRGBA, 4, 6, NotPower2},
        {tfRGB, int32_t(1) << 30, 1, "TGLTexture.SetSize error: the size 1073741824 x 1 is too large"},
        {tfRGBA, 16384, 16384, "TGLTexture.SetSize error: the size 16384 x 16384 is too large"},
    };
    for (const Case& C : Cases) {
        const auto TRef = MakeGLRef<TGLTexture>();
        TGLTexture& T = *TRef;
        T.SetSize(tfRGB, 2, 2);   // a buffer the failing calls must free
        const std::string Error = ErrorOf([&] { T.SetSize(C.Format, C.Width, C.Height); });
        EXPECT_EQ(Error, C.Error) << C.Width << " x " << C.Height;
        if (*C.Error) {
            EXPECT_EQ(T.Pixels(), nullptr);
            continue;
        }
        EXPECT_EQ(T.RowSize(), C.RowSize);
        EXPECT_EQ(T.Target(), C.Target);
        EXPECT_EQ(T.InternalFormat(), C.InternalFormat);
        EXPECT_EQ(T.GLFormat(), C.GLFormat);
        EXPECT_EQ(T.GLType(), GL_UNSIGNED_BYTE);
        EXPECT_EQ(T.BytesPerPixel(), C.Format == tfRGBA ? 4 : 3);
        ASSERT_NE(T.Pixels(), nullptr);
        EXPECT_EQ(T.PixelRow(C.Height - 1), T.Pixels() + std::size_t(C.RowSize) * std::size_t(C.Height - 1));
        T.PixelRow(C.Height - 1)[C.RowSize - 1] = 7;   // the buffer's last byte is ours
        EXPECT_TRUE(T.Changed() & TGLTexture::chImage);
    }
}

TEST(TGLTexture, PixelRowIsChecked)
{
    const auto TRef = MakeGLRef<TGLTexture>();
    TGLTexture& T = *TRef;
    EXPECT_THROW(T.PixelRow(0), EGlimmoraError);
    T.SetSize(tfRGB, 4, 2);
    EXPECT_NO_THROW(T.PixelRow(1));
    EXPECT_THROW(T.PixelRow(2), EGlimmoraError);
    EXPECT_THROW(T.PixelRow(-1), EGlimmoraError);
}

TEST(TGLTexture, FirstBindCreatesAndUploadsEverythingASecondOnlyBinds)
{
    TRecordingGL GL;
    const auto TRef = MakeGLRef<TGLTexture>();
    TGLTexture& T = *TRef;
    T.SetSize(tfRGB, 4, 4);
    GL.NamePointer(T.Pixels(), "pixels");
    T.Bind();
    EXPECT_THAT(GL.Calls, ElementsAreArray(FirstBindCalls()));
    EXPECT_TRUE(T.Created());
    EXPECT_EQ(T.TextureName(), 1u);
    EXPECT_EQ(T.Changed(), 0u);

    GL.Clear();
    T.Bind();
    EXPECT_THAT(GL.Calls, ElementsAre("glBindTexture(GL_TEXTURE_2D,1)"));
}

TEST(TGLTexture, InvalidateImageReuploadsThePixelsButNotTheParameters)
{
    TRecordingGL GL;
    const auto TRef = MakeGLRef<TGLTexture>();
    TGLTexture& T = *TRef;
    T.SetSize(tfRGB, 4, 4);
    GL.NamePointer(T.Pixels(), "pixels");
    T.Bind();
    GL.Clear();
    T.InvalidateImage();
    T.Bind();
    EXPECT_THAT(GL.Calls,
                ElementsAre("glBindTexture(GL_TEXTURE_2D,1)", "glTexParameterf(GL_TEXTURE_2D,GL_TEXTURE_PRIORITY,1)",
                            "glTexImage2D(GL_TEXTURE_2D,0,GL_RGB8,4,4,0,GL_RGB,GL_UNSIGNED_BYTE,pixels)",
                            "glBindTexture(GL_TEXTURE_2D,1)"));
}

TEST(TGLTexture, DeleteTextureKeepsThePixelsAndTheNextBindCreatesAnew)
{
    TRecordingGL GL;
    GL.NextTextureName = 7;
    const auto TRef = MakeGLRef<TGLTexture>();
    TGLTexture& T = *TRef;
    T.SetSize(tfRGB, 4, 4);
    GL.NamePointer(T.Pixels(), "pixels");
    T.Bind();
    GL.Clear();
    T.DeleteTexture();
    EXPECT_THAT(GL.Calls, ElementsAre("glDeleteTextures(1,[7])"));
    EXPECT_FALSE(T.Created());
    EXPECT_NE(T.Pixels(), nullptr);
    T.DeleteTexture();   // nothing left to delete
    EXPECT_EQ(GL.Calls.size(), 1u);

    GL.Clear();
    GL.NextTextureName = 1;
    T.Bind();
    EXPECT_THAT(GL.Calls, ElementsAreArray(FirstBindCalls()));
}

TEST(TGLTexture, SettersMarkTheirBitAndUploadOnlyThatPart)
{
    struct Case {
        std::function<void(TGLTexture&)> Set;
        std::vector<std::string> Sent;
    };
    const Case Cases[] = {
        {[](TGLTexture& T) { T.SetFilter(flNearest); },
         {"glTexParameteri(GL_TEXTURE_2D,GL_TEXTURE_MAG_FILTER,GL_NEAREST)",
          "glTexParameteri(GL_TEXTURE_2D,GL_TEXTURE_MIN_FILTER,GL_NEAREST)"}},
        {[](TGLTexture& T) { T.SetFilter(flLinearMipmapNearest); },
         {"glTexParameteri(GL_TEXTURE_2D,GL_TEXTURE_MAG_FILTER,GL_LINEAR)",
          "glTexParameteri(GL_TEXTURE_2D,GL_TEXTURE_MIN_FILTER,GL_LINEAR_MIPMAP_NEAREST)"}},
        {[](TGLTexture& T) { T.SetFilter(flNearestMipmapLinear); },
         {"glTexParameteri(GL_TEXTURE_2D,GL_TEXTURE_MAG_FILTER,GL_NEAREST)",
          "glTexParameteri(GL_TEXTURE_2D,GL_TEXTURE_MIN_FILTER,GL_NEAREST_MIPMAP_LINEAR)"}},
        {[](TGLTexture& T) { T.SetRepeat(false); },
         {"glTexParameteri(GL_TEXTURE_2D,GL_TEXTURE_WRAP_S,GL_CLAMP)",
          "glTexParameteri(GL_TEXTURE_2D,GL_TEXTURE_WRAP_T,GL_CLAMP)"}},
        {[](TGLTexture& T) { T.SetEnvMode(emReplace); }, {"glTexEnvi(GL_TEXTURE_ENV,GL_TEXTURE_ENV_MODE,GL_REPLACE)"}},
        {[](TGLTexture& T) { T.SetEnvMode(emDecal); }, {"glTexEnvi(GL_TEXTURE_ENV,GL_TEXTURE_ENV_MODE,GL_DECAL)"}},
        {[](TGLTexture& T) { T.SetEnvColor({0.5f, 0.25f, 0, 1}); },
         {"glTexEnvfv(GL_TEXTURE_ENV,GL_TEXTURE_ENV_COLOR,0.5,0.25,0,1)"}},
    };
    for (const Case& C : Cases) {
        TRecordingGL GL;
        const auto TRef = MakeGLRef<TGLTexture>();
        TGLTexture& T = *TRef;
        T.SetSize(tfRGB, 4, 4);
        T.Bind();
        GL.Clear();
        C.Set(T);
        T.Bind();
        std::vector<std::string> Expected = {"glBindTexture(GL_TEXTURE_2D,1)",
                                             "glTexParameterf(GL_TEXTURE_2D,GL_TEXTURE_PRIORITY,1)"};
        Expected.insert(Expected.end(), C.Sent.begin(), C.Sent.end());
        Expected.push_back("glBindTexture(GL_TEXTURE_2D,1)");
        EXPECT_THAT(GL.Calls, ElementsAreArray(Expected));
    }
    const auto TRef = MakeGLRef<TGLTexture>();
    TGLTexture& T = *TRef;
    EXPECT_THROW(T.SetFilter(TGLTextureFilter(6)), EGlimmoraError);
    EXPECT_THROW(T.SetEnvMode(TGLTextureEnvMode(4)), EGlimmoraError);
}

TEST(TGLTexture, OneRowIsA1DTextureAndOddRowsUploadUnaligned)
{
    TRecordingGL GL;
    const auto LineRef = MakeGLRef<TGLTexture>();
    TGLTexture& Line = *LineRef;
    Line.SetSize(tfRGBA, 4, 1);
    GL.NamePointer(Line.Pixels(), "line");
    Line.Bind();
    EXPECT_THAT(GL.CallsOf("glTexImage1D"),
                ElementsAre("glTexImage1D(GL_TEXTURE_1D,0,GL_RGBA8,4,0,GL_RGBA,GL_UNSIGNED_BYTE,line)"));
    EXPECT_THAT(GL.CallsOf("glEnable"), ElementsAre("glEnable(GL_TEXTURE_1D)"));
    EXPECT_TRUE(GL.CallsOf("glPixelStorei").empty());   // 16-byte rows

    // RGB rows of 6 bytes: OpenGL must not assume 4-byte row alignment.
    GL.Clear();
    const auto SmallRef = MakeGLRef<TGLTexture>();
    TGLTexture& Small = *SmallRef;
    Small.SetSize(tfRGB, 2, 2);
    GL.NamePointer(Small.Pixels(), "small");
    Small.Bind();
    const auto& C = GL.Calls;
    const auto Upload = std::find(C.begin(), C.end(), "glTexImage2D(GL_TEXTURE_2D,0,GL_RGB8,2,2,0,GL_RGB,GL_UNSIGNED_BYTE,small)");
    ASSERT_NE(Upload, C.end());
    ASSERT_TRUE(Upload != C.begin() && Upload + 1 != C.end());
    EXPECT_EQ(*(Upload - 1), "glPixelStorei(GL_UNPACK_ALIGNMENT,1)");
    EXPECT_EQ(*(Upload + 1), "glPixelStorei(GL_UNPACK_ALIGNMENT,4)");
}

TEST(TGLTexture, ListsShareTexturesByReference)
{
    TGLTextureList A, B;
    A.Add(MakeGLRef<TGLTexture>());
    B.Add(A.Ref(0));
    EXPECT_EQ(B.Items(0), A.Items(0));
    EXPECT_EQ(A.Items(0)->RefCount(), 2);
    A.Clear();
    EXPECT_EQ(B.Items(0)->RefCount(), 1);
    B.Clear();   // frees the texture (no GL object was made)
}

// A texture is freed by its last reference only.
static_assert(!std::is_destructible_v<TGLTexture>);

TEST_F(ImageAssets, TextureFromBitmapFlipsRowsAndReadsPalettes)
{
    for (const char* Name : {"fixture24.bmp", "fixture8.bmp"}) {
        TRecordingGL GL;
        const auto Bitmap = LoadBitmapImage(Assets, Name);
        const auto T = TextureFromBitmap(Bitmap.get());
        ASSERT_TRUE(T) << Name;
        EXPECT_TRUE(GL.Calls.empty());   // nothing is uploaded before Bind
        EXPECT_EQ(T->Format(), tfRGB);
        ASSERT_EQ(T->Width(), 2);
        ASSERT_EQ(T->Height(), 2);
        // The picture's top row (red, green) is the texture's last row.
        const uint8_t* Top = T->PixelRow(1);
        const uint8_t* Bottom = T->PixelRow(0);
        EXPECT_EQ(std::vector<int>(Top, Top + 6), (std::vector<int>{255, 0, 0, 0, 255, 0})) << Name;
        EXPECT_EQ(std::vector<int>(Bottom, Bottom + 6), (std::vector<int>{0, 0, 255, 30, 60, 91})) << Name;
    }
    EXPECT_FALSE(TextureFromBitmap(nullptr));
    const TGLBitmap Empty;
    EXPECT_FALSE(TextureFromBitmap(&Empty));
    EXPECT_FALSE(TextureFromBitmap(LoadBitmapImage(Assets, "fixture4.bmp").get()));
}

TEST_F(ImageAssets, AlphaIsTheBrightnessOfTheSecondImage)
{
    const auto Colour = LoadBitmapImage(Assets, "fixture8.bmp");
    const auto Alpha = LoadBitmapImage(Assets, "fixture24.bmp");
    const auto T = TextureFromBitmaps(Colour.get(), Alpha.get());
    ASSERT_TRUE(T);
    EXPECT_EQ(T->Format(), tfRGBA);
    EXPECT_EQ(T->RowSize(), 8);
    // Bottom-right: colour (30, 60, 91) from the palette; alpha (30+60+91)/3.
    const uint8_t* Bottom = T->PixelRow(0);
    EXPECT_EQ(std::vector<int>(Bottom + 4, Bottom + 8), (std::vector<int>{30, 60, 91, 60}));
    EXPECT_EQ(T->PixelRow(1)[3], 85);   // red: 255 / 3
    EXPECT_EQ(T->PixelRow(1)[7], 85);   // green

    const auto Wide = LoadBitmapImage(Assets, "fixture24wide.bmp");
    EXPECT_FALSE(TextureFromBitmaps(Colour.get(), Wide.get()));
    EXPECT_FALSE(TextureFromBitmaps(Colour.get(), nullptr));
    EXPECT_FALSE(TextureFromBitmaps(LoadBitmapImage(Assets, "fixture4.bmp").get(), Colour.get()));

    // The same name twice (in any case): the colour image is its own alpha.
    const auto Own = LoadTextureWithAlpha(Assets, "Fixture24.BMP", "fixture24.bmp");
    ASSERT_TRUE(Own);
    EXPECT_EQ(std::vector<int>(Own->PixelRow(0), Own->PixelRow(0) + 8),
              (std::vector<int>{0, 0, 255, 85, 30, 60, 91, 60}));
    const auto Other = LoadTextureWithAlpha(Assets, "fixture24.bmp", "fixture8short.bmp");
    ASSERT_TRUE(Other);
    EXPECT_EQ(Other->PixelRow(1)[3], 20);   // (10 + 20 + 30) / 3
    EXPECT_EQ(Other->PixelRow(0)[3], 0);    // an index past the colour table
    EXPECT_FALSE(LoadTextureWithAlpha(Assets, "fixture24.bmp", "fixture24wide.bmp"));
}

TEST_F(ImageAssets, LoadTextureChoosesByExtension)
{
    const auto Caustic = LoadTexture(Assets, "data/Caust1.JPG");   // the resource CAUST1_JPG
    ASSERT_TRUE(Caustic);
    EXPECT_EQ(Caustic->Width(), 256);
    EXPECT_EQ(Caustic->Height(), 256);
    EXPECT_EQ(Caustic->Format(), tfRGB);

    const auto Bmp = LoadTexture(Assets, "FIXTURE24.BMP");
    ASSERT_TRUE(Bmp);
    EXPECT_EQ(Bmp->PixelRow(1)[0], 255);
    for (const char* Name : {"fixture_prog.jpeg", "fixture_prog.png", "fixture_prog", "fixture24.bmp.gz"})
        EXPECT_FALSE(LoadTexture(Assets, Name)) << Name;

    // A picture whose sides are not powers of two raises, leaking nothing.
    EXPECT_EQ(ErrorOf([&] { LoadTexture(Assets, "Background.bmp"); }),
              "TGLTexture.SetSize error: a size is not power 2");
    EXPECT_EQ(ErrorOf([&] { LoadTexture(Assets, "missing.jpg"); }), "Resource missing_jpg not found");

    // From files: ".jepg" is taken as well.
    const std::filesystem::path Dir = std::filesystem::temp_directory_path() / "glimmora_load_texture";
    std::filesystem::create_directories(Dir);
    const auto Jpg = LoadResourceBytes(*Module, "fixture_prog.jpg", rkRawData);
    std::ofstream(Dir / "p.JEPG", std::ios::binary).write(reinterpret_cast<const char*>(Jpg.data()), Jpg.size());
    const TAssetSource Files{*Module, false, "", Dir.string() + "/"};
    const auto FromFile = LoadTexture(Files, "p.JEPG");
    ASSERT_TRUE(FromFile);
    EXPECT_EQ(FromFile->Width(), 16);
    EXPECT_EQ(FromFile->PixelRow(15)[0], 254);   // the top-left red of the picture
    std::filesystem::remove_all(Dir);
}
