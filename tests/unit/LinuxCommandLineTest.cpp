#include <gtest/gtest.h>

#include "app/linux/LinuxCommandLine.h"
#include "app/options/Options.h"
#include "gl/Errors.h"

TEST(LinuxCommandLine, SnapshotWithEveryOption)
{
    const TLinuxRunOptions O = ParseLinuxCommandLine({"--snapshot", "out/a.png", "--theme", "2", "--size", "640x480", "--time",
                                            "12.5", "--dollars", "0", "--bubbles", "7", "--seed", "4294967295",
                                            "--ini", "t.ini"});
    EXPECT_EQ(O.Kind, lkSnapshot);
    EXPECT_EQ(O.OutputFile, "out/a.png");
    ASSERT_TRUE(O.Theme.has_value());
    EXPECT_FALSE(O.Theme->Auto);
    EXPECT_EQ(O.Theme->Index, 2);
    EXPECT_EQ(O.ThemeIndexOrDefault(), 2);
    EXPECT_EQ(O.Width, 640);
    EXPECT_EQ(O.Height, 480);
    EXPECT_EQ(O.SceneTime, 12.5);
    EXPECT_EQ(O.DollarCount, 0);
    EXPECT_EQ(O.BubbleCount, 7);
    EXPECT_EQ(O.DollarCountOrDefault(), 0);
    EXPECT_EQ(O.Seed, 4294967295u);
    EXPECT_EQ(O.TuningFile, "t.ini");
}

TEST(LinuxCommandLine, DefaultsAndOtherKinds)
{
    EXPECT_EQ(ParseLinuxCommandLine({}).Kind, lkScreen);
    EXPECT_EQ(ParseLinuxCommandLine({"--help"}).Kind, lkHelp);
    EXPECT_EQ(ParseLinuxCommandLine({"--version"}).Kind, lkVersion);
    const TLinuxRunOptions B = ParseLinuxCommandLine({"--bench", "--frames", "50"});
    EXPECT_EQ(B.Kind, lkBench);
    EXPECT_EQ(B.Frames, 50);
    EXPECT_FALSE(B.Seed.has_value());
    // The table's defaults; the counts and the theme of the saver's options.
    EXPECT_EQ(B.Width, 800);
    EXPECT_EQ(B.Height, 600);
    EXPECT_EQ(B.SceneTime, 5.0);
    EXPECT_EQ(ParseLinuxCommandLine({}).Frames, 300);
    EXPECT_EQ(B.DelayMicroseconds, 0);
    EXPECT_EQ(B.DollarCountOrDefault(), OptionRow(orDollarCount).DefaultValue);
    EXPECT_EQ(B.BubbleCountOrDefault(), OptionRow(orBubbleCount).DefaultValue);
    EXPECT_EQ(B.ThemeIndexOrDefault(), 0);
    EXPECT_EQ(ParseLinuxCommandLine({"--theme", "auto"}).ThemeIndexOrDefault(), 0);
    EXPECT_EQ(ParseLinuxCommandLine({"-h"}).Kind, lkHelp);
    EXPECT_EQ(ParseLinuxCommandLine({"--theme", "1", "--version", "--bogus"}).Kind, lkVersion);
}

TEST(LinuxCommandLine, BadArgumentsAreNamed)
{
    const std::pair<std::vector<std::string>, std::string> Cases[] = {
        {{"--theme", "3"}, "Bad value \"3\" for --theme (expected 0 to 2 or auto)"},
        {{"--theme", "1x"}, "Bad value \"1x\" for --theme (expected 0 to 2 or auto)"},
        {{"--theme"}, "Missing value after --theme"},
        {{"-theme", ""}, "Bad value \"\" for --theme (expected 0 to 2 or auto)"},
        {{"--bubbles", "101"}, "Bad value \"101\" for --bubbles (expected 0 to 100)"},
        {{"--frames", "0"}, "Bad value \"0\" for --frames (expected 1 to 1000000)"},
        {{"--size", "640x480x3"}, "Bad value \"480x3\" for --size (expected 1 to 8192)"},
        {{"--size", "640"}, "Bad value \"640\" for --size (expected WIDTHxHEIGHT)"},
        {{"--size", "0x10"}, "Bad value \"0\" for --size (expected 1 to 8192)"},
        {{"--dollars", "-1"}, "Bad value \"-1\" for --dollars (expected 0 to 100)"},
        {{"--seed", "4294967296"}, "Bad value \"4294967296\" for --seed (expected 0 to 4294967295)"},
        {{"--snapshot"}, "Missing value after --snapshot"},
        {{"--snapshot", ""}, "Missing file name after --snapshot"},
        {{"--snapshot", "a.png", "--bench"}, "--snapshot and --bench cannot be combined"},
        {{"--time", "nan"}, "Bad value \"nan\" for --time (expected 0 to 86400)"},
        {{"--fast"}, "Unknown argument \"--fast\" (see --help)"},
    };
    for (const auto& [Args, Message] : Cases) {
        try {
            ParseLinuxCommandLine(Args);
            ADD_FAILURE() << "no error for " << Args[0];
        } catch (const EGlimmoraError& E) {
            EXPECT_EQ(std::string(E.what()), Message);
        }
    }
}

TEST(LinuxCommandLine, ScreenOptionsInBothSpellings)
{
    const TLinuxRunOptions H = ParseLinuxCommandLine({"-window-id", "0x2a00007", "-fps", "-delay", "20000", "-sound"});
    EXPECT_EQ(H.Kind, lkScreen);
    EXPECT_EQ(H.WindowId, 0x2a00007u);
    EXPECT_TRUE(H.ShowFps);
    EXPECT_EQ(H.DelayMicroseconds, 20000);
    EXPECT_EQ(H.Sound, true);
    EXPECT_TRUE(ParseLinuxCommandLine({"-root"}).Root);
    EXPECT_EQ(ParseLinuxCommandLine({"--window-id", "44040199"}).WindowId, 44040199u);

    const TLinuxRunOptions F = ParseLinuxCommandLine({"--mode", "1024x768x16", "--max-fps", "30", "--theme", "auto",
                                                      "--no-sound", "--dollars", "5"});
    EXPECT_TRUE(F.FullScreen);
    EXPECT_EQ(F.ModeWidth, 1024);
    EXPECT_EQ(F.ModeHeight, 768);
    EXPECT_EQ(F.ModeBitsPerPixel, 16);
    EXPECT_EQ(F.MaxFps, 30);
    ASSERT_TRUE(F.Theme.has_value());
    EXPECT_TRUE(F.Theme->Auto);
    EXPECT_EQ(F.Sound, false);
    EXPECT_EQ(F.DollarCount, 5);
    EXPECT_FALSE(F.BubbleCount.has_value());
    // Flags not given leave the options file in charge.
    const TLinuxRunOptions D = ParseLinuxCommandLine({});
    EXPECT_FALSE(D.Theme || D.DollarCount || D.BubbleCount || D.Sound || D.MaxFps);
}

TEST(LinuxCommandLine, BadScreenArgumentsAreNamed)
{
    const std::pair<std::vector<std::string>, std::string> Cases[] = {
        {{"--window-id", "0x"}, "Bad value \"0x\" for --window-id (expected a window id)"},
        {{"--window-id", "12ab"}, "Bad value \"12ab\" for --window-id (expected a window id)"},
        {{"-window-id", "0"}, "Bad value \"0\" for --window-id (expected a window id)"},
        {{"--window-id", "0x1ffffffff"}, "Bad value \"0x1ffffffff\" for --window-id (expected a window id)"},
        {{"--mode", "1024x768"}, "Bad value \"1024x768\" for --mode (expected WIDTHxHEIGHTxBITS)"},
        {{"-delay", "-1"}, "Bad value \"-1\" for --delay (expected 0 to 10000000)"},
        {{"--theme", "Auto"}, "Bad value \"Auto\" for --theme (expected 0 to 2 or auto)"},
        {{"--mode", "1024x768x4"}, "Bad value \"4\" for --mode (expected 8 to 32)"},
        {{"--max-fps", "1001"}, "Bad value \"1001\" for --max-fps (expected 0 to 1000)"},
    };
    for (const auto& [Args, Message] : Cases) {
        try {
            ParseLinuxCommandLine(Args);
            ADD_FAILURE() << Message;
        } catch (const EGlimmoraError& E) {
            EXPECT_EQ(std::string(E.what()), Message);
        }
    }
}
