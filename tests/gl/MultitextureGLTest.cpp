// The multitexture path against the OpenGL 1.1 passes on Mesa's software
// renderer: the same scene, seed and clock drawn both ways, pictures
// compared channel by channel.
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/linux/LinuxProgram.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeProcess.h"
#include "fakes/FakeSound.h"
#include "fakes/TempDir.h"
#include "fakes/SystemBackends.h"
#include "platform/Resources.h"
#include "platform/headless/EGLPbufferContext.h"
#include "platform/headless/HeadlessWindow.h"
#include "scene/Scene.h"

namespace {

constexpr int W = 512, H = 384;

class MultitexturePath : public ::testing::Test {
protected:
    std::unique_ptr<IGLContextBackend> Backend = CreateEGLPbufferContext();
    std::unique_ptr<ILibraryLoader> Libraries = CreateSystemLibraryLoader();
    const std::unique_ptr<IEmbeddedResources> Module = CreateModuleResources();
    TFakeProcessControl Process;
    TFakeSound Sound;
    TTempDir Dir;
    TLogFile Log{Dir.File("g.log")};
    THeadlessWindow Window{W, H};
    bool Layered = false, Folded = false;

    // Six frames 40 ms apart of Theme, read back after the last.
    std::vector<uint8_t> Picture(int Theme, bool OpenGL11, const std::string& Tuning = {})
    {
        TFakeClock Clock;
        TUnderwaterScene Scene(TSceneServices{Clock, *Backend, *Libraries, Process, Sound, Log,
                                              EmbeddedAssets(*Module), nullptr, nullptr});
        TSceneOptions O;
        O.ThemeIndex = Theme;
        Scene.Start(O, Tuning.empty() ? std::string() : Dir.Write("t.ini", Tuning), 3u);
        Scene.ForceOpenGL11(OpenGL11);
        Scene.InitGL(Window.DC());
        Scene.ResetFrameState();
        for (int i = 0; i < 6; ++i) {
            Clock.Time += 40;
            Scene.RenderFrame(Window);
        }
        Layered = Scene.LayeredPlanes();
        Folded = Scene.ShimmerInBillPass();
        std::vector<uint8_t> Pixels = ReadFramePixels(W, H);
        Scene.ReleaseGL();
        return Pixels;
    }
};

struct TDifference {
    double Mean = 0;   // of full scale
    int Max = 0;       // in 1/255
};

TDifference Compare(const std::vector<uint8_t>& A, const std::vector<uint8_t>& B)
{
    TDifference D;
    double Sum = 0;
    for (std::size_t i = 0; i < A.size() && i < B.size(); ++i) {
        const int E = std::abs(int(A[i]) - int(B[i]));
        Sum += E;
        D.Max = std::max(D.Max, E);
    }
    D.Mean = A.empty() ? 0 : Sum / double(A.size()) / 255.0;
    return D;
}

} // namespace

// Measured at 1024 x 768 after 10 s of scene time: a mean error of 0.07 %
// to 0.09 % of full scale on the three themes, no channel off by more than
// 3 %. The bound here is twice that mean.
TEST_F(MultitexturePath, EachThemeLooksAsWithTheOpenGL11Passes)
{
    for (int Theme = 0; Theme < 3; ++Theme) {
        SCOPED_TRACE("theme " + std::to_string(Theme));
        const std::vector<uint8_t> Old = Picture(Theme, true);
        EXPECT_FALSE(Layered);
        EXPECT_FALSE(Folded);
        const std::vector<uint8_t> New = Picture(Theme, false);
        // Mesa offers OpenGL 1.4 and more: both folds run.
        EXPECT_TRUE(Layered);
        EXPECT_TRUE(Folded);
        ASSERT_EQ(Old.size(), std::size_t(W) * H * 3);
        ASSERT_EQ(New.size(), Old.size());
        const TDifference D = Compare(Old, New);
        EXPECT_LT(D.Mean, 0.0018);
        EXPECT_LE(D.Max, 8);
        EXPECT_GT(D.Max, 0) << "the paths are two: some rounding differs";
    }
}

// Settings under which a fold would not hold keep that part on its passes,
// and the picture agrees all the same.
TEST_F(MultitexturePath, SettingsThatRuleOutAFoldStillGiveThePicture)
{
    for (const std::string Tuning : {"[View]\nAmbientColor=230,230,230\n", "[Planes]\nWaterCausticAlpha=0\n",
                                     "[Bills]\nShimmerAlpha=0\n"}) {
        SCOPED_TRACE(Tuning);
        const TDifference D = Compare(Picture(0, true, Tuning), Picture(0, false, Tuning));
        EXPECT_LT(D.Mean, 0.0018);
        EXPECT_LE(D.Max, 8);
    }
}
