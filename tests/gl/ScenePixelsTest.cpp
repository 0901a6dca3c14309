// Whole frames of the scene drawn by Mesa's software renderer and read back.
#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fakes/FakeClock.h"
#include "fakes/FakeProcess.h"
#include "fakes/FakeSound.h"
#include "fakes/TempDir.h"
#include "fakes/SystemBackends.h"
#include "platform/Resources.h"
#include "app/linux/LinuxProgram.h"
#include "platform/headless/EGLPbufferContext.h"
#include "platform/headless/HeadlessWindow.h"
#include "scene/Scene.h"

namespace {

constexpr int W = 320, H = 240;

struct TRGB {
    int R, G, B;
};

class ScenePixels : public ::testing::Test {
protected:
    TFakeClock Clock;
    std::unique_ptr<IGLContextBackend> Backend = CreateEGLPbufferContext();
    std::unique_ptr<ILibraryLoader> Libraries = CreateSystemLibraryLoader();
    const std::unique_ptr<IEmbeddedResources> Module = CreateModuleResources();
    TFakeProcessControl Process;
    TFakeSound Sound;
    TTempDir Dir;
    TLogFile Log{Dir.File("g.log")};
    std::unique_ptr<TUnderwaterScene> Scene;
    THeadlessWindow Window{W, H};
    std::vector<GLubyte> Pixels;

    void TearDown() override
    {
        if (Scene)
            Scene->ReleaseGL();
    }

    // Builds a scene, lets Arrange place things, draws one frame.
    void Draw(int Dollars, int Bubbles, const std::string& Tuning,
              const std::function<void(TUnderwaterScene&)>& Arrange = nullptr)
    {
        if (Scene)
            Scene->ReleaseGL();
        Scene = std::make_unique<TUnderwaterScene>(TSceneServices{Clock, *Backend, *Libraries, Process, Sound, Log,
                                                                  EmbeddedAssets(*Module), nullptr, nullptr});
        TSceneOptions O;
        O.DollarCount = Dollars;
        O.BubbleCount = Bubbles;
        Scene->Start(O, Tuning.empty() ? std::string() : Dir.Write("t.ini", Tuning), 5u);
        Scene->InitGL(Window.DC());
        Scene->ResetFrameState();
        if (Arrange)
            Arrange(*Scene);
        Scene->RenderFrame(Window);
        Pixels = ReadFramePixels(W, H);
    }
    // (X, Y) with Y counted from the top.
    TRGB At(int X, int Y) const
    {
        const std::size_t I = (std::size_t(Y) * W + std::size_t(X)) * 3;
        return TRGB{Pixels[I], Pixels[I + 1], Pixels[I + 2]};
    }
    // The screen row (from the top) a ray Deg degrees above the view axis hits.
    static int RowAt(double Deg)
    {
        const double Half = std::tan(75.0 / 2 * 3.14159265358979 / 180);
        return static_cast<int>(std::lround(H / 2.0 - std::tan(Deg * 3.14159265358979 / 180) / Half * (H / 2.0)));
    }
    static void ExpectColor(TRGB P, const TGLColor& C, int Tol, const char* What)
    {
        EXPECT_NEAR(P.R, C.R * 255, Tol) << What;
        EXPECT_NEAR(P.G, C.G * 255, Tol) << What;
        EXPECT_NEAR(P.B, C.B * 255, Tol) << What;
    }
};

void PlaceOne(TParticles& Effect, TGLVector Position)
{
    TParticle& P = Effect.Particles[0];
    P.Position = Position;
    P.Rotation = P.Velocity = P.Spin = ZeroVector;
    P.Age = 0;
    P.Life = 1000;
}

bool Same(TRGB A, TRGB B, int Tol)
{
    return std::abs(A.R - B.R) <= Tol && std::abs(A.G - B.G) <= Tol && std::abs(A.B - B.B) <= Tol;
}

} // namespace

TEST_F(ScenePixels, WhereNothingIsDrawnTheThemesFogColourShows)
{
    // A far distance of 20000 moves the backdrop away from the planes' far
    // edges: rays between them meet nothing.
    for (int Theme : {0, 2}) {
        Draw(0, 0, "[View]\nFarDistance=20000\n", [&](TUnderwaterScene& S) { S.Options().ThemeIndex = Theme; });
        ExpectColor(At(W / 2, RowAt(20)), Scene->Settings().Themes[Theme].FogColor, 3, "the gap above the backdrop");
    }
}

TEST_F(ScenePixels, TheBackdropRunsFromWaterColourToBottomColour)
{
    Draw(0, 0, "");
    const TSceneTheme& T = Scene->Settings().Themes[0];
    // At the view axis the wall (from y = 5000 down to -3000) is 5/8 of the
    // way from the water colour to the bottom colour.
    const TGLColor Mid{T.WaterColor.R + (T.BottomColor.R - T.WaterColor.R) * 0.625f,
                       T.WaterColor.G + (T.BottomColor.G - T.WaterColor.G) * 0.625f,
                       T.WaterColor.B + (T.BottomColor.B - T.WaterColor.B) * 0.625f, 1};
    ExpectColor(At(W / 2, H / 2), Mid, 3, "the middle of the wall");
    const TRGB Up = At(W / 2, RowAt(12)), Down = At(W / 2, RowAt(-12));
    EXPECT_GT(Up.G, Down.G) << "lighter toward the water";
    EXPECT_GT(Up.B, Down.B);
}

TEST_F(ScenePixels, ABillPlacedInFrontShowsUpThere)
{
    Draw(0, 0, "");
    const TRGB Empty = At(W / 2, H / 2);
    const TRGB Side = At(20, H / 2);
    Draw(1, 0, "", [](TUnderwaterScene& S) { PlaceOne(*S.Objects().ImmersionEffect, MakeVector(0, 0, -1500)); });
    EXPECT_FALSE(Same(At(W / 2, H / 2), Empty, 20)) << "the bill covers the middle";
    EXPECT_TRUE(Same(At(20, H / 2), Side, 1)) << "and nothing at the side";
}

TEST_F(ScenePixels, ABubblesTransparentCornersHideNothing)
{
    Draw(0, 0, "");
    std::vector<GLubyte> Without = Pixels;
    Draw(0, 1, "", [](TUnderwaterScene& S) { PlaceOne(*S.Objects().BubbleEffect, MakeVector(0, 0, -1000)); });
    // The 200-unit square at 1000 units spans about +-16 pixels here; its
    // corners lie outside the round bubble.
    const int Half = static_cast<int>(100.0 / 1000 / std::tan(37.5 * 3.14159265358979 / 180) * (H / 2.0));
    int Changed = 0;
    for (int Dy : {-1, 1})
        for (int Dx : {-1, 1}) {
            const int X = W / 2 + Dx * (Half - 2), Y = H / 2 + Dy * (Half - 2);
            const std::size_t I = (std::size_t(Y) * W + std::size_t(X)) * 3;
            EXPECT_TRUE(Same(At(X, Y), TRGB{Without[I], Without[I + 1], Without[I + 2]}, 1)) << Dx << "," << Dy;
        }
    for (std::size_t i = 0; i < Pixels.size(); ++i)
        Changed += Pixels[i] != Without[i];
    EXPECT_GT(Changed, 100) << "the bubble itself is drawn";
}
