// The Linux program's headless runs over fakes: the recording GL table
// stands in for the libraries, a scripted context for EGL.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

#include "Version.h"
#include "app/linux/LinuxProgram.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeGLContext.h"
#include "fakes/FakeLibraries.h"
#include "fakes/FakePictureFile.h"
#include "fakes/FakeProcess.h"
#include "fakes/FakeSound.h"
#include "fakes/RecordingGL.h"
#include "fakes/TempDir.h"
#include "fakes/SystemBackends.h"

namespace {

class TTestWindow : public IRenderWindow {
public:
    TTestWindow(int W, int H, std::vector<std::string>& Sizes) : FW(W), FH(H)
    {
        Sizes.push_back(std::to_string(W) + "x" + std::to_string(H));
    }
    int Width() const override { return FW; }
    int Height() const override { return FH; }
    TGLDeviceContext DC() const override { return const_cast<int*>(&FTarget); }

private:
    int FW, FH, FTarget = 0;
};

class HeadlessRunTest : public ::testing::Test {
protected:
    TRecordingGL GL;
    TFakeGLContext Context;
    TFakeLibraryLoader Libraries;
    TFakeProcessControl Process;
    TFakeSound Sound;
    TFakeClock Clock;
    TFakePictureFile Pictures;
    const std::unique_ptr<IEmbeddedResources> Module = CreateModuleResources();
    TTempDir Dir;
    std::vector<std::string> WindowSizes;
    TLinuxHost Host{Context, Libraries, Process, Sound, *Module, Clock,
                       [this](int W, int H) { return std::make_unique<TTestWindow>(W, H, WindowSizes); },
                       Dir.File(""), std::chrono::steady_clock::now(), [] { return 12.5; }, Pictures};
    std::ostringstream Out, Err;

    int Run(std::vector<std::string> Args) { return RunLinuxProgram(Args, Host, Out, Err); }
    long Swaps() const { return std::count(Context.Log.begin(), Context.Log.end(), "SwapBuffers"); }
};

TEST_F(HeadlessRunTest, ASnapshotStepsTheClockByFramesThenReadsTheLastOneBack)
{
    const std::string File = Dir.File("shots/a.png");
    std::filesystem::create_directories(Dir.File("shots"));
    ASSERT_EQ(Run({"--snapshot", File, "--size", "8x6", "--time", "0.1", "--seed", "3"}), 0) << Err.str();
    // Scene times 0, 40, 80 and 100 ms: four frames, each shown once.
    EXPECT_EQ(Swaps(), 4);
    EXPECT_EQ(WindowSizes, std::vector<std::string>{"8x6"});
    EXPECT_EQ(GL.CallsOf("glReadPixels"),
              std::vector<std::string>{"glReadPixels(0,0,8,6,GL_RGB,GL_UNSIGNED_BYTE,out)"});
    EXPECT_EQ(Libraries.Loaded, (std::vector<std::string>{"fake-gl", "fake-glu"}));
    ASSERT_EQ(Pictures.Written.size(), 1u);
    EXPECT_EQ(Pictures.Written[0].FileName, File);
    EXPECT_EQ(Pictures.Written[0].Width, 8);
    EXPECT_EQ(Pictures.Written[0].Height, 6);
    EXPECT_EQ(Pictures.Written[0].Rgb.size(), 8u * 6 * 3);
    EXPECT_EQ(Out.str(), "wrote " + File + " (8x6, theme 0, 0.10 s of scene time)\n");
    EXPECT_EQ(Err.str(), "");
}

// The snapshot makes no folder, and never puts a file where a symbolic
// link was nor at the target of a link to nothing; a link to a picture has
// the picture written through it.
TEST_F(HeadlessRunTest, ASnapshotMakesNoFolderAndKeepsSymbolicLinks)
{
    namespace fs = std::filesystem;
    const std::string Missing = Dir.File("missing/a.png");
    EXPECT_EQ(Run({"--snapshot", Missing, "--size", "8x6"}), 1);
    EXPECT_EQ(Err.str(), "glimmora3d: Cannot write the snapshot \"" + Missing + "\": the folder \"" +
                             Dir.File("missing") + "\" does not exist\n");
    EXPECT_FALSE(fs::exists(Dir.File("missing")));
#ifndef _WIN32   // links as the Linux program meets them
    Err.str("");
    fs::create_symlink("target.png", Dir.File("dangling.png"));
    EXPECT_EQ(Run({"--snapshot", Dir.File("dangling.png"), "--size", "8x6"}), 1);
    EXPECT_EQ(Err.str(), "glimmora3d: Cannot write the snapshot \"" + Dir.File("dangling.png") +
                             "\": it is a symbolic link to a file that does not exist\n");
    EXPECT_TRUE(fs::is_symlink(Dir.File("dangling.png")));
    EXPECT_FALSE(fs::exists(Dir.File("target.png")));

    Err.str("");
    Dir.Write("picture.png", "old");
    fs::create_symlink("picture.png", Dir.File("alias.png"));
    ASSERT_EQ(Run({"--snapshot", Dir.File("alias.png"), "--size", "8x6", "--time", "0"}), 0) << Err.str();
    EXPECT_TRUE(fs::is_symlink(Dir.File("alias.png")));
    ASSERT_EQ(Pictures.Written.size(), 1u);
    EXPECT_EQ(Pictures.Written[0].FileName, Dir.File("alias.png"));
    EXPECT_EQ(WindowSizes.size(), 1u);   // only the last run drew
#endif
}

// Output that cannot be written (a full disk) fails the run even when the
// work itself was done.
TEST_F(HeadlessRunTest, AReportThatCannotBeWrittenFailsTheRun)
{
    struct TFullBuffer : std::streambuf {
        int overflow(int) override { return traits_type::eof(); }
    } Full;
    std::ostream Broken(&Full);
    for (const std::vector<std::string>& Args :
         {std::vector<std::string>{"--bench", "--size", "8x6", "--frames", "1"},
          std::vector<std::string>{"--snapshot", Dir.File("a.png"), "--size", "8x6", "--time", "0"},
          std::vector<std::string>{"--version"}}) {
        Err.str("");
        EXPECT_EQ(RunLinuxProgram(Args, Host, Broken, Err), 1) << Args[0];
        EXPECT_EQ(Err.str(), "glimmora3d: Cannot write the standard output\n") << Args[0];
        Broken.clear();
    }
}

TEST_F(HeadlessRunTest, TheBenchmarkNamesItsRenderer)
{
    GL.Strings[GL_RENDERER] = "Recorder";
    GL.Strings[GL_VERSION] = "1.1 recorded";
    ASSERT_EQ(Run({"--bench", "--size", "8x6", "--frames", "3"}), 0) << Err.str();
    EXPECT_EQ(Swaps(), 4);   // the first frame, then the three measured
    const std::string Text = Out.str();
    EXPECT_NE(Text.find("size           8x6, theme 0, 60 bills, 100 bubbles, 3 frames\n"), std::string::npos) << Text;
    EXPECT_NE(Text.find("renderer       Recorder, OpenGL 1.1 recorded\n"), std::string::npos) << Text;
    EXPECT_NE(Text.find("frames/second  "), std::string::npos) << Text;
    EXPECT_NE(Text.find("peak memory    12.5 MiB\n"), std::string::npos) << Text;
}

TEST_F(HeadlessRunTest, ErrorsEndTheRunWithTheirMessageAndNothingIsWritten)
{
    const std::string File = Dir.File("x.png");
    EXPECT_EQ(Run({"--snapshot", File, "--ini", Dir.File("none.ini")}), 1);
    EXPECT_EQ(Err.str(), "glimmora3d: The tuning file \"" + Dir.File("none.ini") + "\" does not exist\n");
    EXPECT_FALSE(std::filesystem::exists(File));
    EXPECT_TRUE(WindowSizes.empty());
    Err.str("");
    EXPECT_EQ(Run({"--theme", "9"}), 1);
    EXPECT_EQ(Err.str(), "glimmora3d: Bad value \"9\" for --theme (expected 0 to 2 or auto)\n");
}

TEST_F(HeadlessRunTest, APictureThatCannotBeWrittenEndsTheRunWithTheWritersReason)
{
    Pictures.Refusal = "Cannot write \"a.png\": disk full";
    EXPECT_EQ(Run({"--snapshot", Dir.File("a.png"), "--size", "8x6", "--time", "0"}), 1);
    EXPECT_EQ(Err.str(), "glimmora3d: Cannot write \"a.png\": disk full\n");
    EXPECT_EQ(Out.str(), "");
}

TEST_F(HeadlessRunTest, ATuningFileNamedOnTheCommandLineMustBeAReadableFile)
{
    std::filesystem::create_directories(Dir.File("folder.ini"));
    EXPECT_EQ(Run({"--snapshot", Dir.File("x.png"), "--ini", Dir.File("folder.ini")}), 1);
    EXPECT_EQ(Err.str(), "glimmora3d: The tuning file \"" + Dir.File("folder.ini") + "\" is a folder\n");
    EXPECT_TRUE(WindowSizes.empty());
    Err.str("");
    EXPECT_EQ(Run({"--bench", "--ini", Dir.File("folder.ini")}), 1);
    EXPECT_NE(Err.str().find("is a folder"), std::string::npos) << Err.str();
    // The one next to the program may be anything: it is skipped.
    std::filesystem::create_directories(Dir.File("glimmora3d.ini"));
    Err.str("");
    EXPECT_EQ(Run({"--snapshot", Dir.File("x.png"), "--size", "8x6", "--time", "0"}), 0) << Err.str();
}

TEST_F(HeadlessRunTest, ASnapshotThatCannotBeWrittenFailsBeforeTheFirstFrame)
{
    std::filesystem::create_directories(Dir.File("taken.png"));
    Dir.Write("plain", "x");
    for (const std::string Name : {"taken.png", "plain/x.png"}) {
        SCOPED_TRACE(Name);
        Err.str("");
        EXPECT_EQ(Run({"--snapshot", Dir.File(Name), "--size", "8x6"}), 1);
        const std::string Text = Err.str();
        // The system's reason follows the file name.
        EXPECT_EQ(Text.rfind("glimmora3d: Cannot write the snapshot \"" + Dir.File(Name) + "\": ", 0), 0u) << Text;
        EXPECT_GT(Text.size(), ("glimmora3d: Cannot write the snapshot \"" + Dir.File(Name) + "\": \n").size());
        EXPECT_TRUE(WindowSizes.empty());
        EXPECT_EQ(Swaps(), 0);
    }
    // A picture already there is kept when the run fails later.
    Dir.Write("old.png", "old");
    Dir.Write("bad.ini", "[Fishes]\nFogColor=0,blue,0\n");
    EXPECT_EQ(Run({"--snapshot", Dir.File("old.png"), "--ini", Dir.File("bad.ini")}), 1);
    EXPECT_EQ(TTempDir::Read(Dir.File("old.png")), "old");
}

TEST_F(HeadlessRunTest, ALogThatCannotBeCreatedNextToTheProgramGoesToTheUsersFolderOrNowhere)
{
    Dir.Write("plain", "x");
    Host.ProgramDir = Dir.File("plain/bin");   // a folder that cannot exist
    Host.UserLogFolder = Dir.File("state/glimmora3d");
    const std::string Ini = Dir.Write("log.ini", "[System]\nLog=1\n");
    ASSERT_EQ(Run({"--snapshot", Dir.File("a.png"), "--size", "8x6", "--time", "0", "--ini", Ini}), 0) << Err.str();
    EXPECT_EQ(Err.str(), "");
    EXPECT_FALSE(TTempDir::Read(Dir.File("state/glimmora3d/glimmora3d.log")).empty());

    Host.UserLogFolder = Dir.File("plain/state");
    ASSERT_EQ(Run({"--snapshot", Dir.File("b.png"), "--size", "8x6", "--time", "0", "--ini", Ini}), 0) << Err.str();
    EXPECT_EQ(Err.str(), "glimmora3d: Cannot create the log file \"" +
                             (std::filesystem::path(Dir.File("plain/bin")) / "glimmora3d.log").string() + "\" nor \"" +
                             (std::filesystem::path(Dir.File("plain/state")) / "glimmora3d.log").string() +
                             "\"; running without a log\n");
    ASSERT_FALSE(Pictures.Written.empty());
    EXPECT_EQ(Pictures.Written.back().FileName, Dir.File("b.png"));
}

TEST_F(HeadlessRunTest, LongWorkShowsItsProgressOnlyOnATerminal)
{
    const struct {
        bool Terminal;
        std::vector<std::string> Args;
        std::string Shown;
    } Cases[] = {
        {true, {"--snapshot", Dir.File("a.png"), "--size", "8x6", "--time", "12"}, "rendering"},
        {false, {"--snapshot", Dir.File("a.png"), "--size", "8x6", "--time", "12"}, ""},
        {true, {"--snapshot", Dir.File("a.png"), "--size", "8x6", "--time", "1"}, ""},
        {true, {"--bench", "--size", "8x6", "--frames", "300"}, "measuring"},
        {false, {"--bench", "--size", "8x6", "--frames", "300"}, ""},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Args[C.Args.size() - 1]);
        Host.ErrIsTerminal = [&] { return C.Terminal; };
        Err.str("");
        ASSERT_EQ(Run(C.Args), 0) << Err.str();
        const std::string Text = Err.str();
        if (C.Shown.empty()) {
            EXPECT_EQ(Text, "");
            continue;
        }
        // Each percentage once, on the same line, then the line wiped.
        EXPECT_EQ(Text.rfind("\r" + C.Shown + " 0%", 0), 0u) << Text;
        EXPECT_NE(Text.find("\r" + C.Shown + " 50%\r" + C.Shown + " 51%"), std::string::npos) << Text;
        EXPECT_NE(Text.find("\r" + C.Shown + " 100%\r" + std::string(C.Shown.size() + 6, ' ') + "\r"),
                  std::string::npos) << Text;
        EXPECT_EQ(Text.back(), '\r');
        EXPECT_EQ(Text.find('\n'), std::string::npos);
    }
}

TEST_F(HeadlessRunTest, HelpAndVersionNeedNoBackend)
{
    EXPECT_EQ(Run({"--version"}), 0);
    EXPECT_EQ(Out.str(), std::string("Glimmora 3D ") + GlimmoraVersionText + " (Tarnwick Software)\n");
    Out.str("");
    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_EQ(Out.str(), LinuxUsageText());
    // Without arguments the program opens a window; a host without one
    // says so.
    EXPECT_EQ(Run({}), 1);
    EXPECT_NE(Err.str().find("glimmora3d: This program cannot open a window"), std::string::npos);
    EXPECT_TRUE(Context.Log.empty());
    EXPECT_TRUE(Libraries.Loaded.empty());
}

// The help names every way out of the program, says where the theme and the
// counts come from when they are not given, and the limits of the counts.
TEST_F(HeadlessRunTest, TheHelpListsHelpAndVersionAndWhereDefaultsComeFrom)
{
    ASSERT_EQ(Run({"--help"}), 0);
    std::istringstream Text(Out.str());
    // Each flag's entry by the flag that starts it, its wrapped lines joined.
    std::map<std::string, std::string> Lines;
    std::string Flag;
    for (std::string Line; std::getline(Text, Line);) {
        if (Line.rfind("  --", 0) == 0) {
            Flag = Line.substr(2, Line.find(' ', 2) - 2);
            Lines[Flag] = Line;
        } else if (!Flag.empty() && Line.rfind("    ", 0) == 0) {
            Lines[Flag] += " " + Line.substr(Line.find_first_not_of(' '));
        } else {
            Flag.clear();
        }
    }
    EXPECT_NE(Lines["--help"].find("show the options and exit"), std::string::npos) << Out.str();
    EXPECT_NE(Lines["--version"].find("show the version and exit"), std::string::npos) << Out.str();
    EXPECT_EQ(Lines["--theme"].find("default 0"), std::string::npos) << Lines["--theme"];
    EXPECT_NE(Lines["--theme"].find("(default: as in the options file, else 0)"), std::string::npos)
        << Lines["--theme"];
    EXPECT_NE(Lines["--dollars"].find("0 to 100 (default: as in the options file, else 60)"), std::string::npos)
        << Lines["--dollars"];
    EXPECT_NE(Lines["--bubbles"].find("0 to 100 (default: as in the options file, else 100)"), std::string::npos)
        << Lines["--bubbles"];
}

} // namespace
