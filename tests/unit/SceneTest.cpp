// The scene's start, frame order, drawing rules and reports, through the
// recording GL table and a scripted context (no real OpenGL).
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fakes/FakeClock.h"
#include "fakes/FakeGLContext.h"
#include "fakes/FakeLibraries.h"
#include "fakes/FakeProcess.h"
#include "fakes/FakeSound.h"
#include "fakes/RecordingGL.h"
#include "fakes/TempDir.h"
#include "gl/Errors.h"
#include "scene/Scene.h"

namespace {

class TTestWindow : public IRenderWindow {
public:
    int W = 640, H = 480;
    TGLDeviceContext Target = nullptr;
    int Width() const override { return W; }
    int Height() const override { return H; }
    TGLDeviceContext DC() const override { return Target; }
};

class SceneTest : public ::testing::Test {
protected:
    TRecordingGL GL;
    TFakeClock Clock;
    TFakeGLContext Context;
    TFakeLibraryLoader Libraries;
    TFakeProcessControl Process;
    TFakeSound Sound;
    TTempDir Dir;
    TLogFile Log{Dir.File("glimmora3d.log")};
    std::vector<std::string> Captions;
    TUnderwaterScene Scene{TSceneServices{Clock, Context, Libraries, Process, Sound, Log, nullptr,
                                          [this](const std::string& C) { Captions.push_back(C); }}};
    TTestWindow Window;
    int DC = 0;

    void StartScene(TSceneOptions Options = {}, const std::string& Tuning = {})
    {
        Scene.Start(32, true, Options, Tuning.empty() ? std::string() : Dir.Write("t.ini", Tuning), 42u);
        Scene.Engine()->LibLoaded = true;   // the recorder stands in for the libraries
        Window.Target = &DC;
        Scene.InitGL(&DC);
        Scene.ResetFrameState();
    }
    void TearDown() override
    {
        if (Scene.Engine())
            Scene.Engine()->LibLoaded = false;
    }
    // The calls among Names, in order.
    std::vector<std::string> Only(std::initializer_list<std::string> Names) const
    {
        std::vector<std::string> Out;
        for (const std::string& C : GL.Calls)
            for (const std::string& N : Names)
                if (C.rfind(N, 0) == 0) {
                    Out.push_back(C);
                    break;
                }
        return Out;
    }
    // The frames shown on the window's device context.
    long Swaps() const { return std::count(Context.Log.begin(), Context.Log.end(), "SwapBuffers"); }
    bool Called(const std::string& Call) const
    {
        return std::find(GL.Calls.begin(), GL.Calls.end(), Call) != GL.Calls.end();
    }
};

} // namespace

TEST(SceneStart, AColourDepthOtherThan16Or32StopsTheStart)
{
    for (const auto& [Depth, HasModes, Ok] : {std::tuple{16, true, true}, std::tuple{32, true, true},
                                             std::tuple{24, true, false}, std::tuple{8, true, false},
                                             std::tuple{32, false, false}}) {
        try {
            TUnderwaterScene::CheckColorDepth(Depth, HasModes);
            EXPECT_TRUE(Ok) << Depth;
        } catch (const EGlimmoraError& E) {
            EXPECT_FALSE(Ok) << Depth;
            EXPECT_EQ(std::string(E.what()),
                      "Warning! This Screen Saver needs High Color (16 bits) or True Color (32 bits) to work in "
                      "Preview Mode.\r\n Change the Color Depth of your Windows Desktop to run it!");
        }
    }
}

TEST_F(SceneTest, ARejectedStartLoadsNothing)
{
    EXPECT_THROW(Scene.Start(24, true, {}, {}, 1u), EGlimmoraError);
    EXPECT_FALSE(Scene.Built());
}

TEST_F(SceneTest, BuildMakesEveryObjectFromTheEmbeddedAssets)
{
    StartScene();
    EXPECT_EQ(Scene.BillPrimitive()->Vertices.Count(), 8);
    EXPECT_EQ(Scene.BillShimmerPrimitive()->TexCoords.GetItem(2).S, 4.0f);
    EXPECT_EQ(Scene.BottomShadeLayer()->Colors.Count(), Scene.BottomPrimitive()->Vertices.Count());
    // The water is the bottom turned over: x and y change sign.
    const TGLVector B = Scene.BottomPrimitive()->Vertices.GetItem(0);
    const TGLVector W = Scene.WaterPrimitive()->Vertices.GetItem(0);
    EXPECT_NEAR(W.X, -B.X, 0.01f);
    EXPECT_NEAR(W.Z, B.Z, 0.01f);
    EXPECT_EQ(Scene.WaveFrames()->Count(), 1);
    EXPECT_EQ(Scene.WaveAnimations()->Count(), 1);
    EXPECT_EQ(Scene.BubbleEffect()->Count(), 100);
    for (TParticles* E : {static_cast<TParticles*>(Scene.FishEffect()),
                          static_cast<TParticles*>(Scene.ImmersionEffect()),
                          static_cast<TParticles*>(Scene.FountainEffect())})
        EXPECT_EQ(E->Count(), 60);
    EXPECT_EQ(Scene.FountainEffect()->Gravity, 32.0f);
    EXPECT_TRUE(Scene.FountainEffect()->UseGravity);
}

TEST_F(SceneTest, ShadeLayerAlphaPerVertexRow)
{
    StartScene();
    TGLPrimitive& Layer = *Scene.BottomShadeLayer();
    TUnderwaterScene::ShadeByDepth(Layer, MakeColor(0.1f, 0.2f, 0.3f, 0), MakeColor(0.1f, 0.2f, 0.3f, 1), -6000,
                                   -10000);
    const std::pair<float, float> Rows[] = {{0, 0}, {-6000, 0}, {-8000, 0.5f}, {-9000, 0.75f}, {-10000, 1}};
    int Seen = 0;
    for (int32_t i = 0; i < Layer.Vertices.Count(); ++i)
        for (const auto& [Z, Alpha] : Rows)
            if (std::abs(Layer.Vertices.GetItem(i).Z - Z) < 0.5f) {
                EXPECT_NEAR(Layer.Colors.GetItem(i).A, Alpha, 1e-6f) << "z=" << Z;
                EXPECT_EQ(Layer.Colors.GetItem(i).R, 0.1f);
                ++Seen;
            }
    EXPECT_EQ(Seen, Layer.Vertices.Count());

    // Near and far depth within 0.01 of each other: nothing changes.
    const TGLColor Before = Layer.Colors.GetItem(0);
    TUnderwaterScene::ShadeByDepth(Layer, MakeColor(1, 1, 1, 1), MakeColor(1, 1, 1, 1), -6000, -6000.005f);
    EXPECT_EQ(Layer.Colors.GetItem(0).R, Before.R);
}

TEST_F(SceneTest, RenderFrameRunsInItsFixedOrder)
{
    StartScene();
    GL.Clear();
    Scene.RenderFrame(Window);
    const std::vector<std::string> Order = Only({"glGetError", "glViewport", "glEnable(GL_CULL_FACE)",
                                                 "glDisable(GL_STENCIL_TEST)", "glClearColor", "glClear(",
                                                 "glLightModelfv(GL_LIGHT_MODEL_AMBIENT", "glFogi", "gluLookAt",
                                                 "glMatrixMode(GL_MODELVIEW)", "glLoadIdentity", "glFlush"});
    const std::vector<std::string> Expect = {
        "glGetError()",   // after the update
        "glViewport(0,0,640,480)",
        "glGetError()",   // after the viewport
        "glEnable(GL_CULL_FACE)",
        "glDisable(GL_STENCIL_TEST)",
        "glClearColor(0,0.6,0.6824,1)",
        "glClear(GL_COLOR_BUFFER_BIT|GL_DEPTH_BUFFER_BIT)",
        "glLightModelfv(GL_LIGHT_MODEL_AMBIENT,0.6,0.6,0.6,1)",
        "glFogi(GL_FOG_MODE,GL_LINEAR)",
        "glGetError()",   // after the fog
        "glMatrixMode(GL_MODELVIEW)",
        "glLoadIdentity()",
        "gluLookAt(0,0,0,0,0,-1,0,1,0)",
        "glFogi(GL_FOG_MODE,GL_LINEAR)",   // the environment's fog set-up
        "glGetError()",   // after the drawing
        "glFlush()",      // the swap's
        "glGetError()",   // after the swap
    };
    // The viewport's Apply switches matrices itself; keep only the
    // model-view reset before the look-at.
    std::vector<std::string> Got;
    bool AfterFog = false;
    for (const std::string& C : Order) {
        if (C.rfind("glFogi", 0) == 0)
            AfterFog = true;
        if ((C == "glMatrixMode(GL_MODELVIEW)" || C == "glLoadIdentity()") && !AfterFog)
            continue;
        if ((C == "glMatrixMode(GL_MODELVIEW)" || C == "glLoadIdentity()") &&
            std::count(Got.begin(), Got.end(), C) > 0)
            continue;
        Got.push_back(C);
    }
    EXPECT_EQ(Got, Expect);
    EXPECT_EQ(Swaps(), 1);
}

TEST_F(SceneTest, AnOpenGLErrorInTheFrameRaisesTheEngineMessage)
{
    StartScene();
    GL.PendingErrors = {GL_OUT_OF_MEMORY};
    EXPECT_THROW(Scene.RenderFrame(Window), EGlimmoraError);
    EXPECT_EQ(Swaps(), 0);
}

TEST_F(SceneTest, FogIsNeverEnabledAndBillsDrawBaseAndShimmerPasses)
{
    StartScene();
    GL.Clear();
    Scene.RenderFrame(Window);
    EXPECT_FALSE(Called("glEnable(GL_FOG)"));
    EXPECT_TRUE(Called("glDepthFunc(GL_EQUAL)"));
    EXPECT_EQ(GL.CallsOf("glTexGeni").size(), 2u);
    // 60 bills, each turned about y, x and z, in both passes.
    EXPECT_EQ(GL.CallsOf("glRotatef").size(), 60u * 3u * 2u);
    EXPECT_TRUE(Called("glAlphaFunc(GL_GREATER,0.1)"));
}

TEST_F(SceneTest, NoShimmerPassWhenItsOpacityIsZero)
{
    StartScene({}, "[Bills]\nShimmerAlpha=0\n");
    GL.Clear();
    Scene.RenderFrame(Window);
    EXPECT_TRUE(GL.CallsOf("glTexGeni").empty());
    EXPECT_FALSE(Called("glDepthFunc(GL_EQUAL)"));
    EXPECT_EQ(GL.CallsOf("glRotatef").size(), 60u * 3u);
}

TEST_F(SceneTest, NoBillIsDrawnForADollarCountOfZeroButTheLightIsSetUp)
{
    TSceneOptions O;
    O.DollarCount = 0;
    StartScene(O);
    GL.Clear();
    Scene.RenderFrame(Window);
    EXPECT_TRUE(GL.CallsOf("glRotatef").empty());
    EXPECT_TRUE(Called("glEnable(GL_LIGHT0)"));
    EXPECT_EQ(Scene.ImmersionEffect()->Count(), 0);
}

TEST_F(SceneTest, CountsFollowTheOptionsAtTheNextFrame)
{
    StartScene();
    Scene.Options.BubbleCount = 3;
    Scene.Options.DollarCount = 5;
    Scene.RenderFrame(Window);
    EXPECT_EQ(Scene.BubbleEffect()->Count(), 3);
    EXPECT_EQ(Scene.FishEffect()->Count(), 5);
    EXPECT_EQ(Scene.FountainEffect()->Count(), 5);
}

TEST_F(SceneTest, CausticsScrollDiagonallyInOppositeDirections)
{
    StartScene();
    const TGLTexCoord W0 = Scene.WaterCausticLayer()->TexCoords.GetItem(0);
    const TGLTexCoord B0 = Scene.BottomCausticLayer()->TexCoords.GetItem(0);
    Scene.FrameTime = 2.0f;
    Scene.ScrollCaustics();
    EXPECT_NEAR(Scene.WaterCausticLayer()->TexCoords.GetItem(0).S, W0.S - 0.2f, 1e-5f);
    EXPECT_NEAR(Scene.WaterCausticLayer()->TexCoords.GetItem(0).T, W0.T + 0.2f, 1e-5f);
    EXPECT_NEAR(Scene.BottomCausticLayer()->TexCoords.GetItem(0).S, B0.S + 0.2f, 1e-5f);
    EXPECT_NEAR(Scene.BottomCausticLayer()->TexCoords.GetItem(0).T, B0.T + 0.2f, 1e-5f);
}

TEST_F(SceneTest, FrameTimeFollowsTheSceneClockAndTheCaptionCountsEachSecond)
{
    StartScene();
    Scene.RenderFrame(Window);
    EXPECT_EQ(Scene.FrameTime, 0.0f) << "the first frame after a reset";
    for (int i = 0; i < 56; ++i) {
        Clock.Time += 17;
        Scene.RenderFrame(Window);
    }
    EXPECT_NEAR(Scene.FrameTime, 0.017f, 1e-6f);
    EXPECT_TRUE(Captions.empty());
    Clock.Time += 100;   // 1.052 s: the 58th frame closes the second
    Scene.RenderFrame(Window);
    ASSERT_EQ(Captions.size(), 1u);
    EXPECT_EQ(Captions[0], "Glimmora 3D Screen Saver FPS: 58");
    EXPECT_EQ(Scene.FramesPerSecond, 58);
    EXPECT_EQ(Scene.FrameCount, 0);

    Scene.FullScreenRunning = true;   // full screen leaves the caption alone
    Clock.Time += 1000;
    Scene.RenderFrame(Window);
    EXPECT_EQ(Captions.size(), 1u);
    EXPECT_EQ(TUnderwaterScene::FpsCaption(57), "Glimmora 3D Screen Saver FPS: 57");
}

TEST_F(SceneTest, AutoThemeCyclesAndAFixedThemeStays)
{
    TSceneOptions O;
    O.ThemeAuto = true;
    O.ThemeIndex = 2;
    StartScene(O);
    std::vector<int> Shown;
    for (int i = 0; i < 4; ++i) {
        Scene.NextAutoTheme();
        Shown.push_back(Scene.ActiveTheme());
    }
    EXPECT_EQ(Shown, (std::vector<int>{0, 1, 2, 0}));
    Scene.Options.ThemeAuto = false;
    Scene.NextAutoTheme();
    EXPECT_EQ(Scene.ActiveTheme(), 0);
}

TEST_F(SceneTest, TheInformationBlockIsLoggedOnceLineByLine)
{
    GL.Strings[GL_VENDOR] = "Acme";
    GL.Strings[GL_RENDERER] = "Soft Raster";
    GL.Strings[GL_VERSION] = "1.1";
    GL.Strings[GL_EXTENSIONS] = "GL_EXT_one GL_EXT_two";
    GL.Integers[GL_MAX_LIGHTS] = {8};
    GL.Integers[GL_MAX_MODELVIEW_STACK_DEPTH] = {32};
    GL.Integers[GL_MAX_NAME_STACK_DEPTH] = {64};
    GL.Integers[GL_MAX_TEXTURE_SIZE] = {2048};
    GL.Integers[GL_MAX_VIEWPORT_DIMS] = {4096, 2048};
    Log.SetLogFile(true);
    StartScene({}, "[System]\nLog=1\n");
    Scene.ReleaseGL();
    Scene.InitGL(&DC);   // a second context writes no second block
    Log.SetLogFile(false);

    const std::string Text = TTempDir::Read(Log.FileName());
    const std::string Expect = "*** Start OpenGL Info ***\r\n"
                               "Version: 1.1\r\n"
                               "Vendor: Acme\r\n"
                               "Render: Soft Raster\r\n"
                               "*** Start OpenGL Extensions ***\r\n"
                               "GL_EXT_one\r\n"
                               "GL_EXT_two\r\n"
                               "*** End OpenGL Extensions ***\r\n"
                               "MaxLights: 8\r\n"
                               "MaxModelViewStack: 32\r\n"
                               "MaxNameStack: 64\r\n"
                               "MaxTextureSize: 2048\r\n"
                               "MaxViewportSize: 4096 2048\r\n"
                               "*** End OpenGL Info ***\r\n";
    EXPECT_EQ(Text.substr(0, Expect.size()), Expect);
    EXPECT_EQ(Text.find_first_not_of('\0', Expect.size()), std::string::npos);
    EXPECT_EQ(Scene.GLSummaryText, "Vendor:  Acme\r\nVideo:  Soft Raster\r\nOpenGL:  1.1");
}

TEST_F(SceneTest, WithLoggingOffTheSummaryIsStillBuilt)
{
    GL.Strings[GL_VENDOR] = "Acme";
    StartScene();
    EXPECT_EQ(Scene.GLSummaryText, "Vendor:  Acme\r\nVideo:  \r\nOpenGL:  ");
    EXPECT_FALSE(std::filesystem::exists(Log.FileName()));
}

TEST(SceneReport, ExtensionListsSplitLikeCommaText)
{
    const std::pair<const char*, std::vector<std::string>> Cases[] = {
        {"", {}},
        {"   ", {}},
        {"GL_A GL_B  GL_C ", {"GL_A", "GL_B", "GL_C"}},
        {"a,b, c", {"a", "b", "c"}},
        {"\"two words\" x", {"two words", "x"}},
        {"a,,b", {"a", "", "b"}},
        {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
    };
    for (const auto& [Text, Items] : Cases)
        EXPECT_EQ(SplitCommaText(Text), Items) << Text;
}

TEST_F(SceneTest, SoundFollowsTheOptionAtEachStartAndStopsWhenFreed)
{
    StartScene();
    Scene.ApplySoundOption();
    EXPECT_EQ(Sound.Calls, (std::vector<std::string>{"stop", "play sbubles"}));
    Scene.Options.SoundEnabled = false;
    Scene.ApplySoundOption();
    EXPECT_EQ(Sound.Calls.back(), "stop");
    Sound.Calls.clear();
    Scene.ReleaseGL();
    Scene.FreeScene();
    EXPECT_EQ(Sound.Calls, std::vector<std::string>{"stop"});
    EXPECT_FALSE(Scene.Built());
}

TEST_F(SceneTest, BadTuningFileValuesReachTheErrorPath)
{
    EXPECT_THROW(Scene.Start(32, true, {}, Dir.Write("t.ini", "[Immersion]\nFogColor=1,x,2\n"), 1u), EGlimmoraError);
    try {
        Scene.Start(32, true, {}, Dir.Write("t.ini", "[Bills]\nImage=nothing.jpg\n"), 1u);
        FAIL() << "an image that names no resource must stop the build";
    } catch (const EGlimmoraError& E) {
        EXPECT_NE(std::string(E.what()).find("nothing_jpg"), std::string::npos) << E.what();
    }
}
