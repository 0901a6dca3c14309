// glimmora3d: the Linux program. Picks the backends of a run without a
// display (an EGL pbuffer, silent sound) and hands them to the portable
// runs (app/HeadlessRun.h).
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/HeadlessRun.h"
#include "app/LogFile.h"
#include "platform/headless/EGLPbufferContext.h"
#include "platform/headless/HeadlessWindow.h"
#include "platform/headless/SilentSound.h"

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
    THeadlessHost Host{*GLContext,
                       *GLLibraries,
                       *Process,
                       *Sound,
                       *Resources,
                       *Clock,
                       [](int Width, int Height) { return std::make_unique<THeadlessWindow>(Width, Height); },
                       ProgramDir(),
                       ProcessStart,
                       PeakMemoryMiB,
                       XdgStateFolder([](const char* Name) -> const char* { return std::getenv(Name); }),
                       [] { return isatty(STDERR_FILENO) == 1; }};
    return RunLinuxProgram(std::vector<std::string>(argv + 1, argv + argc), Host, std::cout, std::cerr);
}
