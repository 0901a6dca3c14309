// The scene's start, frame order, drawing rules and reports, through the
// recording GL table and a scripted context (no real OpenGL).
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <numbers>

#include "fakes/FakeClock.h"
#include "fakes/FakeGLContext.h"
#include "fakes/FakeLibraries.h"
#include "fakes/FakeProcess.h"
#include "fakes/FakeSound.h"
#include "fakes/RecordingGL.h"
#include "fakes/TempDir.h"
#include "fakes/SystemBackends.h"
#include "gl/Errors.h"
#include "gl/GLUtils.h"
#include "platform/Resources.h"
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
    const std::unique_ptr<IEmbeddedResources> Module = CreateModuleResources();
    TUnderwaterScene Scene{TSceneServices{Clock, Context, Libraries, Process, Sound, Log, EmbeddedAssets(*Module), nullptr,
                                          [this](const std::string& C) { Captions.push_back(C); }}};
    TTestWindow Window;
    int DC = 0;

    void StartScene(TSceneOptions Options = {}, const std::string& Tuning = {})
    {
        TUnderwaterScene::CheckColorDepth(32, true);
        Scene.Start(Options, Tuning.empty() ? std::string() : Dir.Write("t.ini", Tuning), 42u);
        Scene.Objects().Engine->LibLoaded = true;   // the recorder stands in for the libraries
        Window.Target = &DC;
        Scene.InitGL(&DC);
        Scene.ResetFrameState();
    }
    void TearDown() override
    {
        if (Scene.Built())
            Scene.Objects().Engine->LibLoaded = false;
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

TEST_F(SceneTest, BuildMakesEveryObjectFromTheEmbeddedAssets)
{
    StartScene();
    const TSceneObjects& O = Scene.Objects();
    EXPECT_EQ(O.BillPrimitive->Vertices.Count(), 8);
    EXPECT_EQ(O.BillShimmerPrimitive->TexCoords.GetItem(2).S, 4.0f);
    EXPECT_EQ(O.BottomShadeLayer->Colors.Count(), O.BottomPrimitive->Vertices.Count());
    // The water is the bottom turned over: x and y change sign.
    const TGLVector B = O.BottomPrimitive->Vertices.GetItem(0);
    const TGLVector W = O.WaterPrimitive->Vertices.GetItem(0);
    EXPECT_NEAR(W.X, -B.X, 0.01f);
    EXPECT_NEAR(W.Z, B.Z, 0.01f);
    // Every copy is a primitive of its own.
    for (const TGLRef<TGLPrimitive>& P : {O.BillShimmerPrimitive, O.BottomCausticLayer, O.BottomShadeLayer,
                                          O.WaterPrimitive, O.WaterCausticLayer, O.WaterShadeLayer})
        EXPECT_EQ(P->RefCount(), 2) << "the struct's reference and the loop's";
    EXPECT_EQ(O.WaveFrames.Count(), 1);
    EXPECT_EQ(O.WaveAnimations.Count(), 1);
    EXPECT_EQ(O.BubbleEffect->Count(), 100);
    for (TParticles* E : {static_cast<TParticles*>(O.FishEffect.get()),
                          static_cast<TParticles*>(O.ImmersionEffect.get()),
                          static_cast<TParticles*>(O.FountainEffect.get())})
        EXPECT_EQ(E->Count(), 60);
    EXPECT_EQ(O.FountainEffect->Gravity, 32.0f);
    EXPECT_TRUE(O.FountainEffect->UseGravity);
    for (const TThemeTextures& T : O.ThemeTextures)
        EXPECT_TRUE(T.CausticTexture && T.BottomTexture && T.WaterTexture);
}

TEST_F(SceneTest, ShadeLayerAlphaPerVertexRow)
{
    StartScene();
    TGLPrimitive& Layer = *Scene.Objects().BottomShadeLayer;
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
    EXPECT_EQ(Scene.Objects().ImmersionEffect->Count(), 0);
}

TEST_F(SceneTest, CountsFollowTheOptionsAtTheNextFrame)
{
    StartScene();
    Scene.Options().BubbleCount = 3;
    Scene.Options().DollarCount = 5;
    Scene.RenderFrame(Window);
    EXPECT_EQ(Scene.Objects().BubbleEffect->Count(), 3);
    EXPECT_EQ(Scene.Objects().FishEffect->Count(), 5);
    EXPECT_EQ(Scene.Objects().FountainEffect->Count(), 5);
}

// The caustic layers scroll by 0.1 x the frame time of the frame before, so
// their texture coordinates show each frame's time.
class CausticScroll {
public:
    explicit CausticScroll(const TSceneObjects& O) : FWater(*O.WaterCausticLayer), FBottom(*O.BottomCausticLayer)
    {
        Mark();
    }
    // How far each layer moved since the last mark (the water towards -S).
    float WaterStep() const { return FWaterS - FWater.TexCoords.GetItem(0).S; }
    float WaterStepT() const { return FWater.TexCoords.GetItem(0).T - FWaterT; }
    float BottomStepS() const { return FBottom.TexCoords.GetItem(0).S - FBottomS; }
    float BottomStepT() const { return FBottom.TexCoords.GetItem(0).T - FBottomT; }
    void Mark()
    {
        FWaterS = FWater.TexCoords.GetItem(0).S;
        FWaterT = FWater.TexCoords.GetItem(0).T;
        FBottomS = FBottom.TexCoords.GetItem(0).S;
        FBottomT = FBottom.TexCoords.GetItem(0).T;
    }

private:
    const TGLPrimitive& FWater;
    const TGLPrimitive& FBottom;
    float FWaterS = 0, FWaterT = 0, FBottomS = 0, FBottomT = 0;
};

TEST_F(SceneTest, CausticsScrollDiagonallyInOppositeDirections)
{
    StartScene();
    CausticScroll Scroll(Scene.Objects());
    Scene.RenderFrame(Window);   // the first frame after a reset: no time passed
    Clock.Time += 2000;
    Scene.RenderFrame(Window);   // takes the 2 s as its frame time
    EXPECT_EQ(Scroll.WaterStep(), 0.0f);
    Scene.RenderFrame(Window);   // scrolls by 0.1 x 2 s
    EXPECT_NEAR(Scroll.WaterStep(), 0.2f, 1e-5f);
    EXPECT_NEAR(Scroll.WaterStepT(), 0.2f, 1e-5f);
    EXPECT_NEAR(Scroll.BottomStepS(), 0.2f, 1e-5f);
    EXPECT_NEAR(Scroll.BottomStepT(), 0.2f, 1e-5f);
}

TEST_F(SceneTest, FrameTimeFollowsTheSceneClockAndTheCaptionCountsEachSecond)
{
    StartScene();
    CausticScroll Scroll(Scene.Objects());
    Scene.RenderFrame(Window);
    Scene.RenderFrame(Window);
    EXPECT_EQ(Scroll.WaterStep(), 0.0f) << "the first frame after a reset";
    for (int i = 0; i < 54; ++i) {
        Clock.Time += 17;
        Scene.RenderFrame(Window);
    }
    Scroll.Mark();
    Clock.Time += 17;
    Scene.RenderFrame(Window);   // the 57th frame scrolls by the 56th's 17 ms
    EXPECT_NEAR(Scroll.WaterStep(), 0.0017f, 1e-6f);
    EXPECT_TRUE(Captions.empty());
    Clock.Time += 100;   // 1.035 s: the 58th frame closes the second
    Scene.RenderFrame(Window);
    ASSERT_EQ(Captions.size(), 1u);
    EXPECT_EQ(Captions[0], "Glimmora 3D Screen Saver FPS: 58");
    EXPECT_EQ(Scene.FramesPerSecond(), 58);

    // The count starts again: ten frames in the next second.
    for (int i = 0; i < 10; ++i) {
        Clock.Time += 100;
        Scene.RenderFrame(Window);
    }
    ASSERT_EQ(Captions.size(), 2u);
    EXPECT_EQ(Captions[1], "Glimmora 3D Screen Saver FPS: 10");

    Scene.SetFullScreenRunning(true);   // full screen leaves the caption alone
    Clock.Time += 1000;
    Scene.RenderFrame(Window);
    EXPECT_EQ(Captions.size(), 2u);
    EXPECT_EQ(Scene.FramesPerSecond(), 1);
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
        Shown.push_back(Scene.Options().ThemeIndex);
    }
    EXPECT_EQ(Shown, (std::vector<int>{0, 1, 2, 0}));
    Scene.Options().ThemeAuto = false;
    Scene.NextAutoTheme();
    EXPECT_EQ(Scene.Options().ThemeIndex, 0);
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
    EXPECT_EQ(Scene.GLSummaryText(), "Vendor:  Acme\r\nVideo:  Soft Raster\r\nOpenGL:  1.1");
}

TEST_F(SceneTest, WithLoggingOffTheSummaryIsStillBuilt)
{
    GL.Strings[GL_VENDOR] = "Acme";
    StartScene();
    EXPECT_EQ(Scene.GLSummaryText(), "Vendor:  Acme\r\nVideo:  \r\nOpenGL:  ");
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
    Scene.Options().SoundEnabled = false;
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
    EXPECT_THROW(Scene.Start({}, Dir.Write("t.ini", "[Immersion]\nFogColor=1,x,2\n"), 1u), EGlimmoraError);
    try {
        Scene.Start({}, Dir.Write("t.ini", "[Bills]\nImage=nothing.jpg\n"), 1u);
        FAIL() << "an image that names no resource must stop the build";
    } catch (const EGlimmoraError& E) {
        EXPECT_NE(std::string(E.what()).find("nothing_jpg"), std::string::npos) << E.what();
    }
    EXPECT_FALSE(Scene.Built()) << "a failed build leaves nothing half made";
}

// A failed asset names the tuning entry it came from and the file; a bad
// mask is the mask's fault, not the colour image's.
TEST_F(SceneTest, AnAssetThatFailsNamesItsEntryAndFile)
{
    const std::pair<std::string, std::string> Cases[] = {
        {"[Bubbles]\nMask=fixture24.bmp\n",
         "The mask \"fixture24.bmp\" is not an image of the size of \"puzir.jpg\" the program can load "
         "([Bubbles] Mask=fixture24.bmp)"},
        {"[Bubbles]\nImage=fixture24odd.bmp\n",
         "TGLTexture.SetSize error: a size is not power 2 ([Bubbles] Image=fixture24odd.bmp)"},
        {"[Bubbles]\nMask=nothing.jpg\n", "Resource nothing_jpg not found ([Bubbles] Mask=nothing.jpg)"},
        {"[Bubbles]\nImage=nothing.jpg\n", "Resource nothing_jpg not found ([Bubbles] Image=nothing.jpg)"},
        {"[Bills]\nImage=fixture24odd.bmp\n",
         "TGLTexture.SetSize error: a size is not power 2 ([Bills] Image=fixture24odd.bmp)"},
        {"[Fountain]\nWaterTexture=x.png\n",
         "The image \"x.png\" is not a texture the program can load ([Fountain] WaterTexture=x.png)"},
        {"[Bills]\nModel=\n", "T3DMFile error: no model name given ([Bills] Model=)"},
        {"[Planes]\nPlaneModel=dollar.jpg\n", "The model \"dollar.jpg\" holds no object ([Planes] PlaneModel=dollar.jpg)"},
    };
    for (const auto& [Tuning, Message] : Cases) {
        SCOPED_TRACE(Tuning);
        try {
            Scene.Start({}, Dir.Write("t.ini", Tuning), 1u);
            ADD_FAILURE() << "the build must fail";
        } catch (const EGlimmoraError& E) {
            EXPECT_EQ(std::string(E.what()), Message);
        }
        EXPECT_FALSE(Scene.Built());
    }
}

// Each effect takes its own ranges from the settings, and the view and the
// planes that all of them share.
TEST_F(SceneTest, EffectsTakeTheirRangesAndTheSharedViewAndPlanes)
{
    StartScene({}, "[View]\nFieldOfView=60\n[Planes]\nBottomHeight=-2000\nWaterHeight=4000\n"
                   "[Bubbles]\nMaxSpeed=600\n[Immersion]\nMinSpin=10\n[Fountain]\nDepth=3000\n"
                   "[Fishes]\nMaxHeight=4500\n");
    const TSceneSettings& S = Scene.Settings();
    const TBubblesParams& B = Scene.Objects().BubbleEffect->Params;
    EXPECT_EQ(static_cast<const TBubblesRanges&>(B), S.Bubbles);
    EXPECT_EQ(B.MaxSpeed, 600.0f);
    EXPECT_EQ(B.TopHeight, 4000.0f);
    EXPECT_EQ(B.StartHeight, -2000.0f);
    EXPECT_EQ(B.FieldOfView, 60.0f);
    const TImmersionParams& I = Scene.Objects().ImmersionEffect->Params;
    EXPECT_EQ(static_cast<const TImmersionRanges&>(I), S.Immersion);
    EXPECT_EQ(I.MinSpin, 10.0f);
    EXPECT_EQ(I.TopHeight, 4000.0f);
    EXPECT_EQ(I.BottomLimit, -2000.0f);
    EXPECT_EQ(I.FieldOfView, 60.0f);
    const TFountainParams& F = Scene.Objects().FountainEffect->Params;
    EXPECT_EQ(static_cast<const TFountainRanges&>(F), S.Fountain);
    EXPECT_EQ(F.Depth, 3000.0f);
    EXPECT_EQ(F.FieldOfView, 60.0f);
    const TFishParams& Fish = Scene.Objects().FishEffect->Params;
    EXPECT_EQ(static_cast<const TFishRanges&>(Fish), S.Fish);
    EXPECT_EQ(Fish.MaxHeight, 4500.0f);
    EXPECT_EQ(Fish.FieldOfView, 60.0f);
}

namespace {

// The second frame of each theme, every call, after "theme N".
std::vector<std::string> SecondFrames(TRecordingGL& GL, std::function<void(int)> StartTheme,
                                      std::function<void()> Render)
{
    std::vector<std::string> Got;
    for (int Theme = 0; Theme < 3; ++Theme) {
        StartTheme(Theme);
        Render();
        GL.Clear();
        Render();
        Got.push_back("theme " + std::to_string(Theme));
        Got.insert(Got.end(), GL.Calls.begin(), GL.Calls.end());
    }
    return Got;
}

} // namespace

namespace {

// Two recorded calls are the same when their names and every argument
// match, numbers to 0.001 plus a relative 1e-5 (world units are in the
// thousands, angles in degrees): the 32-bit build computes in
// the x87 unit's extended precision, so positions differ in their last digits.
bool SameCall(const std::string& A, const std::string& B)
{
    const auto Split = [](const std::string& S) {
        std::vector<std::string> Parts(1);
        for (char C : S) {
            if (C == '(' || C == ',' || C == ')')
                Parts.emplace_back();
            else
                Parts.back() += C;
        }
        return Parts;
    };
    const std::vector<std::string> PA = Split(A), PB = Split(B);
    if (PA.size() != PB.size())
        return false;
    for (std::size_t i = 0; i < PA.size(); ++i) {
        if (PA[i] == PB[i])
            continue;
        char* EndA = nullptr;
        char* EndB = nullptr;
        const double X = std::strtod(PA[i].c_str(), &EndA);
        const double Y = std::strtod(PB[i].c_str(), &EndB);
        if (PA[i].empty() || PB[i].empty() || *EndA != '\0' || *EndB != '\0' ||
            std::fabs(X - Y) > 1e-3 + 1e-5 * std::fabs(Y))
            return false;
    }
    return true;
}

} // namespace

// The frame a context without multitexturing gets: every call of the second
// frame of each theme, as the program sent them before the multitexture
// path existed (tests/fixtures/resources/gl11_frames.txt). Whatever keeps
// the context on OpenGL 1.1 (its version, missing entry points, too few
// units, the switch), these calls stay as they were. After a deliberate
// change of those passes, GLIMMORA_WRITE_GL11_FRAMES=FILE writes the calls
// this run made to FILE, to replace the fixture.
TEST_F(SceneTest, AContextWithoutMultitexturingGetsExactlyTheOpenGL11Calls)
{
    const std::vector<std::string> Expect = LoadStringsResource(*Module, "gl11_frames.txt");
    ASSERT_GT(Expect.size(), 1000u);
    const std::string All = "GL_ARB_multitexture GL_ARB_texture_env_combine GL_ARB_texture_env_crossbar";
    const struct {
        const char* What;
        std::string Version, Extensions;
        int Units;
        bool EntryPoints, Forced;
        std::string Tuning = {};
    } Cases[] = {
        {"OpenGL 1.1", "1.1.0", "GL_EXT_bgra", 1, true, false},
        {"no version", "", "", 0, true, false},
        {"1.2 with multitexture but no combiners", "1.2.1", "GL_ARB_multitexture", 4, true, false},
        {"4.5 without the entry points", "4.5 (Compatibility Profile) Mesa 22.3.6", All, 8, false, false},
        {"1.3 with one unit", "1.3", All, 1, true, false},
        {"4.5 switched to OpenGL 1.1", "4.5 (Compatibility Profile) Mesa 22.3.6", All, 8, true, true},
        {"4.5 switched by the tuning file", "4.5 (Compatibility Profile) Mesa 22.3.6", All, 8, true, false,
         "[System]\nOpenGL11=1\n"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.What);
        GL.Strings[GL_VERSION] = C.Version;
        GL.Strings[GL_EXTENSIONS] = C.Extensions;
        GL.Integers[GL_MAX_TEXTURE_UNITS] = {C.Units};
        GL.NextTextureName = 1;
        TGLEntryPoints Table = GetEntryPoints();
        const TGLEntryPoints Stubs = Table;
        if (!C.EntryPoints) {
            Table.glActiveTexture = nullptr;
            Table.glClientActiveTexture = nullptr;
        }
        SetEntryPoints(Table);
        const std::vector<std::string> Got = SecondFrames(
            GL,
            [&](int Theme) {
                TSceneOptions Options;
                Options.ThemeIndex = Theme;
                if (Scene.Built())
                    Scene.Objects().Engine->LibLoaded = false;   // keeps the recorder's table
                Scene.ForceOpenGL11(C.Forced);
                StartScene(Options, C.Tuning);
            },
            [&] { Scene.RenderFrame(Window); });
        SetEntryPoints(Stubs);
        if (const char* File = std::getenv("GLIMMORA_WRITE_GL11_FRAMES"); File && &C == &Cases[0]) {
            std::ofstream Out(File, std::ios::binary);
            for (const std::string& Line : Got)
                Out << Line << '\n';
        }
        EXPECT_FALSE(Scene.LayeredPlanes());
        EXPECT_FALSE(Scene.ShimmerInBillPass());
        EXPECT_EQ(Got.size(), Expect.size());
        for (std::size_t i = 0; i < std::min(Got.size(), Expect.size()); ++i)
            ASSERT_TRUE(SameCall(Got[i], Expect[i])) << "call " << i << ": " << Got[i] << " instead of " << Expect[i];
    }
}

// The effects are pre-run for the view they are first drawn in: on a view
// six times as wide as high the bubbles and the sinking bills fill its
// width from the first frame, not the 4:3 middle of it.
TEST_F(SceneTest, TheFirstFrameFindsTheEffectsSpreadOverTheWholeView)
{
    Window.W = 1200;
    Window.H = 200;
    StartScene();
    Scene.RenderFrame(Window);
    const double TanHalf = std::tan(75.0 * std::numbers::pi / 360.0);
    // The widest a particle sits, as a share of the view's half width at
    // its depth.
    const auto Widest = [&](const TParticles& E) {
        double Most = 0;
        for (int32_t i = 0; i < E.Count(); ++i) {
            const TParticle& P = E.Particles[i];
            Most = std::max(Most, std::fabs(P.Position.X) / (TanHalf * 6.0 * std::fabs(P.Position.Z)));
        }
        return Most;
    };
    // Beyond what a 4:3 view holds (4/3 of 6 is 0.22 of the half width).
    EXPECT_GT(Widest(*Scene.Objects().BubbleEffect), 0.6);
    EXPECT_GT(Widest(*Scene.Objects().ImmersionEffect), 0.6);
}

// On Windows the library exports OpenGL 1.1 alone and the multitexture
// calls come from the context's driver: fetched there, by name or with the
// ARB suffix, they give the one-pass drawing; where the driver has none
// either, the drawing keeps to its OpenGL 1.1 passes.
TEST_F(SceneTest, MultitextureCallsTheLibraryLacksAreFetchedFromTheContext)
{
    GL.Strings[GL_VERSION] = "1.4";
    GL.Integers[GL_MAX_TEXTURE_UNITS] = {2};
    TGLEntryPoints Table = GetEntryPoints();
    const TGLEntryPoints Recorded = Table;
    Table.glActiveTexture = nullptr;
    Table.glClientActiveTexture = nullptr;
    for (const bool DriverHasThem : {false, true}) {
        SCOPED_TRACE(DriverHasThem);
        SetEntryPoints(Table);
        Context.Entries.clear();
        Context.Asked.clear();
        if (DriverHasThem) {
            Context.Entries["glActiveTextureARB"] = reinterpret_cast<void*>(Recorded.glActiveTexture);
            Context.Entries["glClientActiveTextureARB"] = reinterpret_cast<void*>(Recorded.glClientActiveTexture);
        }
        if (Scene.Built())
            Scene.Objects().Engine->LibLoaded = false;
        StartScene();
        EXPECT_EQ(Scene.LayeredPlanes(), DriverHasThem);
        EXPECT_EQ(Scene.ShimmerInBillPass(), DriverHasThem);
        EXPECT_EQ(GetEntryPoints().glActiveTexture, DriverHasThem ? Recorded.glActiveTexture : nullptr);
        const std::vector<std::string> Names{"glActiveTexture", "glActiveTextureARB", "glClientActiveTexture",
                                             "glClientActiveTextureARB"};
        ASSERT_GE(Context.Asked.size(), 4u);
        EXPECT_EQ(std::vector<std::string>(Context.Asked.begin(), Context.Asked.begin() + 4), Names);
        if (DriverHasThem) {
            GL.Clear();
            Scene.RenderFrame(Window);
            EXPECT_NE(std::count(GL.Calls.begin(), GL.Calls.end(), "glActiveTexture(GL_TEXTURE1)"), 0);
        }
    }
    SetEntryPoints(Recorded);
}

// Where the context has combiners, a plane and its layers are one draw, and
// a bill with its shimmer one draw on two units; bills outside the view are
// not drawn, and one mesh's arrays go out once for all its copies.
TEST_F(SceneTest, WithCombinersThePlanesAndBillsTakeOnePassEach)
{
    GL.Strings[GL_VERSION] = "1.4";
    GL.Integers[GL_MAX_TEXTURE_UNITS] = {2};
    StartScene();
    ASSERT_TRUE(Scene.LayeredPlanes());
    ASSERT_TRUE(Scene.ShimmerInBillPass());
    Scene.RenderFrame(Window);
    GL.Clear();
    Scene.RenderFrame(Window);
    // Each plane once with its layers, the backdrop, and each bill and
    // bubble in view once; the arrays of each mesh go out once.
    const auto Count = [&](const std::string& Call) { return std::count(GL.Calls.begin(), GL.Calls.end(), Call); };
    EXPECT_EQ(Count("glTranslatef(0,5000,0)"), 1);
    EXPECT_EQ(Count("glTranslatef(0,-3000,0)"), 1);
    EXPECT_EQ(GL.CallsOf("glDrawElements").size() + GL.CallsOf("glDrawArrays").size(),
              GL.CallsOf("glTranslatef").size() + 1);
    EXPECT_EQ(GL.CallsOf("glVertexPointer").size(), 5u);
    EXPECT_TRUE(Called("glEnable(GL_FOG)"));
    EXPECT_TRUE(Called("glFogf(GL_FOG_START,6000)"));
    EXPECT_TRUE(Called("glFogfv(GL_FOG_COLOR,0,0.612,0.7098,1)"));
    EXPECT_TRUE(Called("glTexEnvi(GL_TEXTURE_ENV,GL_COMBINE_RGB,GL_INTERPOLATE)"));
    EXPECT_TRUE(Called("glTexEnvi(GL_TEXTURE_ENV,GL_SOURCE0_RGB,GL_TEXTURE1)"));
    EXPECT_TRUE(Called("glTexEnvfv(GL_TEXTURE_ENV,GL_TEXTURE_ENV_COLOR,0,0,0,0.2)"));
    EXPECT_FALSE(Called("glDepthFunc(GL_EQUAL)"));
    // One bill pass: at most 60 bills, each turned three ways, and unit 0
    // ends as the bubbles expect it.
    const std::size_t Turns = GL.CallsOf("glRotatef").size();
    EXPECT_EQ(Turns % 3, 0u);
    EXPECT_LE(Turns, 60u * 3u);
    EXPECT_GT(Turns, 0u);
    const auto Last = [&](const std::string& Prefix) {
        for (auto It = GL.Calls.rbegin(); It != GL.Calls.rend(); ++It)
            if (It->rfind(Prefix, 0) == 0)
                return *It;
        return std::string();
    };
    EXPECT_EQ(Last("glTexEnvi(GL_TEXTURE_ENV,GL_TEXTURE_ENV_MODE"), "glTexEnvi(GL_TEXTURE_ENV,GL_TEXTURE_ENV_MODE,GL_MODULATE)");
    EXPECT_EQ(Last("glActiveTexture"), "glActiveTexture(GL_TEXTURE0)");
    EXPECT_EQ(Last("glClientActiveTexture"), "glClientActiveTexture(GL_TEXTURE0)");
    EXPECT_FALSE(GL.Enabled.count(GL_TEXTURE_GEN_S));
}
