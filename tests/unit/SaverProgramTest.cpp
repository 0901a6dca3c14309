// The program as the command line starts it, on fakes of the system: the
// basic switches, the window handle, the preview's still picture and its
// waiting loop, the error box of a failed start, the settings stand-in.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fakes/FakeLibraries.h"

#include "app/SaverProgram.h"
#include "app/SaverStandIns.h"
#include "fakes/ErrorOf.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeGLContext.h"
#include "fakes/FakeProcess.h"
#include "fakes/FakeSound.h"
#include "fakes/FakeWindowing.h"
#include "scene/Scene.h"

namespace {

using TArgs = std::vector<std::string>;
using TLines = std::vector<std::string>;

class SaverProgramTest : public ::testing::Test {
protected:
    TCallLines Log;
    TFakeWindowSystem Windows{Log};
    TFakeMessageLoop Loop{Log};
    TFakeClock Clock;
    TFakeGLContext GL;
    TFakeProcessControl Process;
    TFakeSound Sound;
    const std::unique_ptr<IEmbeddedResources> Module = CreateModuleResources();
    TFakeLibraryLoader Libraries;
    TSaverSystem System{Loop, Windows, Clock, GL, Libraries, Process, Sound, *Module};

    int Run(const TArgs& Args) { return RunScreenSaver(System, Args, "C:\\Program Files\\Glimmora3D.scr"); }
};

} // namespace

TEST(BasicCommandLine, ReadsTheSwitchAndWhereTheHandleIs)
{
    struct TCase {
        TArgs Args;
        const char* Program;
        TScreenSaverMode Mode;
        const char* Handle;   // null: none given
    };
    const char* Scr = "C:\\Saver\\Glimmora3D.scr";
    for (const TCase& C : {
             TCase{{"/s"}, Scr, smSaver, nullptr},
             TCase{{"-S"}, Scr, smSaver, nullptr},
             TCase{{"xs"}, Scr, smSaver, nullptr},
             TCase{{"/p", "1234"}, Scr, smPreview, "1234"},
             TCase{{"/l:1234"}, Scr, smPreview, "1234"},
             TCase{{"/p:12", "34"}, Scr, smPreview, "34"},
             TCase{{"/p"}, Scr, smPreview, nullptr},
             TCase{{"/c:99"}, Scr, smConfig, "99"},
             TCase{{"/a", "5"}, Scr, smChangePassword, "5"},
             TCase{{"/x"}, Scr, smConfig, nullptr},
             TCase{{"/"}, Scr, smConfig, nullptr},
             TCase{{}, Scr, smConfig, nullptr},
             TCase{{}, "C:\\Saver\\Glimmora3D.exe", smProgram, nullptr},
             TCase{{}, "C:\\Saver.exe\\Glimmora3D", smConfig, nullptr},
         }) {
        const TBasicCommandLine L = ParseBasicCommandLine(C.Args, C.Program);
        const std::string Case = (C.Args.empty() ? std::string("(none)") : C.Args[0]) + " " + C.Program;
        EXPECT_EQ(L.Mode, C.Mode) << Case;
        EXPECT_EQ(L.HandleText.has_value(), C.Handle != nullptr) << Case;
        if (C.Handle && L.HandleText) {
            EXPECT_EQ(*L.HandleText, C.Handle) << Case;
        }
    }
}

TEST(BasicCommandLine, AHandleIsAnUnsignedDecimalAsWideAsAPointer)
{
    EXPECT_EQ(ParseWindowHandle("0"), 0u);
    EXPECT_EQ(ParseWindowHandle("131140"), 131140u);
    const TWindowHandle Max = ~TWindowHandle(0);
    EXPECT_EQ(ParseWindowHandle(std::to_string(Max)), Max);
    for (const std::string& Bad : TArgs{"abc", "", "-1", "+5", "12x", " 12", "0x10", std::to_string(Max) + "0"})
        EXPECT_EQ(ErrorOf([&] { ParseWindowHandle(Bad); }), "'" + Bad + "' is not a valid integer value") << Bad;
}

TEST_F(SaverProgramTest, AHandleThatIsNoNumberShowsTheConversionError)
{
    EXPECT_EQ(Run({"/p", "abc"}), 1);
    ASSERT_EQ(Windows.Boxes.size(), 1u);
    EXPECT_EQ(Windows.Boxes[0].Text, "'abc' is not a valid integer value");
    EXPECT_EQ(Windows.Boxes[0].Caption, "Glimmora 3D");
    EXPECT_EQ(Windows.Boxes[0].Style, 0x10u);
    EXPECT_EQ(Loop.IdleTurns, 0);
}

TEST_F(SaverProgramTest, AHandleThatNamesNoWindowEndsThePreviewQuietly)
{
    EXPECT_EQ(Run({"/p", "4660"}), 0);
    EXPECT_TRUE(Windows.Boxes.empty());
    EXPECT_EQ(Loop.IdleTurns, 0);
}

TEST_F(SaverProgramTest, ThePreviewShowsThePictureAndWaitsForMessages)
{
    Windows.Foreign[4660] = TWindowBounds{0, 0, 152, 112};
    Loop.MaxIdleTurns = 3;
    EXPECT_EQ(Run({"/p:4660"}), 0);
    EXPECT_EQ(Log, (TLines{"windows.CreateChildForm(4660,0,0,152,112)", "child.StartTimer(500)",
                           "child.SetPicture(150x110)", "loop.Run", "child.Destroy"}));
    EXPECT_EQ(Loop.DoneFlags, (std::vector<bool>{true, true, true})) << "every idle turn waits";
}

TEST_F(SaverProgramTest, ThePreviewWithoutAHandleGoesIntoTheForegroundWindow)
{
    Windows.Foreign[77] = TWindowBounds{0, 0, 40, 30};
    Windows.Foreground = 77;
    Loop.MaxIdleTurns = 1;
    EXPECT_EQ(Run({"/p"}), 0);
    ASSERT_FALSE(Log.empty());
    EXPECT_EQ(Log[0], "windows.CreateChildForm(77,0,0,40,30)");
}

TEST_F(SaverProgramTest, AnErrorAtTheSaverStartShowsTheErrorBoxAndEndsTheLoop)
{
    Windows.ScreenInfo.BitsPerPixel = 24;
    EXPECT_EQ(Run({"/s"}), 0);
    ASSERT_EQ(Windows.Boxes.size(), 1u);
    EXPECT_EQ(Windows.Boxes[0].Text, ColorDepthWarning);
    EXPECT_EQ(Windows.Boxes[0].Caption, "Glimmora Screen Saver Error!");
    EXPECT_EQ(Windows.Boxes[0].Style, 0x10u);
    EXPECT_TRUE(Loop.Terminated());
    EXPECT_EQ(Loop.IdleTurns, 1);
    // The cursor hidden for the run is shown again for the box.
    EXPECT_EQ(Windows.CursorCount, 0);
    EXPECT_FALSE(Windows.Alive("main"));
}

TEST_F(SaverProgramTest, TheSettingsAndPasswordSwitchesRunNoLoop)
{
    EXPECT_EQ(Run({"/c"}), 0);
    ASSERT_EQ(Windows.Boxes.size(), 1u);
    EXPECT_EQ(Windows.Boxes[0].Text, "This screen saver has no options that you can set.");
    EXPECT_EQ(Run({"/a", "5"}), 0);
    EXPECT_EQ(Windows.Boxes.size(), 1u);
    EXPECT_EQ(Loop.IdleTurns, 0);
}
