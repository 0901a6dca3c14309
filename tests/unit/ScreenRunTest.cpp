// The Linux program's runs on a screen over fakes: an event window that
// ends the run after a few frames, the recording GL table, the options file
// in memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

#include "app/linux/LinuxProgram.h"
#include "app/linux/LinuxWindowRun.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeEventWindow.h"
#include "fakes/FakeGLContext.h"
#include "fakes/FakeLibraries.h"
#include "fakes/FakePictureFile.h"
#include "fakes/FakeProcess.h"
#include "fakes/FakeSound.h"
#include "fakes/RecordingGL.h"
#include "fakes/TempDir.h"

namespace {

// A window with a device context for the scene's OpenGL.
std::unique_ptr<IEventWindow> DrawableWindow()
{
    static int Target = 0;
    auto Window = std::make_unique<TFakeEventWindow>();
    Window->Device = &Target;
    return Window;
}

const std::string OptionsPath = "/config/glimmora3d/glimmora3d.ini";

// The clear colour of each theme's frames: its fog colour.
const std::string ThemeClearColor[3] = {"glClearColor(0,0.6,0.6824,1)", "glClearColor(0,0.416,0.612,1)",
                                        "glClearColor(0,0.624,0.459,1)"};

class ScreenRunTest : public ::testing::Test {
protected:
    TRecordingGL GL;
    TFakeGLContext Context, WindowGL;
    TFakeLibraryLoader Libraries;
    TFakeProcessControl Process;
    TFakeSound Sound, ScreenSound;
    TFakeClock Clock;
    TFakePictureFile Pictures;
    const std::unique_ptr<IEmbeddedResources> Module = CreateModuleResources();
    TTempDir Dir;
    std::map<std::string, std::string> Files;
    int Polls = 0;
    TScreenHost Screen{
        [](const TScreenWindowRequest&) { return DrawableWindow(); },
        WindowGL,
        [](uint64_t) { return DrawableWindow(); },
        WindowGL,
        ScreenSound,
        [](const std::string&) { return std::string(); },
        OptionsPath,
        [this](const std::string& Path, std::string&) -> std::optional<std::string> {
            const auto F = Files.find(Path);
            return F == Files.end() ? std::nullopt : std::optional<std::string>(F->second);
        },
        [this](const std::string& Path, const std::string& Text, std::string&) {
            Files[Path] = Text;
            return true;
        },
        // Three frames, then a stop as SIGTERM would ask for it.
        TWindowLoopServices{nullptr, [this] { return ++Polls > 3; }, [] { return int64_t(0); }, [](int64_t) {}},
        nullptr};
    TLinuxHost Host{Context, Libraries, Process, Sound, *Module, Clock, nullptr, Dir.File(""),
                    std::chrono::steady_clock::now(), [] { return 1.0; }, Pictures, "", nullptr, &Screen};
    std::ostringstream Out, Err;

    // The theme of the run's last frame, by its clear colour; -1 when none.
    int Run(std::vector<std::string> Args)
    {
        Polls = 0;
        GL.Clear();
        EXPECT_EQ(RunLinuxProgram(Args, Host, Out, Err), 0) << Err.str();
        const std::vector<std::string> Clears = GL.CallsOf("glClearColor");
        for (int T = 0; T < 3; ++T)
            if (!Clears.empty() && Clears.back() == ThemeClearColor[T])
                return T;
        ADD_FAILURE() << "no theme's clear colour: " << (Clears.empty() ? "none" : Clears.back());
        return -1;
    }
};

// A run with the theme Auto shows the theme after the stored one and
// stores it, whether Auto comes from the file or from --theme auto; a fixed
// theme on the command line is shown and nothing is stored.
TEST_F(ScreenRunTest, TheAutoThemeRotatesAndIsStoredFromTheFileOrTheCommandLine)
{
    const struct {
        std::string File;
        std::vector<std::string> Args;
        int Shown;
        std::string Stored;   // the theme value after the run
        bool Kept;            // the file is left as it was
    } Cases[] = {
        {"Theme=-1\n", {}, 1, "-2", false},
        {"Theme=-3\n", {}, 0, "-1", false},
        {"Theme=-1\n", {"--theme", "auto"}, 1, "-2", false},
        {"Theme=1\n", {"--theme", "auto"}, 2, "-3", false},
        {"Theme=2\n", {"--theme", "auto"}, 0, "-1", false},
        {"", {"--theme", "auto"}, 1, "-2", false},
        {"Theme=-1\n", {"--theme", "2"}, 2, "-1", true},
        {"Theme=1\n", {}, 1, "1", true},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.File + (C.Args.empty() ? "" : " " + C.Args[0] + " " + C.Args[1]));
        Files = {{OptionsPath, C.File}};
        EXPECT_EQ(Run(C.Args), C.Shown);
        const std::string& Text = Files[OptionsPath];
        const std::size_t At = Text.find("Theme=");
        EXPECT_EQ(At == std::string::npos ? "none" : Text.substr(At + 6, Text.find('\n', At) - At - 6), C.Stored);
        if (C.Kept) {
            EXPECT_EQ(Text, C.File);
        }
    }
}

// Two runs with --theme auto (as XScreenSaver starts the hack when Auto is
// picked in its settings) show two different themes.
TEST_F(ScreenRunTest, TwoRunsWithThemeAutoShowTheNextThemeEachTime)
{
    Files = {{OptionsPath, "[Glimmora 3D]\nBubbles=20\n"}};
    const std::vector<std::string> Args = {"--theme", "auto", "--root"};
    const int First = Run(Args);
    const int Second = Run(Args);
    const int Third = Run(Args);
    EXPECT_EQ(First, 1);
    EXPECT_EQ(Second, 2);
    EXPECT_EQ(Third, 0);
    EXPECT_EQ(Files[OptionsPath], "[Glimmora 3D]\nBubbles=20\nTheme=-1\n");
}

// --sound and --no-sound override the file's sound for one run.
TEST_F(ScreenRunTest, TheSoundFlagsOverrideTheFileForOneRun)
{
    const struct {
        std::string File;
        std::vector<std::string> Args;
        bool Plays;
    } Cases[] = {
        {"Sound=0\n", {}, false},
        {"Sound=0\n", {"--sound"}, true},
        {"Sound=1\n", {}, true},
        {"Sound=1\n", {"--no-sound"}, false},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.File + (C.Args.empty() ? "" : C.Args[0]));
        Files = {{OptionsPath, C.File}};
        ScreenSound.Calls.clear();
        Run(C.Args);
        const bool Played = std::any_of(ScreenSound.Calls.begin(), ScreenSound.Calls.end(),
                                        [](const std::string& Call) { return Call.rfind("play ", 0) == 0; });
        EXPECT_EQ(Played, C.Plays);
        EXPECT_EQ(Files[OptionsPath], C.File);
    }
}

} // namespace
