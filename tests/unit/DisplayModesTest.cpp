#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "app/display/DisplayControl.h"
#include "app/display/VideoModeClass.h"
#include "fakes/ErrorOf.h"
#include "fakes/FakeDisplaySettings.h"

void PrintTo(const TVideoMode& M, std::ostream* Out) { *Out << M.Width << "x" << M.Height << "x" << M.BitsPerPixel; }
void PrintTo(const TScreenMode& M, std::ostream* Out)
{
    *Out << M.Width() << "x" << M.Height() << "x" << M.ColorDepth << " (" << M.ScreenSize << ")";
}
void PrintTo(const TDisplayModeRecord& R, std::ostream* Out)
{
    *Out << R.Width << "x" << R.Height << "x" << R.BitsPerPixel << "@" << R.Frequency;
}

namespace {

using TAccepts = std::function<bool(const TDisplayModeRecord&)>;

const TDisplayModeRecord Probe{42, 37, 8, 0};

bool IsProbe(const TDisplayModeRecord& R) { return R == Probe; }

std::vector<TVideoMode> ModesOf(const TVideoModesList& List)
{
    std::vector<TVideoMode> Modes;
    for (int I = 0; I < List.Count(); ++I)
        Modes.push_back(List.Item(I));
    return Modes;
}

std::vector<TScreenMode> ModesOf(const TScreenModes& List)
{
    std::vector<TScreenMode> Modes;
    for (int I = 0; I < List.Count(); ++I)
        Modes.push_back(List.Item(I));
    return Modes;
}

std::vector<int32_t> DepthsOf(const TColorDepthModes& List)
{
    std::vector<int32_t> Depths;
    for (int I = 0; I < List.Count(); ++I)
        Depths.push_back(List.Item(I).ColorDepth);
    return Depths;
}

} // namespace

// ---------------------------------------------------------------------------
// TVideoModesList: enumeration

TEST(DisplayModesList, EnumeratesTestsAndDeduplicatesWithoutSorting)
{
    struct Case {
        const char* Name;
        std::vector<TDisplayModeRecord> Reported;
        TAccepts Accepts;
        std::vector<TVideoMode> Expected;
        size_t Tests;   // test calls, the probe included
    };
    const auto All = [](const TDisplayModeRecord&) { return true; };
    const Case Cases[] = {
        {"probe passes: only the reported modes, in their order, each once",
         {{1024, 768, 32, 60}, {640, 480, 16, 60}, {1024, 768, 32, 75}, {800, 600, 8, 60}, {640, 480, 16, 72}},
         All,
         {{1024, 768, 32}, {640, 480, 16}, {800, 600, 8}},
         4},
        {"probe refused: the table modes that pass follow the reported ones",
         {{800, 600, 32, 60}, {640, 480, 16, 60}},
         [](const TDisplayModeRecord& R) {
             return !IsProbe(R) && (R.Width >= 640 || (R.Width == 320 && R.Height == 240) ||
                                    (R.Width == 512 && R.BitsPerPixel == 16));
         },
         {{800, 600, 32}, {640, 480, 16}, {320, 240, 8}, {320, 240, 15}, {320, 240, 16}, {320, 240, 24},
          {320, 240, 32}, {512, 384, 16}},
         2 + 1 + 60},
        {"a reported mode the test refuses is not listed",
         {{1280, 1024, 32, 60}, {640, 480, 32, 60}},
         [](const TDisplayModeRecord& R) { return R.Width == 640; },
         {{640, 480, 32}},
         2 + 1 + 60},
        {"a table mode already listed is neither tested again nor listed twice",
         {{320, 200, 8, 70}, {320, 200, 8, 60}},
         [](const TDisplayModeRecord& R) { return R.Width == 320 && R.Height == 200; },
         {{320, 200, 8}, {320, 200, 15}, {320, 200, 16}, {320, 200, 24}, {320, 200, 32}},
         1 + 1 + 59},
        {"no reported mode and nothing accepted", {}, [](const TDisplayModeRecord&) { return false; }, {}, 1 + 60},
        {"sizes the program cannot carry are not offered",
         {{70000, 480, 32, 60}, {640, 0, 32, 60}, {640, 480, 0, 60}, {640, 480, 0x80000000u, 60}, {640, 480, 32, 60}},
         All,
         {{640, 480, 32}},
         2},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        TFakeDisplaySettings Display;
        Display.Reported = C.Reported;
        Display.Accepts = C.Accepts;
        TVideoModesList List(Display);
        List.Enumerate();
        EXPECT_EQ(ModesOf(List), C.Expected);
        EXPECT_EQ(Display.Tested.size(), C.Tests);
        EXPECT_TRUE(Display.Switched.empty()) << "enumeration only tests";
        // Numbers 0.. until the first that fails.
        ASSERT_EQ(Display.Enumerated.size(), C.Reported.size() + 1);
        for (size_t I = 0; I < Display.Enumerated.size(); ++I)
            EXPECT_EQ(Display.Enumerated[I], I);
    }
}

TEST(DisplayModesList, ReportedModesAreTestedAsReportedThenTheDriverIsProbed)
{
    TFakeDisplaySettings Display;
    Display.Reported = {{1024, 768, 32, 75}, {640, 480, 16, 60}};
    TVideoModesList List(Display);
    List.Enumerate();
    const std::vector<TDisplayModeRecord> Expected = {{1024, 768, 32, 75}, {640, 480, 16, 60}, Probe};
    EXPECT_EQ(Display.Tested, Expected);
}

TEST(DisplayModesList, TheFallbackTableHasSixtyModesSizeMajor)
{
    TFakeDisplaySettings Display;
    Display.Accepts = [](const TDisplayModeRecord& R) { return !IsProbe(R); };
    TVideoModesList List(Display);
    List.Enumerate();

    const int32_t Sizes[][2] = {{320, 200}, {320, 240}, {320, 350}, {320, 400}, {320, 480}, {360, 200},
                                {360, 240}, {360, 350}, {360, 400}, {360, 480}, {400, 300}, {512, 384}};
    std::vector<TVideoMode> Expected;
    std::vector<TDisplayModeRecord> Tested = {Probe};
    for (const auto& S : Sizes)
        for (int32_t Depth : {8, 15, 16, 24, 32}) {
            Expected.push_back({S[0], S[1], Depth});
            Tested.push_back({static_cast<uint32_t>(S[0]), static_cast<uint32_t>(S[1]), static_cast<uint32_t>(Depth), 0});
        }
    ASSERT_EQ(Expected.size(), 60u);
    EXPECT_EQ(ModesOf(List), Expected);
    EXPECT_EQ(Display.Tested, Tested) << "the probe first, then every table mode with no refresh rate";
}

TEST(DisplayModesList, EnumerateStartsAfreshAndItemsAreChecked)
{
    TFakeDisplaySettings Display;
    Display.Reported = {{640, 480, 32, 60}, {800, 600, 32, 60}};
    TVideoModesList List(Display);
    List.Enumerate();
    Display.Reported.pop_back();
    List.Enumerate();
    EXPECT_EQ(ModesOf(List), (std::vector<TVideoMode>{{640, 480, 32}}));
    EXPECT_EQ(ErrorOf([&] { List.Item(1); }), "List index out of bounds (1)");
    EXPECT_EQ(ErrorOf([&] { List.Item(-1); }), "List index out of bounds (-1)");
}

// ---------------------------------------------------------------------------
// TVideoModesList: desktop, switch and restore

TEST(DisplayModesList, DesktopIsCapturedOnceBeforeTheFirstSwitch)
{
    for (bool AskFirst : {true, false}) {
        SCOPED_TRACE(AskFirst ? "desktop asked for first" : "switch first");
        TFakeDisplaySettings Display;
        Display.Desktop = {24, 1280, 1024};
        TVideoModesList List(Display);
        if (AskFirst) {
            EXPECT_EQ(List.DesktopMode(), (TVideoMode{1280, 1024, 24}));
        }
        ASSERT_TRUE(List.SetMode(640, 480, 16));
        EXPECT_EQ(List.DesktopMode(), (TVideoMode{1280, 1024, 24})) << "not the switched mode";
        EXPECT_EQ(Display.CapsReads, 1);
    }
}

TEST(DisplayModesList, SetModeSwitchesTemporarilyOrChangesNothing)
{
    struct Case {
        const char* Name;
        int32_t Width, Height, Bits;
        bool Refuse;
        bool Result;
        bool AskedSystem;
    };
    const Case Cases[] = {
        {"accepted", 800, 600, 16, false, true, true},
        {"refused", 800, 600, 16, true, false, true},
        {"zero width", 0, 480, 16, false, false, false},
        {"negative height", 640, -480, 16, false, false, false},
        {"width past 16 bits", 65536, 480, 16, false, false, false},
        {"no depth", 640, 480, 0, false, false, false},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        TFakeDisplaySettings Display;
        Display.RefuseSwitch = C.Refuse;
        TVideoModesList List(Display);
        EXPECT_EQ(List.SetMode(C.Width, C.Height, C.Bits), C.Result);
        EXPECT_EQ(List.Changed(), C.Result);
        if (C.AskedSystem) {
            const TDisplayModeRecord Asked{static_cast<uint32_t>(C.Width), static_cast<uint32_t>(C.Height),
                                           static_cast<uint32_t>(C.Bits), 0};
            EXPECT_EQ(Display.Switched, std::vector<TDisplayModeRecord>{Asked});
        } else {
            EXPECT_TRUE(Display.Switched.empty());
        }
        EXPECT_EQ(List.SwitchedMode(), (C.Result ? TVideoMode{C.Width, C.Height, C.Bits} : TVideoMode{}));
    }
}

TEST(DisplayModesList, ARefusedSwitchKeepsTheModeInForce)
{
    TFakeDisplaySettings Display;
    Display.Accepts = [](const TDisplayModeRecord& R) { return R.Width == 800; };
    TVideoModesList List(Display);
    ASSERT_TRUE(List.SetMode(800, 600, 32));
    EXPECT_FALSE(List.SetMode(1600, 1200, 32));
    EXPECT_TRUE(List.Changed());
    EXPECT_EQ(List.SwitchedMode(), (TVideoMode{800, 600, 32}));
    EXPECT_EQ(Display.InForce, (TDisplayModeRecord{800, 600, 32, 0}));
}

TEST(DisplayModesList, RestoreAndTheDestructorReturnToTheUsersMode)
{
    {
        TFakeDisplaySettings Display;
        TVideoModesList List(Display);
        ASSERT_TRUE(List.SetMode(640, 480, 16));
        List.Restore();
        EXPECT_FALSE(List.Changed());
        EXPECT_EQ(Display.Resets, 1);
        EXPECT_FALSE(Display.InForce.has_value());
    }
    for (bool Refuse : {false, true}) {
        SCOPED_TRACE(Refuse ? "switch refused" : "switch in force");
        TFakeDisplaySettings Display;
        Display.RefuseSwitch = Refuse;
        {
            TVideoModesList List(Display);
            List.SetMode(640, 480, 16);
            EXPECT_EQ(Display.Resets, 0);
        }
        EXPECT_EQ(Display.Resets, Refuse ? 0 : 1) << "restored on destruction only when switched";
        EXPECT_FALSE(Display.InForce.has_value());
    }
}

// ---------------------------------------------------------------------------
// TScreenMode and the mode lists

TEST(DisplayScreenMode, PacksWidthHighAndHeightLow)
{
    struct Read {
        uint32_t ScreenSize;
        int32_t Width, Height;
    };
    for (const Read& R : {Read{41943520u, 640, 480}, Read{0x04000300u, 1024, 768}, Read{0xFFFF0001u, 65535, 1},
                          Read{0, 0, 0}}) {
        TScreenMode M;
        M.ScreenSize = static_cast<int32_t>(R.ScreenSize);
        EXPECT_EQ(M.Width(), R.Width) << R.ScreenSize;
        EXPECT_EQ(M.Height(), R.Height) << R.ScreenSize;
    }

    struct Set {
        bool Width;   // otherwise height
        int32_t Value;
        uint32_t Result;
    };
    for (const Set& S : {Set{true, 800, 0x03200300u}, Set{false, 600, 0x04000258u}, Set{true, 0x10320, 0x03200300u},
                         Set{false, 0x12345, 0x04002345u}, Set{true, -1, 0xFFFF0300u}, Set{false, 0, 0x04000000u}}) {
        TScreenMode M;
        M.ScreenSize = 0x04000300;
        if (S.Width)
            M.SetWidth(S.Value);
        else
            M.SetHeight(S.Value);
        EXPECT_EQ(static_cast<uint32_t>(M.ScreenSize), S.Result) << (S.Width ? "width " : "height ") << S.Value;
    }

    const TScreenMode Made(16, 640, 480);
    EXPECT_EQ(Made.ColorDepth, 16);
    EXPECT_EQ(Made.ScreenSize, 41943520);
    TScreenMode Copy(32, 1024, 768);
    Copy = Made;
    EXPECT_EQ(Copy, Made);
}

TEST(DisplayScreenModes, AddKeepsOneOfEachAndIndexOfFindsIt)
{
    TScreenModes Modes;
    Modes.Add(640, 480, 16);
    Modes.Add(800, 600, 16);
    Modes.Add(640, 480, 16);
    Modes.Add(640, 480, 32);
    EXPECT_EQ(ModesOf(Modes),
              (std::vector<TScreenMode>{TScreenMode(16, 640, 480), TScreenMode(16, 800, 600), TScreenMode(32, 640, 480)}));
    EXPECT_EQ(Modes.IndexOf(800, 600, 16), 1);
    EXPECT_EQ(Modes.IndexOf(640, 480, 32), 2);
    EXPECT_EQ(Modes.IndexOf(600, 800, 16), -1);
    EXPECT_EQ(ErrorOf([&] { Modes.Item(3); }), "List index out of bounds (3)");
    Modes.Clear();
    EXPECT_EQ(Modes.Count(), 0);

    TColorDepthModes Depths;
    EXPECT_EQ(Depths.Add(32), 0);
    EXPECT_EQ(Depths.Add(16), 1);
    EXPECT_EQ(Depths.Add(32), 0);
    EXPECT_EQ(DepthsOf(Depths), (std::vector<int32_t>{32, 16}));
    EXPECT_EQ(Depths.IndexOf(16), 1);
    EXPECT_EQ(Depths.IndexOf(24), -1);
    EXPECT_EQ(Depths.Item(1).Modes.Count(), 0);
    EXPECT_EQ(ErrorOf([&] { Depths.Item(2); }), "List index out of bounds (2)");
}

// ---------------------------------------------------------------------------
// TDisplayControl

namespace {

// 640 x 480 and 800 x 600 at several depths, a 1024 x 768 at 24 bits only;
// the desktop runs at 24 bits.
void SetUpDisplay(TFakeDisplaySettings& Display)
{
    Display.Reported = {{640, 480, 8, 60},  {640, 480, 16, 60}, {640, 480, 24, 60}, {640, 480, 32, 60},
                        {800, 600, 32, 60}, {800, 600, 16, 60}, {1024, 768, 24, 60}, {800, 600, 32, 75}};
    Display.Desktop = {24, 1024, 768};
}

} // namespace

TEST(DisplayControl, MainFormFilterOffersOnly16And32Bits)
{
    TFakeDisplaySettings Display;
    SetUpDisplay(Display);
    TDisplayControl Control(Display);
    Control.OnEnumerate = DisplayControlEnumerate;
    Control.Enumerate();

    const TColorDepthModes& Depths = Control.ColorDepthModes();
    EXPECT_EQ(DepthsOf(Depths), (std::vector<int32_t>{16, 32}));
    EXPECT_EQ(ModesOf(Depths.Item(0).Modes),
              (std::vector<TScreenMode>{TScreenMode(16, 640, 480), TScreenMode(16, 800, 600)}));
    EXPECT_EQ(ModesOf(Depths.Item(1).Modes),
              (std::vector<TScreenMode>{TScreenMode(32, 640, 480), TScreenMode(32, 800, 600)}));
    EXPECT_EQ(Depths.IndexOf(24), -1) << "a depth the dialog does not offer";
    EXPECT_EQ(Depths.Item(1).Modes.IndexOf(1024, 768, 32), -1) << "a size the display lacks";
    EXPECT_EQ(Control.DesktopMode(), TScreenMode(24, 1024, 768)) << "the desktop keeps its own depth";
    EXPECT_EQ(Control.VideoModes().Count(), 7);
}

TEST(DisplayControl, WithoutAFilterEveryDepthIsGroupedInTheOrderFound)
{
    TFakeDisplaySettings Display;
    SetUpDisplay(Display);
    TDisplayControl Control(Display);
    std::vector<TScreenMode> Offered;
    for (bool Filter : {false, true}) {
        if (Filter)
            Control.OnEnumerate = [&](int32_t Depth, int32_t Width, int32_t Height, bool& Accept) {
                EXPECT_TRUE(Accept) << "comes in accepted";
                Offered.push_back(TScreenMode(Depth, Width, Height));
                Accept = Width == 800;
            };
        Control.Enumerate();
        if (!Filter) {
            EXPECT_EQ(DepthsOf(Control.ColorDepthModes()), (std::vector<int32_t>{8, 16, 24, 32}));
        }
    }
    EXPECT_EQ(Offered.size(), 7u);
    EXPECT_EQ(Offered.front(), TScreenMode(8, 640, 480)) << "depth, width, height in that order";
    EXPECT_EQ(DepthsOf(Control.ColorDepthModes()), (std::vector<int32_t>{32, 16})) << "cleared and rebuilt";
}

TEST(DisplayControl, LoadedEnumeratesOnlyWhenAsked)
{
    for (bool Auto : {false, true}) {
        TFakeDisplaySettings Display;
        SetUpDisplay(Display);
        TDisplayControl Control(Display);
        Control.AutoEnumerate = Auto;
        Control.Loaded();
        EXPECT_EQ(Display.Enumerated.empty(), !Auto);
        EXPECT_EQ(Control.ColorDepthModes().Count(), Auto ? 4 : 0);
    }
}

TEST(DisplayControl, ARefusedChangeLeavesTheDesktopInForce)
{
    TFakeDisplaySettings Display;
    SetUpDisplay(Display);
    Display.RefuseSwitch = true;
    TDisplayControl Control(Display);
    std::vector<std::string> Events;
    Control.OnBeforeChange = [&](TDisplayControl& Sender) {
        EXPECT_EQ(&Sender, &Control);
        Events.push_back("before");
    };
    Control.OnAfterChange = [&](TDisplayControl&) { Events.push_back("after"); };

    EXPECT_FALSE(Control.ChangeMode(640, 480, 16));
    EXPECT_FALSE(Control.FullScreen());
    EXPECT_EQ(Control.CurrentMode(), TScreenMode(24, 1024, 768));
    EXPECT_EQ(Events, (std::vector<std::string>{"before", "after"}));

    Control.SetFullScreen(true);
    EXPECT_FALSE(Control.FullScreen()) << "the setter ignores the refusal";
    EXPECT_EQ(Control.CurrentMode(), Control.DesktopMode());
    EXPECT_EQ(Display.Switched.size(), 2u);
    EXPECT_FALSE(Display.InForce.has_value());
}

TEST(DisplayControl, FullScreenSetterSwitchesAndRestores)
{
    TFakeDisplaySettings Display;
    SetUpDisplay(Display);
    TDisplayControl Control(Display);
    int After = 0;
    Control.OnAfterChange = [&](TDisplayControl& Sender) {
        ++After;
        EXPECT_EQ(Sender.FullScreen(), Display.InForce.has_value()) << "state settled before the event";
    };
    EXPECT_EQ(Control.FullScreenMode(), TScreenMode(16, 640, 480));
    EXPECT_FALSE(Control.FullScreen());

    Control.SetFullScreen(true);
    EXPECT_TRUE(Control.FullScreen());
    EXPECT_EQ(Display.InForce, (TDisplayModeRecord{640, 480, 16, 0}));
    EXPECT_EQ(Control.CurrentMode(), TScreenMode(16, 640, 480));
    EXPECT_EQ(Control.DesktopMode(), TScreenMode(24, 1024, 768));

    Control.SetFullScreen(true);
    EXPECT_EQ(Display.Switched.size(), 1u) << "the same value does nothing";

    Control.SetFullScreen(false);
    EXPECT_FALSE(Control.FullScreen());
    EXPECT_EQ(Display.Resets, 1);
    EXPECT_EQ(Control.CurrentMode(), TScreenMode(24, 1024, 768));
    Control.SetFullScreen(false);
    EXPECT_EQ(Display.Resets, 1);
    EXPECT_EQ(After, 2);
}

TEST(DisplayControl, FullScreenModeSetterSwitchesOnlyWhileFullScreen)
{
    TFakeDisplaySettings Display;
    SetUpDisplay(Display);
    Display.Accepts = [](const TDisplayModeRecord& R) { return R.Width != 1600; };
    TDisplayControl Control(Display);

    Control.SetFullScreenMode(TScreenMode(32, 800, 600));
    EXPECT_EQ(Control.FullScreenMode(), TScreenMode(32, 800, 600));
    EXPECT_TRUE(Display.Switched.empty()) << "not full screen: the display is left alone";

    Control.SetFullScreen(true);
    Control.SetFullScreenMode(TScreenMode(16, 640, 480));
    EXPECT_EQ(Display.InForce, (TDisplayModeRecord{640, 480, 16, 0}));
    EXPECT_EQ(Control.CurrentMode(), TScreenMode(16, 640, 480));

    // A refused mode is kept as the choice, but the screen stays as it is
    // and CurrentMode says so.
    Control.SetFullScreenMode(TScreenMode(32, 1600, 1200));
    EXPECT_EQ(Control.FullScreenMode(), TScreenMode(32, 1600, 1200));
    EXPECT_TRUE(Control.FullScreen());
    EXPECT_EQ(Display.InForce, (TDisplayModeRecord{640, 480, 16, 0}));
    EXPECT_EQ(Control.CurrentMode(), TScreenMode(16, 640, 480));
}

TEST(DisplayControl, DestructorRestoresASwitchInForce)
{
    for (bool Switch : {false, true}) {
        SCOPED_TRACE(Switch ? "switched" : "desktop");
        TFakeDisplaySettings Display;
        SetUpDisplay(Display);
        int Events = 0;
        {
            TDisplayControl Control(Display);
            if (Switch)
                Control.SetFullScreen(true);
            Control.OnBeforeChange = [&](TDisplayControl&) { ++Events; };
            Control.OnAfterChange = [&](TDisplayControl&) { ++Events; };
        }
        EXPECT_EQ(Display.Resets, Switch ? 1 : 0);
        EXPECT_FALSE(Display.InForce.has_value());
        EXPECT_EQ(Events, 0) << "no events from a control being destroyed";
    }
}
