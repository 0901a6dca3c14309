#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/options/Options.h"
#include "app/options/OptionsFile.h"
#include "app/options/OptionsKey.h"
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

// The file as editors save it: a UTF-8 byte-order mark, CR alone or CR LF
// at the line ends, UTF-16 or UTF-32 with their mark. Each reads the same
// values and saves as UTF-8 with LF line ends.
TEST(OptionsFile, ReadsEveryEncodingAndLineEndAnEditorWrites)
{
    const std::string Lines = "[Glimmora 3D]|Bubbles=12|Path=/opt/gl\xC3\xA4mmora|Theme=-2|";
    const auto With = [&](const std::string& End) {
        std::string T;
        for (const char C : Lines)
            T += C == '|' ? End : std::string(1, C);
        return T;
    };
    const auto Wide = [&](int Width, bool Big) {
        const std::u32string Chars = U"[Glimmora 3D]\r\nBubbles=12\r\nPath=/opt/gl\u00e4mmora\r\nTheme=-2\r\n";
        std::string T;
        const auto Put = [&](char32_t U) {
            for (int B = 0; B < Width; ++B)
                T += static_cast<char>((U >> (8 * (Big ? Width - 1 - B : B))) & 0xFF);
        };
        Put(0xFEFF);
        for (const char32_t C : Chars)
            Put(C);
        return T;
    };
    const std::pair<const char*, std::string> Cases[] = {
        {"LF", With("\n")},
        {"CR LF", With("\r\n")},
        {"CR alone", With("\r")},
        {"UTF-8 mark", "\xEF\xBB\xBF" + With("\r\n")},
        {"UTF-16LE", Wide(2, false)},
        {"UTF-16BE", Wide(2, true)},
        {"UTF-32LE", Wide(4, false)},
        {"UTF-32BE", Wide(4, true)},
    };
    for (const auto& [What, Text] : Cases) {
        std::string Saved;
        TOptionsFileKey K(Text, [&](const std::string& T) {
            Saved = T;
            return true;
        });
        EXPECT_EQ(K.ReadInteger("Bubbles").Value, 12) << What;
        EXPECT_EQ(K.ReadInteger("Theme").Value, -2) << What;
        EXPECT_EQ(K.ReadString("Path").Value, "/opt/gl\xC3\xA4mmora") << What;
        EXPECT_TRUE(K.WriteInteger("Theme", -3)) << What;
        EXPECT_EQ(Saved, "[Glimmora 3D]\nBubbles=12\nPath=/opt/gl\xC3\xA4mmora\nTheme=-3\n") << What;
    }
    // UTF-16 without its mark: refused with the line of the first NUL.
    EXPECT_EQ(ErrorOf([] { TOptionsFileKey(std::string("T\0h\0e\0m\0e\0=\0001\0", 14), nullptr); }),
              "line 1 holds a NUL byte");
}

// A first line that starts like a byte-order mark is saved behind a UTF-8
// mark, so the saved file reads back with the same names.
TEST(OptionsFile, AFirstLineThatLooksLikeAMarkSurvivesASave)
{
    for (const std::string First : {"\xEF\xBB\xBFx=1", "\xFF\xFEx=1", "\xFE\xFFx=1"}) {
        std::string Saved;
        TOptionsFileKey K("\xEF\xBB\xBF" + First + "\n[S]\n", [&](const std::string& T) {
            Saved = T;
            return true;
        });
        ASSERT_TRUE(K.WriteInteger("Theme", 1));
        TOptionsFileKey Again(Saved, nullptr);
        EXPECT_EQ(Again.Text(), Saved);
        EXPECT_EQ(Again.ReadInteger("Theme").Value, 1);
        EXPECT_EQ(Again.ReadString(First.substr(0, First.size() - 2)).Value, "1");
    }
}
