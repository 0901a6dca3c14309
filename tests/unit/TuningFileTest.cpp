#include <cctype>
#include <clocale>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include <gtest/gtest.h>

#include "scene/Scramble.h"
#include "fakes/FakeProcess.h"
#include "fakes/TempDir.h"
#include "gl/Errors.h"
#include "scene/TuningFile.h"

namespace {

struct TTuned {
    TSceneSettings S;
    TFakeProcessControl Process;
    TTempDir Dir;
    TLogFile Log{Dir.File("t.log")};
    TTuned() { SetSceneDefaults(S); }
    void Apply(const std::string& Text) { ApplyTuning(TIniFile(Text), S, Process, Log); }
};

// A value of its own for row Row of the table: its text in the file and
// the value that text reads as. Falling from the first row on, the floats
// also make a projection the scene can use (far 170.5, near 169.5, field of
// view 168.5).
std::pair<std::string, float> Distinct(float, std::size_t Row)
{
    const int Whole = 170 - static_cast<int>(Row);
    return {std::to_string(Whole) + ".5", static_cast<float>(Whole) + 0.5f};
}

std::pair<std::string, TGLColor> Distinct(const TGLColor&, std::size_t Row)
{
    const auto Field = [&](std::size_t K) { return static_cast<float>(static_cast<double>(Row + K) / 255.0); };
    return {std::to_string(Row) + "," + std::to_string(Row + 1) + "," + std::to_string(Row + 2) + "," +
                std::to_string(Row + 3),
            {Field(0), Field(1), Field(2), Field(3)}};
}

std::pair<std::string, std::string> Distinct(const std::string&, std::size_t Row)
{
    return {"row" + std::to_string(Row) + ".jpg", "row" + std::to_string(Row) + ".jpg"};
}

std::pair<std::string, int> Distinct(int, std::size_t Row)
{
    return {std::to_string(100 + Row), static_cast<int>(100 + Row)};
}

template <class T>
bool Same(const T& A, const T& B)
{
    return A == B;
}

bool Same(const TGLColor& A, const TGLColor& B)
{
    return A.R == B.R && A.G == B.G && A.B == B.B && A.A == B.A;
}

} // namespace

TEST(Scramble, InvertsEveryByteAndKeepsTheLength)
{
    constexpr TScrambled Name{"FogColor"};
    EXPECT_EQ(Name.Scrambled().size(), 8u);
    EXPECT_EQ(static_cast<unsigned char>(Name.Scrambled()[0]), 255 - 'F');
    EXPECT_EQ(Name.Text(), "FogColor");
    EXPECT_EQ(UnscrambleKey(std::string("\xB9\x90\x90", 3)), "Foo");
    EXPECT_EQ(UnscrambleKey(""), "");
}

TEST(IniFile, NamesIgnoreCaseAndValuesAreTrimmed)
{
    const TIniFile Ini("; comment\r\n[View]\r\n  farDISTANCE =  20000 \r\n[view]\r\nFogEnd=1\r\n[Other]\r\nx=1\r\n");
    EXPECT_EQ(Ini.ReadString("VIEW", "FarDistance", "-"), "20000");
    EXPECT_EQ(Ini.ReadFloat("view", "fogend", 0), 1.0f) << "a repeated heading continues its section";
    EXPECT_EQ(Ini.ReadString("View", "x", "none"), "none");
    EXPECT_EQ(Ini.ReadString("Missing", "x", "none"), "none");
}

TEST(IniFile, ReadingRules)
{
    struct Case {
        const char* Text;
        const char* Section;
        const char* Key;
        std::optional<std::string> Expect;
    };
    const Case Cases[] = {
        // A byte-order mark before the first heading, as Notepad writes it.
        {"\xEF\xBB\xBF[View]\r\nFarDistance=1\r\n", "View", "FarDistance", "1"},
        {"\xEF\xBB\xBF\r\n[View]\r\nFarDistance=2\r\n", "View", "FarDistance", "2"},
        // A repeated heading continues the first section of its name; the
        // first key of a name wins, also across the headings.
        {"[A]\nx=1\n[B]\nx=2\n[a]\nx=3\ny=4\n", "A", "x", "1"},
        {"[A]\nx=1\n[B]\nx=2\n[a]\nx=3\ny=4\n", "a", "y", "4"},
        {"[A]\nx=1\n[B]\nx=2\n[a]\nx=3\ny=4\n", "B", "x", "2"},
        {"[A]\nx=1\n[B]\nx=2\n[a]\nx=3\ny=4\n", "B", "y", std::nullopt},
        {"x=1\n[A]\ny=2\n", "A", "x", std::nullopt},   // before any heading
        {"[ A ]\nx=1", "a", "x", "1"},
        {"[A\nx=1\n", "A", "x", "1"},   // no closing bracket
        {"[A] tail\nx=1\n", "A", "x", "1"},
        {"[]\nx=1\n", "", "x", "1"},
        {"[A]\n;x=1\n#x=2\nx\nx=3\n", "A", "x", "3"},
        {"[A]\nx=a=b\n", "A", "x", "a=b"},
        {"[A]\n\n\n", "A", "x", std::nullopt},
        {"[A]\nx=1\n  [B]  \nx=2\n", "B", "x", "2"},
        {"", "A", "x", std::nullopt},
    };
    for (const auto& C : Cases) {
        const TIniFile Ini(C.Text);
        EXPECT_EQ(Ini.Value(C.Section, C.Key), C.Expect) << C.Text;
        EXPECT_TRUE(Ini.SectionExists(C.Section) || C.Expect == std::nullopt) << C.Text;
    }
}

// Line ends of any kind, and the encodings an editor may save in.
TEST(IniFile, ReadsEveryLineEndAndUnicodeEncoding)
{
    const std::u16string Wide = u"[View]\r\nFarDistance=7\r\n[B\u00e4d]\r\nx=\U0001F600\r\n";
    std::string Le = "\xFF\xFE", Be = "\xFE\xFF";
    for (const char16_t C : Wide) {
        Le += {static_cast<char>(C & 0xFF), static_cast<char>(C >> 8)};
        Be += {static_cast<char>(C >> 8), static_cast<char>(C & 0xFF)};
    }
    std::string Le32("\xFF\xFE\0\0", 4), Be32("\0\0\xFE\xFF", 4);
    for (const char32_t C : std::u32string(U"[View]\nFarDistance=7\n[B\u00e4d]\nx=\U0001F600\n")) {
        for (int B = 0; B < 4; ++B) {
            Le32 += static_cast<char>((C >> (8 * B)) & 0xFF);
            Be32 += static_cast<char>((C >> (8 * (3 - B))) & 0xFF);
        }
    }
    const std::pair<const char*, std::string> Cases[] = {
        {"CR alone", "[View]\rFarDistance=7\r[B\xC3\xA4" "d]\rx=\xF0\x9F\x98\x80\r"},
        {"mixed", "[View]\r\n\rFarDistance=7\n[B\xC3\xA4" "d]\rx=\xF0\x9F\x98\x80"},
        {"UTF-16LE", Le},
        {"UTF-16BE", Be},
        {"UTF-32LE", Le32},
        {"UTF-32BE", Be32},
    };
    for (const auto& [What, Text] : Cases) {
        const TIniFile Ini(Text);
        EXPECT_EQ(Ini.Value("View", "FarDistance"), "7") << What;
        EXPECT_EQ(Ini.Value("B\xC3\xA4" "d", "x"), "\xF0\x9F\x98\x80") << What;
        EXPECT_EQ(Ini.Value("View", "x"), std::nullopt) << What;
        EXPECT_FALSE(Ini.HoldsNul()) << What;
    }
}

TEST(IniFile, TextAsUtf8ReplacesWhatIsNoCharacter)
{
    EXPECT_EQ(TextAsUtf8("\xEF\xBB\xBFx"), "x");
    EXPECT_EQ(TextAsUtf8("plain\xFF"), "plain\xFF");   // not a mark: as it is
    EXPECT_EQ(TextAsUtf8(std::string("\xFF\xFE" "A\0" "\x00\xD8" "B\0", 8)), "A\xEF\xBF\xBD" "B");   // lone surrogate
    EXPECT_EQ(TextAsUtf8(std::string("\xFE\xFF\0A\0", 5)), "A\xEF\xBF\xBD");   // cut short
    EXPECT_EQ(TextAsUtf8(std::string("\0\0\xFE\xFF\0\x11\0\0", 8)), "\xEF\xBF\xBD");   // beyond U+10FFFF
}

// A tuning file in UTF-16 without its mark holds NUL bytes: refused with a
// message naming the file, never read as a file without entries.
TEST(TuningFile, AFileWithNulBytesIsRefusedByName)
{
    TTuned T;
    const std::string Name = T.Dir.Write("Wide.ini", std::string("[\0V\0i\0e\0w\0]\0", 12));
    try {
        LoadTuningFile(Name, T.S, T.Process, T.Log);
        ADD_FAILURE() << "no error";
    } catch (const EGlimmoraError& E) {
        EXPECT_EQ(std::string(E.what()), "The tuning file \"" + Name +
                                             "\" holds NUL bytes: it is not text in UTF-8, or in UTF-16 or UTF-32 "
                                             "with a byte-order mark");
    }
}

// An error in the file names the file by its full path, also when the
// program was given a name relative to the working folder.
TEST(TuningFile, AnErrorNamesTheFileByItsFullPath)
{
    TTuned T;
    T.Dir.Write("bad.ini", "[Fishes]\nFogColor=0,blue,0\n");
    const std::filesystem::path Was = std::filesystem::current_path();
    std::filesystem::current_path(T.Dir.File(""));
    std::string Message;
    try {
        LoadTuningFile("./bad.ini", T.S, T.Process, T.Log);
    } catch (const EGlimmoraError& E) {
        Message = E.what();
    }
    std::filesystem::current_path(Was);
    EXPECT_EQ(Message, "'blue' is not a valid number in the tuning file entry Fishes.FogColor of \"" +
                           (std::filesystem::path(T.Dir.File("")) / "bad.ini").lexically_normal().string() + "\"");
}

// Names chosen so that the index's former hash (FNV-1a of the folded name)
// put them all in one slot: the low 16 bits of that hash depend only on the
// low 16 bits of the state, so a name of blocks that each lead from the
// same state to the same state, whichever of two is taken, collides with
// every other such name.
static std::vector<std::string> FnvCollidingNames(int Blocks)
{
    const auto Step = [](std::uint32_t H, const std::string& Block) {
        for (const char C : Block)
            H = (H ^ static_cast<unsigned char>(C)) * 16777619u;
        return H & 0xFFFF;
    };
    const std::string Letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::uint32_t State = 2166136261u & 0xFFFF;
    std::vector<std::pair<std::string, std::string>> Choices;
    for (int B = 0; B < Blocks; ++B) {
        std::vector<std::string> Seen(0x10000);
        for (std::size_t I = 0; Choices.size() == std::size_t(B); ++I) {
            const std::string Block{Letters[I % 36], Letters[I / 36 % 36], Letters[I / 1296 % 36]};
            std::string& First = Seen[Step(State, Block)];
            if (First.empty()) {
                First = Block;
                continue;
            }
            Choices.emplace_back(First, Block);
            State = Step(State, Block);
        }
    }
    std::vector<std::string> Names;
    for (std::uint32_t Pick = 0; Pick < (1u << Blocks); ++Pick) {
        std::string Name;
        for (int B = 0; B < Blocks; ++B)
            Name += (Pick >> B) & 1 ? Choices[std::size_t(B)].second : Choices[std::size_t(B)].first;
        Names.push_back(Name);
    }
    return Names;
}

// Names made to collide still find their sections directly, and each one
// its own: a file cannot make reading quadratic.
TEST(IniFile, NamesMadeToCollideStillFindTheirSectionsDirectly)
{
    const std::vector<std::string> Names = FnvCollidingNames(12);
    ASSERT_EQ(Names.size(), 4096u);
    std::string Text;
    for (std::size_t I = 0; I < Names.size(); ++I)
        Text += "[" + Names[I] + "]\nk=" + std::to_string(I) + "\n";
    // Each name again in lower case: the same section, whose first key wins.
    for (std::size_t I = 0; I < Names.size(); ++I) {
        std::string Lower = Names[I];
        for (char& C : Lower)
            C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
        Text += "[" + Lower + "]\nk=-1\nm=" + std::to_string(I) + "\n";
    }
    const TIniFile Ini(Text);
    EXPECT_LE(Ini.HeadingProbes(), std::size_t(3 * 2 * Names.size()));
    for (std::size_t I = 0; I < Names.size(); ++I) {
        ASSERT_EQ(Ini.ReadInteger(Names[I], "k", -2), int(I)) << Names[I];
        ASSERT_EQ(Ini.ReadInteger(Names[I], "m", -2), int(I)) << Names[I];
    }
    EXPECT_FALSE(Ini.SectionExists(Names[0] + "X"));
}

// Placing a heading looks at about one slot of the section index, however
// many sections came before it: reading is linear in the headings.
TEST(IniFile, EachHeadingFindsItsSectionDirectly)
{
    constexpr int Count = 20000;
    std::string Text;
    for (int Round = 0; Round < 2; ++Round)
        for (int I = 0; I < Count; ++I)
            Text += (Round == 0 ? "[Section" : "[SECTION") + std::to_string(I) + "]\nk=" +
                    std::to_string(Round * Count + I) + "\n";
    const TIniFile Ini(Text);
    EXPECT_LE(Ini.HeadingProbes(), std::size_t(3 * 2 * Count));
    EXPECT_GE(Ini.HeadingProbes(), std::size_t(2 * Count));
    for (const int I : {0, 1, Count / 2, Count - 1})
        EXPECT_EQ(Ini.ReadInteger("section" + std::to_string(I), "k", -1), I);
    EXPECT_FALSE(Ini.SectionExists("Section" + std::to_string(Count)));
}

TEST(IniFile, NumbersAreCheckedAndUseTheDotWhateverTheLocale)
{
    std::setlocale(LC_ALL, "de_DE.UTF-8");   // where available, its separator is ","
    const TIniFile Ini("[S]\na=1.5\nb=1,5\nc=abc\nd=1e3\ne=-2.25\nf=inf\ng=nan\nh=1e39\ni=12\nj=12x\nk=+7\nl=\n");
    EXPECT_EQ(Ini.ReadFloat("S", "a", 9), 1.5f);
    EXPECT_EQ(Ini.ReadFloat("S", "b", 9), 9.0f);
    EXPECT_EQ(Ini.ReadFloat("S", "c", 9), 9.0f);
    EXPECT_EQ(Ini.ReadFloat("S", "d", 9), 1000.0f);
    EXPECT_EQ(Ini.ReadFloat("S", "e", 9), -2.25f);
    EXPECT_EQ(Ini.ReadFloat("S", "f", 9), 9.0f);
    EXPECT_EQ(Ini.ReadFloat("S", "g", 9), 9.0f);
    EXPECT_EQ(Ini.ReadFloat("S", "h", 9), 9.0f);
    EXPECT_EQ(Ini.ReadInteger("S", "i", 9), 12);
    EXPECT_EQ(Ini.ReadInteger("S", "j", 9), 9);
    EXPECT_EQ(Ini.ReadInteger("S", "k", 9), 7);
    EXPECT_EQ(Ini.ReadInteger("S", "a", 9), 9);
    EXPECT_EQ(Ini.ReadInteger("S", "l", 9), 9);
    std::setlocale(LC_ALL, "C");
}

TEST(TuningFile, ColourEntries)
{
    struct Case {
        const char* Text;
        TGLColor Expect;
    };
    const TGLColor Start{0.1f, 0.2f, 0.3f, 0.4f};
    const Case Cases[] = {
        {"255,128,0,255", {1.0f, 128 / 255.0f, 0.0f, 1.0f}},
        {"0,0,255", {0.0f, 0.0f, 1.0f, 0.4f}},
        {",,128", {0.1f, 0.2f, 128 / 255.0f, 0.4f}},
        {"", Start},
        {"51", {0.2f, 0.2f, 0.3f, 0.4f}},
        {"0,0,255,", {0.0f, 0.0f, 1.0f, 0.4f}},       // a trailing comma is no field
        {" 51 , , 102 ", {0.2f, 0.2f, 0.4f, 0.4f}},
        {"1,2,3,4,5", {1 / 255.0f, 2 / 255.0f, 3 / 255.0f, 4 / 255.0f}},
        {"127.5", {0.5f, 0.2f, 0.3f, 0.4f}},
    };
    for (const auto& C : Cases) {
        TGLColor Color = Start;
        ApplyColorEntry(C.Text, Color, "View.AmbientColor");
        EXPECT_NEAR(Color.R, C.Expect.R, 1e-6f) << C.Text;
        EXPECT_NEAR(Color.G, C.Expect.G, 1e-6f) << C.Text;
        EXPECT_NEAR(Color.B, C.Expect.B, 1e-6f) << C.Text;
        EXPECT_NEAR(Color.A, C.Expect.A, 1e-6f) << C.Text;
    }
}

// A field that is not a number, or one no single can hold, ends the run
// with a message naming the field and the entry.
TEST(TuningFile, ABadColourFieldEndsTheRun)
{
    const std::pair<const char*, const char*> Cases[] = {
        {"0,zz,0", "'zz' is not a valid number in the tuning file entry Fishes.FogColor"},
        {"1e39", "'1e39' is out of range in the tuning file entry Fishes.FogColor"},
        {"0,0,-1e300", "'-1e300' is out of range in the tuning file entry Fishes.FogColor"},
    };
    for (const auto& [Entry, Message] : Cases) {
        TTuned T;
        try {
            T.Apply(std::string("[Fishes]\nFogColor=") + Entry + "\n");
            ADD_FAILURE() << Entry << ": no error";
        } catch (const EGlimmoraError& E) {
            EXPECT_EQ(std::string(E.what()), Message);
        }
    }
}

// Distances and an opening the GL refuses are as unreadable as text: the
// values in force stay. Each value is judged with the others of the file.
TEST(TuningFile, AProjectionTheGLRefusesKeepsTheValuesInForce)
{
    struct Case {
        const char* View;
        float Far, Near, FieldOfView;
    };
    const Case Cases[] = {
        {"NearDistance=0", 10000, 100, 75},
        {"NearDistance=-5", 10000, 100, 75},
        {"NearDistance=10000", 10000, 100, 75},
        {"NearDistance=20000", 10000, 100, 75},
        {"FarDistance=100", 10000, 100, 75},
        {"FarDistance=-1", 10000, 100, 75},
        {"FarDistance=20000", 20000, 100, 75},
        {"FarDistance=50\nNearDistance=10", 50, 10, 75},
        {"NearDistance=20000\nFarDistance=50000", 50000, 20000, 75},
        {"FarDistance=50\nNearDistance=-5", 10000, 100, 75},   // the far distance relied on the near one
        {"FarDistance=5\nNearDistance=10", 10000, 10, 75},   // the first refused row goes back first
        {"FieldOfView=0", 10000, 100, 75},
        {"FieldOfView=-30", 10000, 100, 75},
        {"FieldOfView=180", 10000, 100, 75},
        {"FieldOfView=270", 10000, 100, 75},
        {"FieldOfView=179.5", 10000, 100, 179.5f},
        {"FieldOfView=0.5", 10000, 100, 0.5f},
        // Values so small that the frustum vanishes, or a near plane so
        // close that a 16-bit depth buffer puts everything at the far plane.
        {"NearDistance=1e-45", 10000, 100, 75},
        {"FieldOfView=1e-45", 10000, 100, 75},
        {"FieldOfView=1e-35", 10000, 100, 75},
        {"NearDistance=0.001", 10000, 100, 75},
        {"NearDistance=0.1", 10000, 100, 75},
        {"FarDistance=1e30", 10000, 100, 75},
        {"NearDistance=1", 10000, 1, 75},
        {"FieldOfView=0.001", 10000, 100, 0.001f},
        {"NearDistance=1e-3\nFarDistance=60", 60, 0.001f, 75},
    };
    for (const auto& C : Cases) {
        TTuned T;
        T.Apply(std::string("[View]\n") + C.View + "\nFogEnd=9000\n");
        EXPECT_EQ(T.S.FarPlane, C.Far) << C.View;
        EXPECT_EQ(T.S.NearPlane, C.Near) << C.View;
        EXPECT_EQ(T.S.FieldOfView, C.FieldOfView) << C.View;
        EXPECT_EQ(T.S.FogEnd, 9000.0f) << C.View << ": the rest of the section is still read";
    }
}

// An entry whose value is taken back is named, with the file and the
// value kept, in the log and to the caller.
TEST(TuningFile, AnEntryThatCannotBeUsedIsNamed)
{
    TTuned T;
    std::vector<std::string> Notices;
    ApplyTuning(TIniFile("[View]\nNearDistance=1e-45\nFieldOfView = 1e-45\nFogEnd=9000\n[System]\nLog=1\n"), T.S,
                T.Process, T.Log, T.Dir.File("t.ini"), &Notices);
    const std::string Of = " of \"" + T.Dir.File("t.ini") + "\" gives a projection that cannot be drawn; the value ";
    EXPECT_EQ(Notices, (std::vector<std::string>{"The tuning file entry [View] NearDistance=1e-45" + Of + "100 is kept",
                                                 "The tuning file entry [View] FieldOfView=1e-45" + Of + "75 is kept"}));
    EXPECT_EQ(T.S.FogEnd, 9000.0f);
    const std::string Log = TTempDir::Read(T.Dir.File("t.log"));
    EXPECT_EQ(Log.substr(0, Log.find('\0')), Notices[0] + "\r\n" + Notices[1] + "\r\n");
}

// One file gives every row of the settings table a value of its own: each
// lands in its own field, the sections come in their reading order, and
// the defaults then bring every row back.
TEST(TuningFile, EveryRowOfTheTableRoundTrips)
{
    TTuned T;
    const auto Rows = SceneSettingRows();
    std::string Text;
    std::vector<std::string> Sections;
    for (std::size_t I = 0; I < Rows.size(); ++I) {
        const std::string Section = UnscrambleKey(Rows[I].Section);
        if (Sections.empty() || Sections.back() != Section) {
            Sections.push_back(Section);
            Text += "[" + Section + "]\n";
        }
        std::visit([&](const auto& F) { Text += UnscrambleKey(Rows[I].Key) + "=" + Distinct(F.Default, I).first + "\n"; },
                   Rows[I].Field);
    }
    EXPECT_EQ(Sections, (std::vector<std::string>{"View", "Planes", "Bubbles", "Bills", "Immersion", "Fountain",
                                                  "Fishes", "System"}));

    T.Apply(Text);
    for (std::size_t I = 0; I < Rows.size(); ++I)
        std::visit(
            [&](const auto& F) {
                const auto Own = Distinct(F.Default, I).second;
                const std::string Name = UnscrambleKey(Rows[I].Section) + "." + UnscrambleKey(Rows[I].Key);
                EXPECT_FALSE(Same(Own, F.Default)) << Name << ": the test needs a value other than the default";
                EXPECT_TRUE(Same(F.Member(T.S), Own)) << Name;
            },
            Rows[I].Field);

    SetSceneDefaults(T.S);
    for (std::size_t I = 0; I < Rows.size(); ++I)
        std::visit([&](const auto& F) { EXPECT_TRUE(Same(F.Member(T.S), F.Default)) << UnscrambleKey(Rows[I].Key); },
                   Rows[I].Field);
}

TEST(TuningFile, EachKindKeepsItsReadingRule)
{
    TTuned T;
    T.S.FieldOfView = 60;
    T.Apply("[View]\nFarDistance=20000\nFieldOfView=bad\n"
            "[Fountain]\nSpeedSpread=100\nCausticTexture=other.jpg\n"
            "[System]\nPriority=2\nLog=1\n");
    EXPECT_EQ(T.S.FogEnd, 10000.0f) << "the fading follows the fog end, not the far distance";
    EXPECT_EQ(T.S.FieldOfView, 60.0f) << "a bad float keeps the current value";
    EXPECT_EQ(T.S.FountainGravity, 32.0f) << "gravity comes from the built-in values";
    EXPECT_EQ(T.S.Themes[thFountain].CausticTextureName, "other.jpg");
    EXPECT_EQ(T.S.Themes[thImmersion].CausticTextureName, "caust1.jpg");
    EXPECT_EQ(T.S.Themes[thFishes].CausticTextureName, "caust3.jpg");
    EXPECT_EQ(T.Process.Classes, std::vector<TPriorityClass>{pcHigh});
    EXPECT_TRUE(T.Log.LogFile());

    T.Apply("[System]\nPriority=high\nLog=1\n");
    EXPECT_EQ(T.S.ProcessPriority, 1) << "a bad integer falls back to the built-in value, not the current one";
}

// The effects on their own start with the scene's built-in values.
TEST(SceneSettings, EffectDefaultsAreTheScenes)
{
    TSceneSettings S;
    SetSceneDefaults(S);
    EXPECT_EQ(S.Bubbles, TBubblesRanges{});
    EXPECT_EQ(S.Immersion, TImmersionRanges{});
    EXPECT_EQ(S.Fountain, TFountainRanges{});
    EXPECT_EQ(S.Fish, TFishRanges{});
    for (const float FieldOfView : {TBubblesParams{}.FieldOfView, TImmersionParams{}.FieldOfView,
                                    TFountainParams{}.FieldOfView, TFishParams{}.FieldOfView})
        EXPECT_EQ(FieldOfView, S.FieldOfView);
    EXPECT_EQ(TBubblesParams{}.TopHeight, S.WaterHeight);
    EXPECT_EQ(TImmersionParams{}.TopHeight, S.WaterHeight);
    EXPECT_EQ(TBubblesParams{}.StartHeight, S.BottomHeight);
    EXPECT_EQ(TImmersionParams{}.BottomLimit, S.BottomHeight);
}

TEST(TuningFile, WithoutTheSystemSectionLoggingIsOffAndPriorityDefault)
{
    TTuned T;
    T.Log.SetLogFile(true);
    T.S.ProcessPriority = 3;
    T.Apply("[View]\nFogEnd=9000\n");
    EXPECT_FALSE(T.Log.LogFile());
    EXPECT_EQ(T.S.ProcessPriority, 1);
    EXPECT_EQ(T.Process.Classes, std::vector<TPriorityClass>{pcNormal});
}

TEST(TuningFile, PrioritySelectors)
{
    const std::pair<int, std::vector<TPriorityClass>> Cases[] = {
        {0, {}}, {1, {pcNormal}}, {2, {pcHigh}}, {3, {pcHigh}}, {4, {}}, {-1, {}}};
    for (const auto& [Selector, Expect] : Cases) {
        TFakeProcessControl P;
        SetProcessPriority(P, Selector);
        EXPECT_EQ(P.Classes, Expect) << Selector;
    }
}

TEST(TuningFile, AMissingFileChangesNothingAndAPresentOneIsRead)
{
    TTuned T;
    LoadTuningFile(T.Dir.File("Glimmora3D.ini"), T.S, T.Process, T.Log);
    EXPECT_TRUE(T.Process.Classes.empty());
    EXPECT_EQ(T.S.FarPlane, 10000.0f);

    const std::string Name = T.Dir.Write("Glimmora3D.ini", "[view]\r\nneardistance=50\r\n");
    LoadTuningFile(Name, T.S, T.Process, T.Log);
    EXPECT_EQ(T.S.NearPlane, 50.0f);
}

// A tuning file of 1 MiB is still read; one byte more is refused before it
// is read, with a message that names the file.
TEST(TuningFile, AFileOverOneMebibyteIsRefused)
{
    TTuned T;
    const std::string Head = "\xEF\xBB\xBF[View]\r\nNearDistance=50\r\n";
    std::string Text = Head + std::string((1 << 20) - Head.size() - 2, ';') + "\r\n";
    ASSERT_EQ(Text.size(), std::size_t(1) << 20);
    LoadTuningFile(T.Dir.Write("Full.ini", Text), T.S, T.Process, T.Log);
    EXPECT_EQ(T.S.NearPlane, 50.0f);

    const std::string Name = T.Dir.Write("Over.ini", Text + "\n");
    try {
        LoadTuningFile(Name, T.S, T.Process, T.Log);
        ADD_FAILURE() << "no error";
    } catch (const EGlimmoraError& E) {
        EXPECT_EQ(std::string(E.what()), "The tuning file \"" + Name + "\" is larger than 1 MiB");
    }
}
