// glimmora3d: the Linux program. Picks the backends of a run without a
// display (an EGL pbuffer, silent sound, PNG files) and of runs on a screen (an SDL
// window and its GL context, EGL on a foreign X window, SDL audio) and
// hands them to the portable runs (app/HeadlessRun.h).
#include <signal.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/linux/LinuxProgram.h"
#include "app/linux/LinuxWindowRun.h"
#include "app/options/OptionsFile.h"
#include "scene/LogFile.h"
#include "platform/headless/EGLPbufferContext.h"
#include "platform/headless/HeadlessWindow.h"
#include "platform/headless/PngFile.h"
#include "platform/headless/SilentSound.h"
#include "platform/linux/ForeignWindow.h"
#include "platform/linux/LinuxSystem.h"
#include "platform/linux/SDLWindow.h"
#include "platform/linux/TextFiles.h"

namespace {

std::string ProgramDir()
{
    std::error_code Ec;
    const auto Exe = std::filesystem::read_symlink("/proc/self/exe", Ec);
    return Ec ? std::string(".") : Exe.parent_path().string();
}

double PeakMemoryMiB()
{
    rusage Usage{};
    getrusage(RUSAGE_SELF, &Usage);
    return Usage.ru_maxrss / 1024.0;   // kilobytes on Linux
}

volatile std::sig_atomic_t StopSignal = 0;

void OnStopSignal(int) { StopSignal = 1; }

// SIGTERM and SIGINT end a run on a screen at its next frame; a blocked
// sleep returns early (no SA_RESTART).
void CatchStopSignals()
{
    struct sigaction Action {};
    Action.sa_handler = OnStopSignal;
    sigemptyset(&Action.sa_mask);
    sigaction(SIGTERM, &Action, nullptr);
    sigaction(SIGINT, &Action, nullptr);
}

std::string Env(const std::string& Name)
{
    const char* Value = std::getenv(Name.c_str());
    return Value ? Value : "";
}

int64_t NowMicroseconds()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void SleepMicroseconds(int64_t Us)
{
    timespec T{static_cast<time_t>(Us / 1000000), static_cast<long>(Us % 1000000) * 1000};
    nanosleep(&T, nullptr);
}

} // namespace

int main(int argc, char** argv)
{
    const auto ProcessStart = std::chrono::steady_clock::now();
    const auto GLContext = CreateEGLPbufferContext();
    const auto GLLibraries = CreateSystemLibraryLoader();
    const auto Process = CreateProcessControl();
    const auto Sound = CreateSilentSoundOutput();
    const auto Clock = CreateSystemClock();
    const auto Resources = CreateModuleResources();
    const auto Pictures = CreatePngFileWriter();
    const auto WindowGL = CreateSDLGLContext();
    const auto ForeignGL = CreateEGLWindowContext();
    const auto Audible = CreateSDLSound(*Resources, [](const std::string& Line) { std::cerr << "glimmora3d: " << Line << '\n'; });
    TScreenHost Screen{[](const TScreenWindowRequest& R) {
                           TSDLWindowRequest S;
                           S.Title = R.Title;
                           S.Width = R.Width;
                           S.Height = R.Height;
                           S.FullScreen = R.FullScreen;
                           S.ModeWidth = R.ModeWidth;
                           S.ModeHeight = R.ModeHeight;
                           S.ModeBitsPerPixel = R.ModeBitsPerPixel;
                           return CreateSDLWindow(S);
                       },
                       *WindowGL,
                       OpenForeignWindow,
                       *ForeignGL,
                       *Audible,
                       Env,
                       OptionsFilePath(Env("XDG_CONFIG_HOME"), Env("HOME")),
                       ReadTextFile,
                       ReplaceFileAtomically,
                       TWindowLoopServices{nullptr, [] { return StopSignal != 0; }, NowMicroseconds, SleepMicroseconds},
                       CatchStopSignals};
    TLinuxHost Host{*GLContext,
                       *GLLibraries,
                       *Process,
                       *Sound,
                       *Resources,
                       *Clock,
                       [](int Width, int Height) { return std::make_unique<THeadlessWindow>(Width, Height); },
                       ProgramDir(),
                       ProcessStart,
                       PeakMemoryMiB,
                       *Pictures,
                       XdgStateFolder([](const char* Name) -> const char* { return std::getenv(Name); }),
                       [] { return isatty(STDERR_FILENO) == 1; },
                       &Screen};
    return RunLinuxProgram(std::vector<std::string>(argv + 1, argv + argc), Host, std::cout, std::cerr);
}
