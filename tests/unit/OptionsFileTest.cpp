#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Options.h"
#include "app/OptionsFile.h"
#include "app/OptionsKey.h"
#include "fakes/ErrorOf.h"

TEST(OptionsFile, ReadsNamesWithoutRegardToCaseAndTheLastLineCounts)
{
    TOptionsFileKey K("; comment\n# another\n\n[Glimmora 3D]\n  bubbles = 12 \nDollars=+7\nBubbles=13\r\nName=a b\n",
                      nullptr);
    EXPECT_TRUE(K.ValueExists("Bubbles"));
    EXPECT_FALSE(K.ValueExists("Theme"));
    EXPECT_EQ(K.ReadInteger("BUBBLES").Value, 13);
    EXPECT_EQ(K.ReadInteger("Dollars").Value, 7);
    EXPECT_EQ(K.ReadInteger("Theme").State, rvAbsent);
    EXPECT_EQ(K.ReadString("Name").Value, "a b");
}

TEST(OptionsFile, ValuesThatAreNotIntegersAreUnreadable)
{
    for (const char* V : {"", "x", "1.5", "12 bills", "2147483648", "-2147483649", "0x10", "+"}) {
        TOptionsFileKey K(std::string("Theme=") + V + "\n", nullptr);
        EXPECT_EQ(K.ReadInteger("Theme").State, rvUnreadable) << V;
    }
    TOptionsFileKey K("Theme=-2147483648\n", nullptr);
    EXPECT_EQ(K.ReadInteger("Theme").Value, INT32_MIN);
}

TEST(OptionsFile, MalformedLinesNameTheirNumber)
{
    EXPECT_EQ(ErrorOf([] { TOptionsFileKey("Theme=1\njunk\n", nullptr); }), "line 2 is not Name=Value: \"junk\"");
    EXPECT_EQ(ErrorOf([] { TOptionsFileKey("=5", nullptr); }), "line 1 is not Name=Value: \"=5\"");
    EXPECT_EQ(ErrorOf([] { TOptionsFileKey(std::string("A=1\0", 4), nullptr); }), "line 1 holds a NUL byte");
}

TEST(OptionsFile, WritesReplaceInPlaceKeepCommentsAndSaveTheWholeText)
{
    std::vector<std::string> Saved;
    TOptionsFileKey K("; mine\n[Glimmora 3D]\nTheme=-1\nSound=0\n", [&](const std::string& T) {
        Saved.push_back(T);
        return true;
    });
    EXPECT_TRUE(K.WriteInteger("theme", -2));
    EXPECT_TRUE(K.WriteInteger("Bubbles", 40));
    ASSERT_EQ(Saved.size(), 2u);
    EXPECT_EQ(Saved[1], "; mine\n[Glimmora 3D]\nTheme=-2\nSound=0\nBubbles=40\n");
    EXPECT_FALSE(K.WriteInteger("Bad=Name", 1));
    EXPECT_EQ(Saved.size(), 2u);
}

TEST(OptionsFile, AFailedSaveFailsTheWrite)
{
    TOptionsFileKey K("", [](const std::string&) { return false; });
    EXPECT_FALSE(K.WriteInteger("Theme", 1));
    TOptionsFileKey NoFile("", nullptr);
    EXPECT_FALSE(NoFile.WriteInteger("Theme", 1));
}

TEST(OptionsFile, TheOptionsTableLoadsAndSavesThroughIt)
{
    std::string File = "Bubbles=5\nDollars=6\nTheme=-3\nSound=0\n";
    TOptionsKey Key([&](TRegistryRoot, const std::string&, TRegistryAccess) {
        return std::make_unique<TOptionsFileKey>(File, [&](const std::string& T) {
            File = T;
            return true;
        });
    });
    const TOptionsMode Desktop{32, 800, 600};
    TSaverOptions O;
    SetDefaultOptions(O, Desktop);
    LoadSaverOptions(O, Key, Desktop, std::span<const TOptionsMode>(&Desktop, 1));
    Key.CloseRegistry();
    EXPECT_EQ(O.BubbleCount, 5);
    EXPECT_EQ(O.DollarCount, 6);
    EXPECT_TRUE(O.ThemeAuto);
    EXPECT_EQ(O.ThemeIndex, 2);
    EXPECT_FALSE(O.SoundEnabled);
    O.ThemeIndex = 0;
    SaveAutoTheme(O, Key);
    EXPECT_EQ(File, "[Glimmora 3D]\nBubbles=5\nDollars=6\nTheme=-1\nSound=0\n");
}

TEST(OptionsFile, PathFollowsTheXdgRules)
{
    EXPECT_EQ(OptionsFilePath("/x/cfg", "/home/u"), "/x/cfg/glimmora3d/glimmora3d.ini");
    EXPECT_EQ(OptionsFilePath("", "/home/u"), "/home/u/.config/glimmora3d/glimmora3d.ini");
    EXPECT_EQ(OptionsFilePath("relative", "/home/u"), "/home/u/.config/glimmora3d/glimmora3d.ini");
    EXPECT_EQ(OptionsFilePath("", ""), "");
}
