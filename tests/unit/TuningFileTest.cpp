#include <clocale>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include <gtest/gtest.h>

#include "app/Scramble.h"
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
// the value that text reads as.
std::pair<std::string, float> Distinct(float, std::size_t Row)
{
    return {std::to_string(1000 + Row) + ".25", static_cast<float>(1000 + Row) + 0.25f};
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

TEST(TuningFile, AColourFieldThatIsNotANumberEndsTheRun)
{
    TTuned T;
    try {
        T.Apply("[Fishes]\nFogColor=0,zz,0\n");
        FAIL() << "no error";
    } catch (const EGlimmoraError& E) {
        EXPECT_NE(std::string(E.what()).find("'zz'"), std::string::npos) << E.what();
        EXPECT_NE(std::string(E.what()).find("Fishes.FogColor"), std::string::npos) << E.what();
    }
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
