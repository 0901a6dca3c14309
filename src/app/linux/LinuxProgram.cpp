// The Linux program's entry: the command line parsed, then help, the
// version, a picture, a benchmark or a run on a screen.
#include "app/linux/LinuxProgram.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <ostream>

#include "Version.h"

TSceneHostParts SceneHostParts(TLinuxHost& Host, IMillisecondClock& Clock, IGLContextBackend& GL, ISoundOutput& Sound,
                               std::ostream& Err)
{
    return TSceneHostParts{Clock,
                           GL,
                           Host.GLLibraries,
                           Host.Process,
                           Sound,
                           Host.Resources,
                           (std::filesystem::path(Host.ProgramDir) / "glimmora3d.log").string(),
                           Host.UserLogFolder,
                           [&Err](const std::string& M) { Err << "glimmora3d: " << M << '\n'; }};
}

std::string RunTuningFile(const TLinuxRunOptions& Options, const std::string& ProgramDir)
{
    return CheckedTuningFile(Options.TuningFile, (std::filesystem::path(ProgramDir) / "glimmora3d.ini").string());
}

namespace {

int RunKind(const TLinuxRunOptions& O, TLinuxHost& Host, std::ostream& Out, std::ostream& Err)
{
    switch (O.Kind) {
    case lkVersion:
        Out << "Glimmora 3D " << GlimmoraVersionText << " (Tarnwick Software)\n";
        return 0;
    case lkSnapshot:
        return RunSnapshot(O, Host, Out, Err);
    case lkBench:
        return RunBench(O, Host, Out, Err);
    case lkHelp:
        Out << LinuxUsageText();
        return 0;
    case lkScreen:
        return RunOnScreen(O, Host, Out, Err);
    }
    return 0;
}

} // namespace

int RunLinuxProgram(const std::vector<std::string>& Args, TLinuxHost& Host, std::ostream& Out, std::ostream& Err)
{
    int Code = 0;
    try {
        Code = RunKind(ParseLinuxCommandLine(Args), Host, Out, Err);
    } catch (const std::exception& E) {
        Err << "glimmora3d: " << E.what() << '\n';
        return 1;
    }
    // A report that did not reach its reader (a full disk, a closed pipe)
    // is a failed run, even when the work itself was done.
    errno = 0;
    Out.flush();
    if (!Out) {
        const int Error = errno;
        Err << "glimmora3d: Cannot write the standard output" << (Error != 0 ? std::string(": ") + std::strerror(Error) : "")
            << '\n';
        return Code != 0 ? Code : 1;
    }
    return Code;
}
