// The Linux program's runs without a display: one picture (--snapshot) or a
// benchmark (--bench), drawn into an off-screen window.
#include "app/linux/LinuxProgram.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <ostream>

#include "app/run/SceneHost.h"
#include "gl/Errors.h"
#include "gl/OpenGL12.h"
#include "scene/Scene.h"

namespace {

using TSteady = std::chrono::steady_clock;

std::string Format(const char* Pattern, ...)
{
    char Text[512];
    va_list Args;
    va_start(Args, Pattern);
    std::vsnprintf(Text, sizeof(Text), Pattern, Args);
    va_end(Args);
    return Text;
}

// Fails before any frame is drawn when the picture could not be written,
// with the system's reason. Makes no folder, leaves no file, and never puts
// a file where a symbolic link was: a link to a picture has the picture
// replaced, a link to nothing is refused.
void CheckOutputFile(const std::string& FileName)
{
    const std::filesystem::path File(FileName);
    const std::string Named = "Cannot write the snapshot \"" + FileName + "\": ";
    std::error_code Ec;
    const std::filesystem::path Folder = File.has_parent_path() ? File.parent_path() : std::filesystem::path(".");
    const auto FolderStatus = std::filesystem::status(Folder, Ec);
    if (FolderStatus.type() == std::filesystem::file_type::not_found)
        throw EGlimmoraError(Named + "the folder \"" + Folder.string() + "\" does not exist");
    if (!Ec && FolderStatus.type() != std::filesystem::file_type::directory)
        throw EGlimmoraError(Named + "\"" + Folder.string() + "\" is not a folder");
    const auto Link = std::filesystem::symlink_status(File, Ec);
    const auto Status = std::filesystem::status(File, Ec);
    if (std::filesystem::is_symlink(Link) && Status.type() == std::filesystem::file_type::not_found)
        throw EGlimmoraError(Named + "it is a symbolic link to a file that does not exist");
    const bool Existed = Status.type() != std::filesystem::file_type::not_found;
    if (Status.type() == std::filesystem::file_type::directory)
        throw EGlimmoraError(Named + std::strerror(EISDIR));
    // Opening a FIFO would wait for a reader.
    if (Existed && Status.type() != std::filesystem::file_type::regular)
        throw EGlimmoraError(Named + "it is not a regular file (a FIFO, a device or a socket)");
    // Appending truncates nothing, so an existing picture survives a run
    // that fails later.
    std::FILE* F = std::fopen(FileName.c_str(), "ab");
    if (F == nullptr)
        throw EGlimmoraError(Named + std::strerror(errno));
    std::fclose(F);
    if (!Existed)
        std::filesystem::remove(File, Ec);
}

TSceneOptions SceneOptionsOf(const TLinuxRunOptions& O)
{
    TSceneOptions S;
    S.BubbleCount = O.BubbleCountOrDefault();
    S.DollarCount = O.DollarCountOrDefault();
    S.ThemeIndex = O.ThemeIndexOrDefault();
    S.ThemeAuto = false;
    S.SoundEnabled = false;
    return S;
}

std::string GLText(GLenum Name)
{
    const GLubyte* Text = glGetString ? glGetString(Name) : nullptr;
    return Text ? reinterpret_cast<const char*>(Text) : "unknown";
}

// "rendering 37%" on one line of a terminal, rewritten as the percentage
// grows and wiped at the end; silent where the errors go to a file or a
// pipe, and for work too short to watch.
class TProgressLine {
public:
    TProgressLine(const TLinuxHost& Host, std::ostream& Err, const char* What, long Steps)
        : FErr(Err), FWhat(What), FSteps(Steps), FShown(Steps >= MinSteps && Host.ErrIsTerminal && Host.ErrIsTerminal())
    {
    }
    ~TProgressLine()
    {
        if (FShown && FPercent >= 0)
            FErr << '\r' << std::string(std::strlen(FWhat) + 6, ' ') << '\r' << std::flush;
    }
    void Step(long Done)
    {
        if (!FShown)
            return;
        const int Percent = static_cast<int>(100 * std::min(Done, FSteps) / FSteps);
        if (Percent == FPercent)
            return;
        FPercent = Percent;
        FErr << '\r' << FWhat << ' ' << Percent << '%' << std::flush;
    }
    static constexpr long MinSteps = 250;   // 10 s of scene time, or 250 measured frames

private:
    std::ostream& FErr;
    const char* FWhat;
    long FSteps;
    bool FShown;
    int FPercent = -1;
};

double Ms(TSteady::duration D) { return std::chrono::duration<double, std::milli>(D).count(); }

} // namespace

std::vector<uint8_t> ReadFramePixels(int Width, int Height)
{
    const std::size_t Row = std::size_t(std::max(Width, 0)) * 3;
    const std::size_t Rows = std::size_t(std::max(Height, 0));
    std::vector<uint8_t> Bottom(Row * Rows), Top(Bottom.size());
    if (Bottom.empty())
        return Top;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, Width, Height, GL_RGB, GL_UNSIGNED_BYTE, Bottom.data());
    for (std::size_t y = 0; y < Rows; ++y)
        std::copy_n(Bottom.begin() + std::ptrdiff_t(Row * (Rows - 1 - y)), Row, Top.begin() + std::ptrdiff_t(Row * y));
    return Top;
}

int RunSnapshot(const TLinuxRunOptions& O, TLinuxHost& Host, std::ostream& Out, std::ostream& Err)
{
    const std::string TuningFile = RunTuningFile(O, Host.ProgramDir);
    CheckOutputFile(O.OutputFile);
    TManualClock Clock;
    TSceneHost R(SceneHostParts(Host, Clock, Host.GLContext, Host.Sound, Err));
    R.Start(SceneOptionsOf(O), TuningFile, O.Seed.value_or(1));
    const std::unique_ptr<IRenderWindow> Window = Host.CreateWindow(O.Width, O.Height);
    R.Scene.InitGL(Window->DC());
    R.Scene.ResetFrameState();
    // Frames 40 ms apart until the scene time is reached, then the shot.
    const uint32_t End = static_cast<uint32_t>(O.SceneTime * 1000.0 + 0.5);
    R.Scene.RenderFrame(*Window);
    {
        TProgressLine Progress(Host, Err, "rendering", (long(End) + 39) / 40);
        for (long Frame = 1; Clock.Time < End; ++Frame) {
            Clock.Time = std::min<uint32_t>(End, Clock.Time + 40);
            R.Scene.RenderFrame(*Window);
            Progress.Step(Frame);
        }
    }
    const std::vector<uint8_t> Pixels = ReadFramePixels(O.Width, O.Height);
    R.Scene.ReleaseGL();
    if (const std::string Error = Host.Pictures.WriteRGB(O.OutputFile, O.Width, O.Height, Pixels); !Error.empty())
        throw EGlimmoraError(Error);
    Out << Format("wrote %s (%dx%d, theme %d, %.2f s of scene time)\n", O.OutputFile.c_str(), O.Width, O.Height,
                  O.ThemeIndexOrDefault(), O.SceneTime);
    return 0;
}

int RunBench(const TLinuxRunOptions& O, TLinuxHost& Host, std::ostream& Out, std::ostream& Err)
{
    TSceneHost R(SceneHostParts(Host, Host.Clock, Host.GLContext, Host.Sound, Err));
    R.Start(SceneOptionsOf(O), RunTuningFile(O, Host.ProgramDir), O.Seed);
    const std::unique_ptr<IRenderWindow> Window = Host.CreateWindow(O.Width, O.Height);
    R.Scene.InitGL(Window->DC());
    R.Scene.ResetFrameState();
    R.Scene.RenderFrame(*Window);
    glFinish();
    const double StartupMs = Ms(TSteady::now() - Host.ProcessStart);
    const std::string Renderer = GLText(GL_RENDERER) + ", OpenGL " + GLText(GL_VERSION);

    TSteady::duration Update{}, Total{};
    {
        TProgressLine Progress(Host, Err, "measuring", O.Frames);
        for (int i = 0; i < O.Frames; ++i) {
            const auto T0 = TSteady::now();
            R.Scene.RenderFrame(*Window);
            glFinish();   // count the frame's drawing, not just its submission
            Total += TSteady::now() - T0;
            Update += R.Scene.LastUpdateTime();
            Progress.Step(i + 1);
        }
    }
    R.Scene.ReleaseGL();
    const double Frames = O.Frames;
    Out << Format("size           %dx%d, theme %d, %d bills, %d bubbles, %d frames\n", O.Width, O.Height,
                  O.ThemeIndexOrDefault(), O.DollarCountOrDefault(), O.BubbleCountOrDefault(), O.Frames)
        << "renderer       " << Renderer << '\n'
        << Format("frames/second  %.1f\n", 1000.0 * Frames / Ms(Total))
        << Format("ms/frame       %.3f (update %.3f, draw %.3f)\n", Ms(Total) / Frames, Ms(Update) / Frames,
                  (Ms(Total) - Ms(Update)) / Frames)
        << Format("start-up       %.0f ms to the first frame\n", StartupMs);
    if (Host.PeakMemoryMiB)
        Out << Format("peak memory    %.1f MiB\n", Host.PeakMemoryMiB());
    return 0;
}
