// Textures on a real headless Mesa context: uploaded, drawn and read back.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <memory>

#include "fakes/SystemBackends.h"
#include "HeadlessEngine.h"
#include "gl/GLClasses.h"
#include "gl/GLTexture.h"
#include "gl/GLUtils.h"
#include "platform/Resources.h"

namespace {

class HeadlessTextureTest : public ::testing::Test {
protected:
    static constexpr int Size = 8;
    THeadlessEngine GL{Size};
    TOpenGLEngine& Engine = GL.Engine;
    const std::unique_ptr<IEmbeddedResources> Module = CreateModuleResources();
    const TAssetSource Assets = EmbeddedAssets(*Module);

    void SetUp() override
    {
        ASSERT_TRUE(GL.Start(24));
        glViewport(0, 0, Size, Size);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClearColor(0, 0, 0, 1);
    }
    void TearDown() override
    {
        GL.Stop();
    }

    // Draws the bound texture over the whole surface, picture up.
    void DrawQuad()
    {
        static const GLfloat Vertices[] = {-1, -1, 1, -1, 1, 1, -1, 1};
        static const GLfloat TexCoords[] = {0, 0, 1, 0, 1, 1, 0, 1};
        glClear(GL_COLOR_BUFFER_BIT);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glVertexPointer(2, GL_FLOAT, 0, Vertices);
        glTexCoordPointer(2, GL_FLOAT, 0, TexCoords);
        glDrawArrays(GL_QUADS, 0, 4);
        glFinish();
    }

    std::array<int, 3> Pixel(int X, int Y)
    {
        std::array<GLubyte, 4> P{};
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(X, Y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, P.data());
        return {P[0], P[1], P[2]};
    }

    // The 2 x 2 picture fills the 8 x 8 surface: each texel a 4 x 4 block.
    void ExpectQuadrants()
    {
        EXPECT_EQ(Pixel(1, 6), (std::array<int, 3>{255, 0, 0}));   // top left
        EXPECT_EQ(Pixel(6, 6), (std::array<int, 3>{0, 255, 0}));   // top right
        EXPECT_EQ(Pixel(1, 1), (std::array<int, 3>{0, 0, 255}));   // bottom left
        const auto Odd = Pixel(6, 1);
        EXPECT_LE(std::abs(Odd[0] - 30) + std::abs(Odd[1] - 60) + std::abs(Odd[2] - 91), 6);
    }
};

TEST_F(HeadlessTextureTest, ABitmapTextureDrawsWithItsTopRowUp)
{
    const auto T = LoadTexture(Assets, "fixture24.bmp");   // 6-byte rows: unaligned
    ASSERT_TRUE(T);
    T->SetFilter(flNearest);
    T->Bind();
    EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), GL_TRUE);   // creating switches texturing on
    GLint Bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &Bound);
    EXPECT_EQ(GLuint(Bound), T->TextureName());
    DrawQuad();
    ExpectQuadrants();
    EXPECT_NO_THROW(Engine.CheckError());
}

TEST_F(HeadlessTextureTest, ChangedPixelsAndARecreatedTextureReachTheScreen)
{
    const auto T = LoadTexture(Assets, "fixture8.bmp");
    ASSERT_TRUE(T);
    T->SetFilter(flNearest);
    T->Bind();
    DrawQuad();
    ExpectQuadrants();

    // Paint the top-left texel white: only after InvalidateImage is it sent.
    uint8_t* TopLeft = T->PixelRow(1);
    TopLeft[0] = TopLeft[1] = TopLeft[2] = 255;
    T->Bind();
    DrawQuad();
    EXPECT_EQ(Pixel(1, 6), (std::array<int, 3>{255, 0, 0}));
    T->InvalidateImage();
    T->Bind();
    DrawQuad();
    EXPECT_EQ(Pixel(1, 6), (std::array<int, 3>{255, 255, 255}));

    const GLuint Old = T->TextureName();
    T->DeleteTexture();
    EXPECT_EQ(glIsTexture(Old), GL_FALSE);
    T->Bind();
    EXPECT_TRUE(T->Created());
    EXPECT_EQ(glIsTexture(T->TextureName()), GL_TRUE);
    DrawQuad();
    EXPECT_EQ(Pixel(1, 6), (std::array<int, 3>{255, 255, 255}));
    EXPECT_EQ(Pixel(6, 6), (std::array<int, 3>{0, 255, 0}));
    EXPECT_NO_THROW(Engine.CheckError());
}

TEST_F(HeadlessTextureTest, AlphaTextureBlendsByTheAlphaImage)
{
    const auto T = LoadTextureWithAlpha(Assets, "fixture24.bmp", "fixture24.bmp");
    ASSERT_TRUE(T);
    T->SetFilter(flNearest);
    T->Bind();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    DrawQuad();
    glDisable(GL_BLEND);
    // Red with alpha 85 over black: about a third of 255.
    const auto Red = Pixel(1, 6);
    EXPECT_NEAR(Red[0], 85, 2);
    EXPECT_EQ(Red[1] + Red[2], 0);
    EXPECT_NO_THROW(Engine.CheckError());
}

} // namespace
