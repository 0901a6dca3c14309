// glimmora3d: the Linux program. Without a display it renders the scene
// headless (EGL pbuffer on Mesa): one picture (--snapshot) or a benchmark
// (--bench).
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/LogFile.h"
#include "app/PngWriter.h"
#include "gl/Errors.h"
#include "platform/Clock.h"
#include "platform/Process.h"
#include "platform/Resources.h"
#include "platform/Sound.h"
#include "platform/headless/HeadlessGL.h"
#include "scene/Scene.h"

namespace {

using TSteady = std::chrono::steady_clock;

// A clock the snapshot moves by hand, so the same seed and scene time
// always give the same picture.
class TManualClock final : public IMillisecondClock {
public:
    uint32_t Time = 0;
    uint32_t Now() override { return Time; }
    bool GetDevCaps(uint32_t& MinPeriod, uint32_t& MaxPeriod) override
    {
        MinPeriod = 1;
        MaxPeriod = 1000000;
        return true;
    }
    bool BeginPeriod(uint32_t) override { return true; }
    void EndPeriod(uint32_t) override {}
};

class THeadlessWindow final : public IRenderWindow {
public:
    THeadlessWindow(int Width, int Height) : FWidth(Width), FHeight(Height), FDC(CreateHeadlessDC(Width, Height)) {}
    ~THeadlessWindow() override { DestroyHeadlessDC(FDC); }
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    void SwapBuffers(TOpenGLEngine& Engine) override { Engine.SwapBuffers(FDC); }
    TGLDeviceContext DC() const { return FDC; }

    // The frame just drawn, rows top-down.
    std::vector<uint8_t> ReadPixels() const
    {
        std::vector<uint8_t> Bottom(std::size_t(FWidth) * FHeight * 3), Top(Bottom.size());
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, FWidth, FHeight, GL_RGB, GL_UNSIGNED_BYTE, Bottom.data());
        const std::size_t Row = std::size_t(FWidth) * 3;
        for (int y = 0; y < FHeight; ++y)
            std::copy_n(Bottom.begin() + std::ptrdiff_t(Row * std::size_t(FHeight - 1 - y)), Row,
                        Top.begin() + std::ptrdiff_t(Row * std::size_t(y)));
        return Top;
    }

private:
    int FWidth, FHeight;
    TGLDeviceContext FDC;
};

std::string ProgramDir()
{
    std::error_code Ec;
    const auto Exe = std::filesystem::read_symlink("/proc/self/exe", Ec);
    return Ec ? std::string(".") : Exe.parent_path().string();
}

std::string TuningFileFor(const TRunOptions& O)
{
    if (!O.TuningFile.empty()) {
        if (!std::filesystem::exists(O.TuningFile))
            throw EGlimmoraError("The tuning file \"" + O.TuningFile + "\" does not exist");
        return O.TuningFile;
    }
    return (std::filesystem::path(ProgramDir()) / "glimmora3d.ini").string();
}

TSceneOptions SceneOptionsOf(const TRunOptions& O)
{
    TSceneOptions S;
    S.BubbleCount = O.BubbleCount;
    S.DollarCount = O.DollarCount;
    S.ThemeIndex = O.Theme;
    S.ThemeAuto = false;
    S.SoundEnabled = false;
    return S;
}

struct TRun {
    explicit TRun(IMillisecondClock& Clock)
        : Process(CreateProcessControl()), Sound(CreateSoundOutput()), Backend(CreateSystemGLContext()),
          Resources(CreateModuleResources()),
          Log((std::filesystem::path(ProgramDir()) / "glimmora3d.log").string()),
          Scene(TSceneServices{.Clock = Clock,
                               .GLBackend = *Backend,
                               .Process = *Process,
                               .Sound = *Sound,
                               .Log = Log,
                               .Assets = EmbeddedAssets(*Resources),
                               .ShowError =
                                   [](const std::string& M) { std::fprintf(stderr, "glimmora3d: %s\n", M.c_str()); },
                               .SetCaption = nullptr})
    {
    }
    // The headless surface is true colour, so the desktop check passes.
    void Start(const TRunOptions& O, std::optional<uint32_t> Seed)
    {
        TUnderwaterScene::CheckColorDepth(32, true);
        Scene.Start(SceneOptionsOf(O), TuningFileFor(O), Seed);
    }
    std::unique_ptr<IProcessControl> Process;
    std::unique_ptr<ISoundOutput> Sound;
    std::unique_ptr<IGLContextBackend> Backend;
    std::unique_ptr<IEmbeddedResources> Resources;
    TLogFile Log;
    TUnderwaterScene Scene;
};

int Snapshot(const TRunOptions& O)
{
    TManualClock Clock;
    TRun R(Clock);
    R.Start(O, O.Seed.value_or(1));
    THeadlessWindow Window(O.Width, O.Height);
    R.Scene.InitGL(Window.DC());
    R.Scene.ResetFrameState();
    // Frames 40 ms apart until the scene time is reached, then the shot.
    const uint32_t End = static_cast<uint32_t>(O.SceneTime * 1000.0 + 0.5);
    R.Scene.RenderFrame(Window);
    while (Clock.Time < End) {
        Clock.Time = std::min<uint32_t>(End, Clock.Time + 40);
        R.Scene.RenderFrame(Window);
    }
    const std::vector<uint8_t> Pixels = Window.ReadPixels();
    R.Scene.ReleaseGL();
    const std::filesystem::path Out(O.OutputFile);
    if (Out.has_parent_path())
        std::filesystem::create_directories(Out.parent_path());
    WritePNG(O.OutputFile, O.Width, O.Height, Pixels);
    std::printf("wrote %s (%dx%d, theme %d, %.2f s of scene time)\n", O.OutputFile.c_str(), O.Width, O.Height,
                O.Theme, O.SceneTime);
    return 0;
}

double Ms(TSteady::duration D) { return std::chrono::duration<double, std::milli>(D).count(); }

int Bench(const TRunOptions& O, TSteady::time_point ProcessStart)
{
    auto Clock = CreateSystemClock();
    TRun R(*Clock);
    R.Start(O, O.Seed);
    THeadlessWindow Window(O.Width, O.Height);
    R.Scene.InitGL(Window.DC());
    R.Scene.ResetFrameState();
    R.Scene.RenderFrame(Window);
    glFinish();
    const double StartupMs = Ms(TSteady::now() - ProcessStart);

    TSteady::duration Update{}, Total{};
    for (int i = 0; i < O.Frames; ++i) {
        const auto T0 = TSteady::now();
        R.Scene.RenderFrame(Window);
        glFinish();   // count the frame's drawing, not just its submission
        Total += TSteady::now() - T0;
        Update += R.Scene.LastUpdateTime();
    }
    R.Scene.ReleaseGL();
    rusage Usage{};
    getrusage(RUSAGE_SELF, &Usage);
    const double Frames = O.Frames;
    std::printf("size           %dx%d, theme %d, %d bills, %d bubbles, %d frames\n", O.Width, O.Height, O.Theme,
                O.DollarCount, O.BubbleCount, O.Frames);
    std::printf("frames/second  %.1f\n", 1000.0 * Frames / Ms(Total));
    std::printf("ms/frame       %.3f (update %.3f, draw %.3f)\n", Ms(Total) / Frames, Ms(Update) / Frames,
                (Ms(Total) - Ms(Update)) / Frames);
    std::printf("start-up       %.0f ms to the first frame\n", StartupMs);
    std::printf("peak memory    %.1f MiB\n", Usage.ru_maxrss / 1024.0);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const auto ProcessStart = TSteady::now();
    try {
        const TRunOptions O = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
        switch (O.Kind) {
        case rkVersion:
            std::printf("Glimmora 3D 1.7 (Tarnwick Software)\n");
            return 0;
        case rkSnapshot:
            return Snapshot(O);
        case rkBench:
            return Bench(O, ProcessStart);
        case rkHelp:
            std::fputs(UsageText().c_str(), stdout);
            return 0;
        }
    } catch (const std::exception& E) {
        std::fprintf(stderr, "glimmora3d: %s\n", E.what());
        return 1;
    }
    return 0;
}
