// TOpenGLEngine over a scripted context backend, and the state routines.
#include <gtest/gtest.h>

#include <functional>

#include "fakes/ErrorOf.h"
#include "fakes/FakeGLContext.h"
#include "fakes/FakeLibraries.h"
#include "fakes/RecordingGL.h"
#include "gl/GLClasses.h"
#include "gl/FloatControl.h"

namespace {

// Any non-null value stands for the window's device context.
TGLDeviceContext const SomeDC = reinterpret_cast<TGLDeviceContext>(uintptr_t{0x1234});

class EngineTest : public ::testing::Test {
protected:
    TFakeGLContext Context;
    TOpenGLEngine Engine{Context, SystemLibraries()};

    std::string InitError() { return ErrorOf([&] { Engine.InitOpenGL(); }); }
};

TEST_F(EngineTest, DefaultsAndLibraryNames)
{
    EXPECT_TRUE(Engine.DoubleBuffer);
    EXPECT_FALSE(Engine.Active);
    EXPECT_EQ(Engine.ColorBits, 16);
    EXPECT_EQ(Engine.DepthBits, 16);
    EXPECT_EQ(Engine.AlphaBits, 0);
    EXPECT_EQ(Engine.StencilBits, 0);
    EXPECT_EQ(Engine.AccumBits, 0);
    EXPECT_FALSE(Engine.Generic);
    EXPECT_EQ(Engine.OpenGLLibName, SystemLibraries().SystemOpenGLLibName());
    EXPECT_EQ(Engine.GLULibName, SystemLibraries().SystemGLULibName());
}

TEST_F(EngineTest, InitWithoutDCRaisesAndLoadsNothing)
{
    EXPECT_EQ(InitError(), "Init OpenGL failed: DC is not assigned!");
    EXPECT_FALSE(Engine.LibLoaded);
    EXPECT_FALSE(OpenGLLoaded());
    EXPECT_TRUE(Context.Log.empty());
}

TEST_F(EngineTest, MissingLibraryRaisesAndASecondAttemptLoadsAgain)
{
    Engine.SetDC(SomeDC);
    Engine.GLULibName = "NoSuchGLU.dll";
    EXPECT_EQ(InitError(), "Load library failed: OpenGL DLL is not found!");
    EXPECT_FALSE(Engine.LibLoaded);
    EXPECT_FALSE(Engine.Active);
    EXPECT_FALSE(OpenGLLoaded());
    EXPECT_FALSE(GLULoaded());
    EXPECT_TRUE(Context.Log.empty());

    Engine.GLULibName = SystemLibraries().SystemGLULibName();
    EXPECT_TRUE(Engine.InitOpenGL());
    EXPECT_TRUE(Engine.LibLoaded);
    EXPECT_TRUE(Engine.Active);
}

TEST_F(EngineTest, LoadLibrariesResetsTheFloatingPointState)
{
    DisturbFloatControlState();
    Engine.LoadLibraries();
    const TFloatControlState S = ReadFloatControlState();
    EXPECT_TRUE(S.RoundToNearest);
    EXPECT_TRUE(S.AllMasked);
}

TEST_F(EngineTest, RequestFollowsTheFields)
{
    Engine.SetDC(SomeDC);
    Engine.InitOpenGL();
    const TPixelFormatRequest& R = Context.LastRequest;
    EXPECT_TRUE(R.DoubleBuffer);
    EXPECT_FALSE(R.SupportGDI);
    EXPECT_FALSE(R.DrawToBitmap);
    EXPECT_FALSE(R.Generic);
    EXPECT_EQ(R.ColorBits, 16);
    EXPECT_EQ(R.DepthBits, 16);

    Engine.DoneOpenGL();
    Engine.SetDefaults();
    Engine.DoubleBuffer = false;
    Engine.Generic = true;
    Context.BitmapDC = true;
    Engine.InitOpenGL();
    EXPECT_FALSE(Context.LastRequest.DoubleBuffer);
    EXPECT_TRUE(Context.LastRequest.SupportGDI);
    EXPECT_TRUE(Context.LastRequest.DrawToBitmap);
    EXPECT_TRUE(Context.LastRequest.Generic);
}

TEST_F(EngineTest, WritesBackWhatTheSystemChose)
{
    Context.Described.Generic = true;
    Context.Described.DoubleBuffer = false;
    Context.Described.AccumBits = 32;
    Engine.SetDC(SomeDC);
    ASSERT_TRUE(Engine.InitOpenGL());
    EXPECT_EQ(Engine.ColorBits, 24);
    EXPECT_EQ(Engine.DepthBits, 24);
    EXPECT_EQ(Engine.StencilBits, 8);
    EXPECT_EQ(Engine.AlphaBits, 8);
    EXPECT_EQ(Engine.AccumBits, 32);
    EXPECT_FALSE(Engine.DoubleBuffer);
    EXPECT_TRUE(Engine.Generic);
    EXPECT_EQ(Engine.Palette, nullptr);
    EXPECT_EQ(Context.Log, (std::vector<std::string>{"ChoosePixelFormat", "SetPixelFormat 7",
                                                     "DescribePixelFormat 7", "CreateContext"}));
}

struct TFailCase {
    TFakeGLContext::TStep Step;
    const char* Message;
};

class EngineFailureTest : public EngineTest, public ::testing::WithParamInterface<TFailCase> {};

TEST_P(EngineFailureTest, EachStepHasItsMessageAndLeavesTheEngineInactive)
{
    Context.FailAt = GetParam().Step;
    Context.Described.NeedPalette = true;
    Context.Described.ColorBits = 8;
    Engine.SetDC(SomeDC);
    EXPECT_EQ(InitError(), GetParam().Message);
    EXPECT_FALSE(Engine.Active);
    EXPECT_EQ(Engine.RC, nullptr);
    EXPECT_EQ(Context.LiveContexts, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, EngineFailureTest,
    ::testing::Values(TFailCase{TFakeGLContext::fsChoose, "Create RC failed: pixel format is not choosed!"},
                      TFailCase{TFakeGLContext::fsSet, "Create RC failed: pixel format is not set!"},
                      TFailCase{TFakeGLContext::fsPalette, "Create RC failed: palette is not created!"},
                      TFailCase{TFakeGLContext::fsContext, "Create RC failed: layer context is not created!"}));

TEST_F(EngineTest, PaletteFormatGetsARealisedPaletteThatDoneDeletes)
{
    TPixelFormatDescription& D = Context.Described;
    D.NeedPalette = true;
    D.ColorBits = 8;
    D.RedBits = 3, D.RedShift = 0;
    D.GreenBits = 3, D.GreenShift = 3;
    D.BlueBits = 2, D.BlueShift = 6;
    Engine.SetDC(SomeDC);
    Engine.InitOpenGL();
    ASSERT_NE(Engine.Palette, nullptr);
    ASSERT_EQ(Context.LastPalette.size(), 256u);
    const TPaletteEntry& E = Context.LastPalette[0xFF];
    EXPECT_EQ(E.Red, 255);
    EXPECT_EQ(E.Green, 255);
    EXPECT_EQ(E.Blue, 255);
    // Index 0b01'010'011: red 3 -> 3*255/7, green 2 -> 2*255/7, blue 1 -> 85.
    const TPaletteEntry& M = Context.LastPalette[0b01010011];
    EXPECT_EQ(M.Red, 109);
    EXPECT_EQ(M.Green, 72);
    EXPECT_EQ(M.Blue, 85);
    Engine.DoneOpenGL();
    EXPECT_EQ(Engine.Palette, nullptr);
    EXPECT_EQ(Context.LivePalettes, 0);
}

TEST(EnginePaletteTest, AChannelWithoutBitsStaysZero)
{
    TPixelFormatDescription D;
    D.ColorBits = 4;
    D.RedBits = 2, D.RedShift = 0;
    D.GreenBits = 2, D.GreenShift = 2;
    D.BlueBits = 0, D.BlueShift = 4;
    const std::vector<TPaletteEntry> P = TOpenGLEngine::MakePalette(D);
    ASSERT_EQ(P.size(), 16u);
    for (const TPaletteEntry& E : P)
        EXPECT_EQ(E.Blue, 0);
    EXPECT_EQ(P[15].Red, 255);
    EXPECT_EQ(P[15].Green, 255);
    EXPECT_EQ(P[0b0110].Green, 85);
}

TEST_F(EngineTest, CurrentOnlyWhileActive)
{
    Engine.SetDC(SomeDC);
    Engine.MakeCurrent();
    Engine.MakeNotCurrent();
    EXPECT_TRUE(Context.Log.empty());

    Engine.InitOpenGL();
    Context.Log.clear();
    Engine.MakeCurrent();
    Engine.MakeNotCurrent();
    EXPECT_EQ(Context.Log, (std::vector<std::string>{"MakeCurrent", "ReleaseCurrent"}));

    Engine.DoneOpenGL();
    Context.Log.clear();
    Engine.MakeCurrent();
    Engine.MakeNotCurrent();
    EXPECT_TRUE(Context.Log.empty());
}

TEST_F(EngineTest, DoneTwiceIsHarmlessAndLibrariesStayLoaded)
{
    Engine.SetDC(SomeDC);
    Engine.InitOpenGL();
    Context.Log.clear();
    Engine.DoneOpenGL();
    Engine.DoneOpenGL();
    EXPECT_EQ(Context.Log, (std::vector<std::string>{"ReleaseCurrent", "DeleteContext"}));
    EXPECT_FALSE(Engine.Active);
    EXPECT_EQ(Engine.RC, nullptr);
    EXPECT_TRUE(Engine.LibLoaded);
    EXPECT_TRUE(OpenGLLoaded());
}

TEST_F(EngineTest, RestartRepeatsTheSequenceWithoutLeaking)
{
    Engine.SetDC(SomeDC);
    Engine.InitOpenGL();
    Engine.InitOpenGL();   // no DoneOpenGL in between
    EXPECT_EQ(Context.LiveContexts, 1);
    Engine.MakeNotCurrent();
    Engine.DoneOpenGL();
    Engine.SetDC(nullptr);
    Engine.SetDC(SomeDC);
    Engine.SetDefaults();
    EXPECT_TRUE(Engine.InitOpenGL());
    EXPECT_EQ(Context.LiveContexts, 1);
}

TEST_F(EngineTest, SetDCReleasesAnExistingContextAndReportsItsFailure)
{
    Engine.SetDC(SomeDC);
    Engine.InitOpenGL();
    Context.Log.clear();
    Engine.SetDC(SomeDC);
    EXPECT_EQ(Context.Log, std::vector<std::string>{"ReleaseCurrent"});

    Context.FailAt = TFakeGLContext::fsRelease;
    try {
        Engine.SetDC(nullptr);
        FAIL() << "no error raised";
    } catch (const EGlimmoraError& E) {
        EXPECT_EQ(std::string(E.what()), Context.LastError);
    }
    EXPECT_EQ(Engine.DC, SomeDC);
}

TEST_F(EngineTest, DestructorUnloadsTheLibraries)
{
    {
        TFakeGLContext Other;
        TOpenGLEngine E(Other, SystemLibraries());
        E.SetDC(SomeDC);
        E.InitOpenGL();
        EXPECT_TRUE(OpenGLLoaded());
    }
    EXPECT_FALSE(OpenGLLoaded());
    EXPECT_EQ(glGetError, nullptr);
}

TEST_F(EngineTest, SwapBuffersResetsTheFloatStateFlushesThenSwaps)
{
    Engine.SetDC(SomeDC);
    Engine.InitOpenGL();
    Context.Log.clear();
    TRecordingGL Rec;
    DisturbFloatControlState();
    Engine.SwapBuffers(SomeDC);
    EXPECT_TRUE(ReadFloatControlState().AllMasked);
    EXPECT_EQ(Rec.Calls, std::vector<std::string>{"glFlush()"});
    EXPECT_EQ(Context.Log, std::vector<std::string>{"SwapBuffers"});
}

struct TErrorCase {
    GLenum Code;
    const char* Message;
};

class CheckErrorTest : public ::testing::TestWithParam<TErrorCase> {};

TEST_P(CheckErrorTest, RaisesTheMessageOfTheCode)
{
    TFakeGLContext Context;
    TOpenGLEngine Engine(Context, SystemLibraries());
    TRecordingGL Rec;
    Rec.PendingErrors = {GetParam().Code, GL_INVALID_VALUE};
    try {
        Engine.CheckError();
        FAIL() << "no error raised";
    } catch (const EGlimmoraError& E) {
        EXPECT_STREQ(E.what(), GetParam().Message);
    }
    // The error state is read once.
    EXPECT_EQ(Rec.Calls, std::vector<std::string>{"glGetError()"});
}

INSTANTIATE_TEST_SUITE_P(
    Codes, CheckErrorTest,
    ::testing::Values(
        TErrorCase{0x0500, "OpenGL error: An unacceptable value is specified for an enumerated argument!"},
        TErrorCase{0x0501, "OpenGL error: A numeric argument is out of range!"},
        TErrorCase{0x0502, "OpenGL error: The specified operation is not allowed in the current state!"},
        TErrorCase{0x0503, "OpenGL error: Stack overflow!"},
        TErrorCase{0x0504, "OpenGL error: Stack underflow!"},
        TErrorCase{0x0505, "OpenGL error: There is not enough memory left to execute the function!"},
        TErrorCase{0x0506, "OpenGL error: Undefined error!"},
        TErrorCase{0x1234, "OpenGL error: Undefined error!"}));

TEST(CheckErrorQuietTest, NoErrorReturnsQuietlyAndNoLibraryIsNoError)
{
    TFakeGLContext Context;
    TOpenGLEngine Engine(Context, SystemLibraries());
    EXPECT_NO_THROW(Engine.CheckError());   // nothing loaded: no entry point to call
    TRecordingGL Rec;
    EXPECT_NO_THROW(Engine.CheckError());
    EXPECT_EQ(Rec.Calls, std::vector<std::string>{"glGetError()"});
}

struct TRoutineCase {
    const char* Name;
    void (*Routine)();
    std::vector<std::string> Calls;
};

class StateRoutineTest : public ::testing::TestWithParam<TRoutineCase> {};

TEST_P(StateRoutineTest, SendsItsCalls)
{
    TRecordingGL Rec;
    GetParam().Routine();
    EXPECT_EQ(Rec.Calls, GetParam().Calls);
}

INSTANTIATE_TEST_SUITE_P(
    Routines, StateRoutineTest,
    ::testing::Values(TRoutineCase{"DisableFog", DisableFog, {"glDisable(GL_FOG)"}},
                      TRoutineCase{"EnableBlending", EnableBlending, {"glEnable(GL_BLEND)"}},
                      TRoutineCase{"DisableBlending", DisableBlending, {"glDisable(GL_BLEND)"}},
                      TRoutineCase{"EnableCulling", EnableCulling, {"glEnable(GL_CULL_FACE)"}},
                      TRoutineCase{"EnableDepthTest", EnableDepthTest, {"glEnable(GL_DEPTH_TEST)"}},
                      TRoutineCase{"DisableDepthTest", DisableDepthTest, {"glDisable(GL_DEPTH_TEST)"}},
                      TRoutineCase{"EnableLighting", EnableLighting, {"glEnable(GL_LIGHTING)"}},
                      TRoutineCase{"DisableLighting", DisableLighting, {"glDisable(GL_LIGHTING)"}},
                      TRoutineCase{"EnableTexturing", EnableTexturing,
                                   {"glEnable(GL_TEXTURE_1D)", "glEnable(GL_TEXTURE_2D)"}},
                      TRoutineCase{"DisableTexturing", DisableTexturing,
                                   {"glDisable(GL_TEXTURE_1D)", "glDisable(GL_TEXTURE_2D)"}},
                      TRoutineCase{"DisableStencilTest", DisableStencilTest, {"glDisable(GL_STENCIL_TEST)"}}),
    [](const auto& Info) { return std::string(Info.param.Name); });

} // namespace
