// The engine on a real headless Mesa context (EGL surfaceless + pbuffer).
#include <gtest/gtest.h>

#include <array>

#include "HeadlessEngine.h"
#include "gl/GLClasses.h"

namespace {

class HeadlessEngineTest : public ::testing::Test {
protected:
    static constexpr int Size = 64;
    THeadlessEngine GL{Size};
    TOpenGLEngine& Engine = GL.Engine;
    TGLDeviceContext DC = GL.Window.DC();

    void SetUp() override { ASSERT_TRUE(GL.Start()); }
    void TearDown() override { GL.Stop(); }

    std::array<GLubyte, 4> Pixel(int X, int Y)
    {
        std::array<GLubyte, 4> P{};
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(X, Y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, P.data());
        return P;
    }
};

TEST_F(HeadlessEngineTest, ContextComesUpAsSoftwareRenderingWithItsBitsWrittenBack)
{
    EXPECT_TRUE(Engine.Active);
    EXPECT_NE(Engine.RC, nullptr);
    const std::string Renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    EXPECT_NE(Renderer.find("llvmpipe"), std::string::npos) << Renderer;
    EXPECT_TRUE(Engine.Generic);
    // At least what was asked, and exactly what the context has.
    EXPECT_GE(Engine.ColorBits, 16);
    EXPECT_GE(Engine.DepthBits, 16);
    GLint Depth = 0, Red = 0, Green = 0, Blue = 0;
    glGetIntegerv(GL_DEPTH_BITS, &Depth);
    glGetIntegerv(GL_RED_BITS, &Red);
    glGetIntegerv(GL_GREEN_BITS, &Green);
    glGetIntegerv(GL_BLUE_BITS, &Blue);
    EXPECT_EQ(Engine.DepthBits, Depth);
    EXPECT_EQ(Engine.ColorBits, Red + Green + Blue);
    EXPECT_NO_THROW(Engine.CheckError());
}

TEST_F(HeadlessEngineTest, AppliedStateReadsBack)
{
    TGLViewport V;
    V.SetBounds(4, 8, 32, 16);
    V.Lighting = true;
    V.Apply();
    GLint Box[4] = {};
    glGetIntegerv(GL_VIEWPORT, Box);
    EXPECT_EQ((std::array<GLint, 4>{Box[0], Box[1], Box[2], Box[3]}), (std::array<GLint, 4>{4, 8, 32, 16}));
    EXPECT_EQ(glIsEnabled(GL_LIGHTING), GL_TRUE);
    EXPECT_EQ(glIsEnabled(GL_DITHER), GL_FALSE);
    GLint Mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &Mode);
    EXPECT_EQ(Mode, static_cast<GLint>(GL_MODELVIEW));

    glLoadIdentity();
    TGLLight L;
    L.SetLightIndex(2);
    L.SetSpotDirection(MakeVector(0, -1, -1));
    L.Enable();
    GLfloat P[4] = {};
    glGetLightfv(GL_LIGHT2, GL_POSITION, P);
    EXPECT_EQ((std::array<GLfloat, 4>{P[0], P[1], P[2], P[3]}), (std::array<GLfloat, 4>{0, 1, 1, 0}));
    EXPECT_EQ(glIsEnabled(GL_LIGHT2), GL_TRUE);

    const auto MRef = MakeGLRef<TGLMaterial>();
    TGLMaterial& M = *MRef;
    M.SetDiffuse(MakeColor(0.25f, 0.5f, 0.75f, 1));
    M.SetShininess(32);
    M.Apply();
    GLfloat D[4] = {};
    GLfloat S = 0;
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, D);
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &S);
    EXPECT_EQ((std::array<GLfloat, 4>{D[0], D[1], D[2], D[3]}), (std::array<GLfloat, 4>{0.25f, 0.5f, 0.75f, 1}));
    EXPECT_EQ(S, 32);
    EXPECT_NO_THROW(Engine.CheckError());
}

TEST_F(HeadlessEngineTest, AMeshDrawnFromVertexArraysReadsBack)
{
    TGLViewport V;
    V.SetBounds(0, 0, Size, Size);
    V.Perspective = false;
    V.SetOrtho(-1, 1, -1, 1, -1, 1);
    V.Apply();
    glLoadIdentity();
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    // An indexed square over the middle half, one shared colour.
    const auto SquareRef = MakeGLRef<TGLPrimitive>();
    TGLPrimitive& Square = *SquareRef;
    Square.Vertices.LoadFromArray(std::vector<float>{-0.5f, -0.5f, 0, 0.5f, -0.5f, 0, 0.5f, 0.5f, 0, -0.5f, 0.5f, 0});
    Square.Indices.LoadFromArray(std::vector<int32_t>{0, 1, 2, 2, 3, 0});
    Square.Colors.SetCount(1);
    Square.Colors.SetRGB(0, 1, 0, 0);
    Square.SetPrimitiveType(ptTriangles);
    Square.CalcNormals();
    Square.Draw();
    Engine.SwapBuffers(DC);
    Engine.CheckError();

    EXPECT_EQ(Pixel(Size / 2, Size / 2), (std::array<GLubyte, 4>{255, 0, 0, 255}));
    EXPECT_EQ(Pixel(2, 2), (std::array<GLubyte, 4>{0, 0, 255, 255}));
}

TEST_F(HeadlessEngineTest, CheckErrorRaisesTheMessageOfAProvokedError)
{
    glEnable(0x7FFF);   // no such capability
    try {
        Engine.CheckError();
        FAIL() << "no error raised";
    } catch (const EGlimmoraError& E) {
        EXPECT_STREQ(E.what(), "OpenGL error: An unacceptable value is specified for an enumerated argument!");
    }
    glPopMatrix();   // the model-view stack is empty
    try {
        Engine.CheckError();
        FAIL() << "no error raised";
    } catch (const EGlimmoraError& E) {
        EXPECT_STREQ(E.what(), "OpenGL error: Stack underflow!");
    }
    EXPECT_NO_THROW(Engine.CheckError());
}

} // namespace
