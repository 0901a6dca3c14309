#include <clocale>
#include <string>

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

TEST(TuningFile, EntriesReachTheirSettings)
{
    TTuned T;
    T.Apply("[View]\nFarDistance=20000\nFieldOfView=bad\nLightColor=255,255,255\n"
            "[Planes]\nWaterCausticAlpha=0\nPlaneModel=flat.3dm\n"
            "[Bubbles]\nMaxSpeed=900\nMask=m.jpg\n"
            "[Bills]\nShimmerAlpha=0\nWaveFrames=w.mfl\n"
            "[Immersion]\nMinSpin=1\nBillColor=0,0,0\n"
            "[Fountain]\nSpeedSpread=100\nCausticTexture=other.jpg\n"
            "[Fishes]\nMaxHeight=7\nBottomTexture=rock.jpg\n"
            "[System]\nPriority=2\nLog=1\n");
    EXPECT_EQ(T.S.FarPlane, 20000.0f);
    EXPECT_EQ(T.S.FogEnd, 10000.0f) << "the fading follows the fog end, not the far distance";
    EXPECT_EQ(T.S.FieldOfView, 75.0f) << "a bad float keeps its value";
    EXPECT_EQ(T.S.LightDiffuse.R, 1.0f);
    EXPECT_EQ(T.S.WaterCausticAlpha, 0.0f);
    EXPECT_EQ(T.S.PlaneModelName, "flat.3dm");
    EXPECT_EQ(T.S.BubbleMaxSpeed, 900.0f);
    EXPECT_EQ(T.S.BubbleMaskName, "m.jpg");
    EXPECT_EQ(T.S.ShimmerAlpha, 0.0f);
    EXPECT_EQ(T.S.WaveFrameListName, "w.mfl");
    EXPECT_EQ(T.S.ImmersionMinSpin, 1.0f);
    EXPECT_EQ(T.S.Themes[thImmersion].BillColor.G, 0.0f);
    EXPECT_EQ(T.S.SpeedSpread, 100.0f);
    EXPECT_EQ(T.S.FountainGravity, 32.0f) << "gravity comes from the built-in values";
    EXPECT_EQ(T.S.Themes[thFountain].CausticTextureName, "other.jpg");
    EXPECT_EQ(T.S.Themes[thImmersion].CausticTextureName, "caust1.jpg");
    EXPECT_EQ(T.S.Themes[thFishes].CausticTextureName, "caust3.jpg");
    EXPECT_EQ(T.S.FishMaxHeight, 7.0f);
    EXPECT_EQ(T.S.Themes[thFishes].BottomTextureName, "rock.jpg");
    EXPECT_EQ(T.S.ProcessPriority, 2);
    EXPECT_EQ(T.Process.Classes, std::vector<TPriorityClass>{pcHigh});
    EXPECT_TRUE(T.Log.LogFile());
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
