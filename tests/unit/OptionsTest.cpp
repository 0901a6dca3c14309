#include <climits>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/options/Options.h"
#include "app/options/OptionsKey.h"
#include "scene/Scramble.h"
#include "fakes/ErrorOf.h"
#include "fakes/FakeRegistry.h"
#include "platform/RegistryData.h"

namespace {

const std::string KeyPath = "Software\\Tarnwick Software\\Glimmora 3D";

// A display that offers 16 and 32 bits at three sizes.
const std::vector<TOptionsMode> Modes{
    {16, 640, 480}, {16, 800, 600}, {16, 1024, 768},
    {32, 640, 480}, {32, 800, 600}, {32, 1024, 768},
};
const TOptionsMode Desktop{32, 1280, 1024};

struct TOptionsFixture {
    TFakeRegistry Store;
    TOptionsKey Key{Store.Opener()};
    TOptionsFixture()
    {
        Key.SetTitle("Glimmora 3D");
        Key.SetCompany("Tarnwick Software");
    }
    void Store32(TOptionRole Role, int32_t Value)
    {
        Store.Set(hkCurrentUser, KeyPath, OptionRow(Role).Name(), TFakeRegistry::Integer(Value));
    }
    std::optional<int32_t> Stored(TOptionRole Role) const
    {
        return Store.IntegerAt(hkCurrentUser, KeyPath, OptionRow(Role).Name());
    }
    TSaverOptions Load(const TOptionsMode& Desk = Desktop, const std::vector<TOptionsMode>& Offered = Modes)
    {
        TSaverOptions O;
        SetDefaultOptions(O, Desk);
        LoadSaverOptions(O, Key, Desk, Offered);
        Key.CloseRegistry();
        return O;
    }
};

std::string NamesOf(const std::vector<std::string>& Names)
{
    std::string Text;
    for (const auto& N : Names)
        Text += (Text.empty() ? "" : ",") + N;
    return Text;
}

} // namespace

// ---------------------------------------------------------------- the table

TEST(OptionsTable, ValueNamesAreStoredScrambledAndUnscrambleToTheChosenNames)
{
    const std::vector<std::string> Chosen{"Bubbles", "Dollars", "Theme", "ColorDepth", "ScreenWidth",
                                          "ScreenHeight", "Sound", "DesktopOnly", "RunAsProgram"};
    const auto Rows = OptionRows();
    ASSERT_EQ(Rows.size(), Chosen.size());
    std::set<std::string> Seen;
    for (std::size_t i = 0; i < Rows.size(); ++i) {
        SCOPED_TRACE(Chosen[i]);
        EXPECT_EQ(Rows[i].Role, static_cast<TOptionRole>(i)) << "rows are in role order";
        EXPECT_EQ(&OptionRow(Rows[i].Role), &Rows[i]);
        EXPECT_EQ(Rows[i].Name(), Chosen[i]);
        ASSERT_EQ(Rows[i].ScrambledName.size(), Chosen[i].size());
        for (std::size_t c = 0; c < Chosen[i].size(); ++c)
            EXPECT_EQ(static_cast<unsigned char>(Rows[i].ScrambledName[c]), 255 - static_cast<unsigned char>(Chosen[i][c]));
        EXPECT_EQ(UnscrambleKey(Rows[i].ScrambledName), Chosen[i]);
        EXPECT_TRUE(Seen.insert(Rows[i].Name()).second) << "names are unique";
    }
    EXPECT_EQ(Seen.count(ProgramPathValueName), 0u);
}

TEST(OptionsTable, ThemeIsStoredAsTheIndexOrItsComplementWhenAutomatic)
{
    struct TCase {
        int32_t Stored;
        bool Auto;
        int32_t Index;
    };
    const TCase Cases[] = {
        {0, false, 0}, {1, false, 1}, {2, false, 2},
        {-1, true, 0}, {-2, true, 1}, {-3, true, 2},
        {3, false, 0}, {-4, false, 0}, {INT_MAX, false, 0}, {INT_MIN, false, 0},   // outside -3..2
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Stored);
        bool Auto = !C.Auto;
        int32_t Index = 99;
        DecodeTheme(C.Stored, Auto, Index);
        EXPECT_EQ(Auto, C.Auto);
        EXPECT_EQ(Index, C.Index);
        if (C.Stored >= -3 && C.Stored <= 2) {
            EXPECT_EQ(EncodeTheme(Auto, Index), C.Stored);
        }
    }
    EXPECT_EQ(EncodeTheme(true, 7), -1) << "an index outside the themes is never stored";
}

TEST(OptionsTable, DefaultModeIsTheDesktopCappedAt800x600WhenBothDimensionsExceedIt)
{
    struct TCase {
        TOptionsMode Desk, Expected;
    };
    const TCase Cases[] = {
        {{32, 1280, 1024}, {32, 800, 600}},
        {{16, 801, 601}, {16, 800, 600}},
        {{32, 1024, 600}, {32, 1024, 600}},   // not higher than 600
        {{32, 800, 1024}, {32, 800, 1024}},   // not wider than 800
        {{24, 800, 600}, {24, 800, 600}},
        {{8, 640, 480}, {8, 640, 480}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(std::to_string(C.Desk.Width) + "x" + std::to_string(C.Desk.Height));
        EXPECT_EQ(DefaultFullScreenMode(C.Desk), C.Expected);
        TSaverOptions O;
        SetDefaultOptions(O, C.Desk);
        EXPECT_EQ(O.FullScreenMode, C.Expected);
    }
}

TEST(OptionsTable, DefaultsResetEverythingButRunAsExeAndProgramPath)
{
    TSaverOptions O{1, 2, true, 2, false, true, {16, 640, 480}, true, "D:\\Saver\\"};
    SetDefaultOptions(O, {32, 1024, 768});
    EXPECT_EQ(O.BubbleCount, 100);
    EXPECT_EQ(O.DollarCount, 60);
    EXPECT_FALSE(O.ThemeAuto);
    EXPECT_EQ(O.ThemeIndex, 0);
    EXPECT_TRUE(O.SoundEnabled);
    EXPECT_FALSE(O.DesktopOnly);
    EXPECT_EQ(O.FullScreenMode, (TOptionsMode{32, 800, 600}));
    EXPECT_TRUE(O.RunAsEXE);
    EXPECT_EQ(O.ProgramPath, "D:\\Saver\\");
}

// ----------------------------------------------------------------- load

TEST(OptionsLoad, StoredValuesAndTheirChecks)
{
    using TValues = std::vector<std::pair<TOptionRole, int32_t>>;
    struct TCase {
        const char* Name;
        TValues Values;
        TOptionsMode Desk;
        TSaverOptions Expected;
    };
    const TSaverOptions D{100, 60, false, 0, true, false, {32, 800, 600}, false, ""};
    auto With = [&](auto Change) {
        TSaverOptions O = D;
        Change(O);
        return O;
    };
    const TCase Cases[] = {
        {"empty key", {}, Desktop, D},
        {"counts in range as stored", {{orBubbleCount, 37}, {orDollarCount, 0}},
         Desktop, With([](auto& O) { O.BubbleCount = 37; O.DollarCount = 0; })},
        {"counts held to 0..100", {{orBubbleCount, 250}, {orDollarCount, -5}},
         Desktop, With([](auto& O) { O.BubbleCount = 100; O.DollarCount = 0; })},
        {"extreme counts held to 0..100", {{orBubbleCount, INT_MIN}, {orDollarCount, 1000000}},
         Desktop, With([](auto& O) { O.BubbleCount = 0; O.DollarCount = 100; })},
        {"any non-zero sound is on", {{orSound, 7}}, Desktop, D},
        {"sound off", {{orSound, 0}}, Desktop, With([](auto& O) { O.SoundEnabled = false; })},
        {"-3 is Auto with theme 2", {{orTheme, -3}}, Desktop, With([](auto& O) { O.ThemeAuto = true; O.ThemeIndex = 2; })},
        {"-1 is Auto with theme 0", {{orTheme, -1}}, Desktop, With([](auto& O) { O.ThemeAuto = true; })},
        {"fixed theme 1", {{orTheme, 1}}, Desktop, With([](auto& O) { O.ThemeIndex = 1; })},
        {"theme 3 is theme 0", {{orTheme, 3}}, Desktop, D},
        {"theme -4 is theme 0, not Auto", {{orTheme, -4}}, Desktop, D},
        {"a mode the display offers", {{orColorDepth, 16}, {orWidth, 1024}, {orHeight, 768}},
         Desktop, With([](auto& O) { O.FullScreenMode = {16, 1024, 768}; })},
        {"a depth the display lacks becomes the desktop's", {{orColorDepth, 24}, {orWidth, 640}, {orHeight, 480}},
         Desktop, With([](auto& O) { O.FullScreenMode = {32, 640, 480}; })},
        {"a size the display lacks becomes the desktop's", {{orColorDepth, 16}, {orWidth, 1600}, {orHeight, 1200}},
         Desktop, With([](auto& O) { O.FullScreenMode = {16, 1280, 1024}; })},
        {"a width alone that makes no mode", {{orWidth, 1024}},
         Desktop, With([](auto& O) { O.FullScreenMode = {32, 1280, 1024}; })},
        {"Desktop Only ignores the stored mode", {{orDesktopOnly, 1}, {orColorDepth, 16}, {orWidth, 640}, {orHeight, 480}},
         Desktop, With([](auto& O) { O.DesktopOnly = true; O.FullScreenMode = Desktop; })},
        {"a 24-bit desktop keeps its depth and size", {},
         {24, 1280, 1024}, With([](auto& O) { O.FullScreenMode = {24, 1280, 1024}; })},
        {"a desktop of 1024 x 600 is not capped", {},
         {32, 1024, 600}, With([](auto& O) { O.FullScreenMode = {32, 1024, 600}; })},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        TOptionsFixture F;
        F.Store.CreateKey(hkCurrentUser, KeyPath);
        for (const auto& [Role, Value] : C.Values)
            F.Store32(Role, Value);
        const TSaverOptions O = F.Load(C.Desk);
        for (const TOptionRow& Row : OptionRows())
            EXPECT_EQ(Row.Get(O), Row.Get(C.Expected)) << Row.Name();
        EXPECT_EQ(O.ThemeAuto, C.Expected.ThemeAuto);
        EXPECT_EQ(O.ThemeIndex, C.Expected.ThemeIndex);
    }
}

TEST(OptionsLoad, MissingKeyGivesTheDefaultsAndIsNotCreated)
{
    TOptionsFixture F;
    const TSaverOptions O = F.Load();
    TSaverOptions D;
    SetDefaultOptions(D, Desktop);
    for (const TOptionRow& Row : OptionRows())
        EXPECT_EQ(Row.Get(O), Row.Get(D)) << Row.Name();
    EXPECT_EQ(O.FullScreenMode, (TOptionsMode{32, 800, 600}));
    ASSERT_EQ(F.Store.Opens.size(), 1u);
    EXPECT_EQ(F.Store.Opens[0].Access, kaRead);
    EXPECT_FALSE(F.Store.KeyExists(hkCurrentUser, KeyPath));
}

TEST(OptionsLoad, ReadsReadOnlyUnderTheCurrentUserInItsOrder)
{
    TOptionsFixture F;
    F.Key.SetUseLocalMachine(true);
    F.Store.CreateKey(hkCurrentUser, KeyPath);
    F.Load();
    ASSERT_EQ(F.Store.Opens.size(), 1u);
    EXPECT_EQ(F.Store.Opens[0].Root, hkCurrentUser);
    EXPECT_EQ(F.Store.Opens[0].Path, KeyPath);
    EXPECT_EQ(F.Store.Opens[0].Access, kaRead);
    EXPECT_TRUE(F.Key.ReadOnlyRegistry()) << "stays read-only after loading";
    EXPECT_FALSE(F.Key.UseLocalMachine());
    EXPECT_EQ(NamesOf(F.Store.Reads), "Bubbles,Dollars,Sound,Theme,DesktopOnly,ColorDepth,ScreenWidth,ScreenHeight");

    F.Store.Reads.clear();
    F.Store32(orDesktopOnly, 1);
    F.Load();
    EXPECT_EQ(NamesOf(F.Store.Reads), "Bubbles,Dollars,Sound,Theme,DesktopOnly") << "no mode value with Desktop Only";
}

TEST(OptionsLoad, AValueOfTheWrongTypeOrSizeRaisesTheDataTypeError)
{
    struct TCase {
        const char* Name;
        TFakeRegistry::TValue Value;
    };
    const TCase Cases[] = {
        {"text", TFakeRegistry::String("2")},
        {"three bytes", {rtInteger, {1, 0, 0}}},
        {"five bytes", {rtInteger, {1, 0, 0, 0, 0}}},
        {"no bytes", {rtInteger, {}}},
        {"binary of four bytes", {rtBinary, {1, 0, 0, 0}}},
        {"64-bit integer", {rtInteger64, {1, 0, 0, 0, 0, 0, 0, 0}}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        TOptionsFixture F;
        F.Store.Set(hkCurrentUser, KeyPath, "theme", C.Value);   // names ignore case
        EXPECT_EQ(ErrorOf([&] { F.Load(); }), "Invalid data type for 'Theme'");
    }
}

TEST(OptionsLoad, SkippingUnreadableValuesTheyCountAsAbsentAndAreNamedOnce)
{
    TOptionsFixture F;
    F.Key.SetSkipUnreadable(true);
    F.Store.CreateKey(hkCurrentUser, KeyPath);
    F.Store.Set(hkCurrentUser, KeyPath, "Dollars", TFakeRegistry::String("20"));
    F.Store.Set(hkCurrentUser, KeyPath, "ScreenWidth", {rtBinary, {0, 4, 0, 0}});
    F.Store32(orBubbleCount, 30);
    F.Store32(orColorDepth, 16);
    F.Store32(orHeight, 768);
    const TSaverOptions O = F.Load();
    EXPECT_EQ(O.DollarCount, 60) << "the default";
    EXPECT_EQ(O.BubbleCount, 30) << "the readable values still count";
    // No width: 16 bits at the default width and the stored height makes no
    // mode, so the size is the desktop's.
    EXPECT_EQ(O.FullScreenMode, (TOptionsMode{16, 1280, 1024}));
    EXPECT_EQ(F.Key.TakeSkippedValues(), (std::vector<std::string>{"Dollars", "ScreenWidth"}));
    EXPECT_TRUE(F.Key.TakeSkippedValues().empty()) << "each is told once";

    // Saving overwrites them with numbers, which the next load reads.
    SaveSaverOptions(O, F.Key);
    F.Key.CloseRegistry();
    EXPECT_EQ(F.Stored(orDollarCount), 60);
    EXPECT_EQ(F.Store.Find(hkCurrentUser, KeyPath, "Dollars")->Type, uint32_t(rtInteger));
    EXPECT_EQ(F.Stored(orWidth), 1280);
    F.Load();
    EXPECT_TRUE(F.Key.TakeSkippedValues().empty());
}

TEST(OptionsProgram, SkippingUnreadableValuesAPathOrRunAsExeOfTheWrongTypeIsAbsent)
{
    TOptionsFixture F;
    F.Key.SetSkipUnreadable(true);
    F.Store.Set(hkCurrentUser, KeyPath, "Path", TFakeRegistry::Integer(5));
    F.Store.Set(hkCurrentUser, KeyPath, "RunAsProgram", TFakeRegistry::String("1"));
    TSaverOptions O;
    EXPECT_EQ(ReadProgramOptions(O, F.Key, "C:\\Saver\\", "a.scr", tsSaver), tsNone);
    EXPECT_EQ(O.ProgramPath, "C:\\Saver\\");
    EXPECT_FALSE(O.RunAsEXE);
    EXPECT_EQ(F.Key.TakeSkippedValues(), (std::vector<std::string>{"Path", "RunAsProgram"}));
}

TEST(OptionsTable, CountsAndModesAsTheSaverUsesThem)
{
    const struct {
        int32_t Stored, Used;
    } Counts[] = {{-5, 0}, {0, 0}, {55, 55}, {100, 100}, {101, 100}, {1000000, 100}, {INT_MIN, 0}, {INT_MAX, 100}};
    for (const auto& C : Counts)
        EXPECT_EQ(UsableCount(C.Stored), C.Used) << C.Stored;

    const struct {
        TOptionsMode Asked, Used;
    } Checked[] = {
        {{32, 800, 600}, {32, 800, 600}},
        {{24, 800, 600}, {32, 800, 600}},      // no 24 bits: the desktop's depth
        {{16, 1024, 768}, {16, 1024, 768}},
        {{16, 1600, 1200}, {16, 1280, 1024}},
    };
    for (const auto& C : Checked) {
        TOptionsMode M = C.Asked;
        CheckFullScreenMode(M, Desktop, Modes);
        EXPECT_EQ(M, C.Used) << C.Asked.ColorDepth << " " << C.Asked.Width << "x" << C.Asked.Height;
    }
}

// ----------------------------------------------------------------- save

TEST(OptionsSave, RoundTripOverEveryRow)
{
    // A desktop that is its own default mode, so Desktop Only changes no
    // other row; a display offering each single-row change of the mode.
    const TOptionsMode Desk{32, 800, 600};
    const std::vector<TOptionsMode> Offered{{32, 800, 600}, {16, 800, 600}, {32, 1024, 600}, {32, 800, 768}};
    const std::map<TOptionRole, int32_t> Other{
        {orBubbleCount, 37}, {orDollarCount, 5}, {orTheme, -2}, {orColorDepth, 16}, {orWidth, 1024},
        {orHeight, 768}, {orSound, 0}, {orDesktopOnly, 1}, {orRunAsProgram, 1},
    };
    ASSERT_EQ(Other.size(), OptionRows().size());
    TSaverOptions Defaults;
    SetDefaultOptions(Defaults, Desk);
    for (const TOptionRow& Changed : OptionRows()) {
        SCOPED_TRACE(Changed.Name());
        TSaverOptions O = Defaults;
        Changed.Set(O, Other.at(Changed.Role));
        ASSERT_NE(Changed.Get(O), Changed.Get(Defaults));

        TOptionsFixture F;
        SaveSaverOptions(O, F.Key);
        F.Key.CloseRegistry();
        for (const TOptionRow& Row : OptionRows())
            EXPECT_EQ(F.Stored(Row.Role), Row.Get(O)) << Row.Name();

        TSaverOptions Back = Defaults;
        LoadSaverOptions(Back, F.Key, Desk, Offered);
        F.Key.CloseRegistry();
        ReadProgramOptions(Back, F.Key, "C:\\Saver\\", "Glimmora3D.scr", tsSaver);
        for (const TOptionRow& Row : OptionRows())
            EXPECT_EQ(Row.Get(Back), Row.Get(O)) << Row.Name();
    }
}

TEST(OptionsSave, WritesEveryValueInOrderToAKeyCreatedForWriting)
{
    TOptionsFixture F;
    TSaverOptions O;
    SetDefaultOptions(O, Desktop);
    O.DesktopOnly = true;
    O.ThemeAuto = true;
    O.ThemeIndex = 1;
    F.Load();                     // leaves the key read-only
    F.Store.Opens.clear();
    SaveSaverOptions(O, F.Key);
    ASSERT_EQ(F.Store.Opens.size(), 1u);
    EXPECT_EQ(F.Store.Opens[0].Root, hkCurrentUser);
    EXPECT_EQ(F.Store.Opens[0].Access, kaReadWrite);
    EXPECT_FALSE(F.Key.ReadOnlyRegistry());
    EXPECT_EQ(NamesOf(F.Store.Writes),
              "Bubbles,Dollars,Theme,ColorDepth,ScreenWidth,ScreenHeight,Sound,DesktopOnly,RunAsProgram");
    EXPECT_EQ(F.Stored(orTheme), -2);
    EXPECT_EQ(F.Stored(orWidth), 800) << "the mode is written with Desktop Only too";
    EXPECT_EQ(F.Store.Find(hkCurrentUser, KeyPath, ProgramPathValueName), nullptr);
}

TEST(OptionsSave, AFailedWriteRaisesTheSetDataError)
{
    for (const bool RefuseOpen : {false, true}) {
        SCOPED_TRACE(RefuseOpen ? "key cannot be opened" : "write refused");
        TOptionsFixture F;
        F.Store.RefuseOpen = RefuseOpen;
        F.Store.RefuseWrites = !RefuseOpen;
        TSaverOptions O;
        EXPECT_EQ(ErrorOf([&] { SaveSaverOptions(O, F.Key); }), "Failed to set data for 'Bubbles'");
    }
}

TEST(OptionsSave, AutoThemeWritesOnlyTheThemeAsItsComplement)
{
    struct TCase {
        bool Auto;
        int32_t Index;
        std::optional<int32_t> Stored;
    };
    const TCase Cases[] = {{true, 0, -1}, {true, 1, -2}, {true, 2, -3}, {false, 1, std::nullopt}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(std::to_string(C.Auto) + " " + std::to_string(C.Index));
        TOptionsFixture F;
        F.Load();
        F.Store.Opens.clear();
        TSaverOptions O;
        O.ThemeAuto = C.Auto;
        O.ThemeIndex = C.Index;
        SaveAutoTheme(O, F.Key);
        EXPECT_EQ(F.Stored(orTheme), C.Stored);
        EXPECT_EQ(F.Store.Writes.size(), C.Stored ? 1u : 0u);
        EXPECT_EQ(F.Store.Opens.size(), C.Stored ? 1u : 0u);
        if (C.Stored) {
            EXPECT_EQ(F.Store.Opens[0].Access, kaReadWrite);
        }
    }
}

TEST(OptionsSave, ThreeAutoRunsStepTheStoredTheme)
{
    TOptionsFixture F;
    F.Store32(orTheme, -3);
    std::vector<int32_t> Stored;
    for (int Run = 0; Run < 3; ++Run) {
        TSaverOptions O = F.Load();
        ASSERT_TRUE(O.ThemeAuto);
        O.ThemeIndex = (O.ThemeIndex + 1) % 3;   // the scene's rotation at the start of a run
        SaveAutoTheme(O, F.Key);
        F.Key.CloseRegistry();
        Stored.push_back(*F.Stored(orTheme));
    }
    EXPECT_EQ(Stored, (std::vector<int32_t>{-1, -2, -3}));
}

// ------------------------------------------------- path and run as program

TEST(OptionsProgram, PathAndRunAsExeDecideTheTwinStart)
{
    struct TCase {
        const char* Name;
        std::optional<std::string> Path;
        std::optional<int32_t> RunAs;
        const char* ExeName;
        TTwinStart ModeSwitch;
        std::string ProgramPath;
        bool RunAsEXE;
        TTwinStart Start;
    };
    const TCase Cases[] = {
        {"nothing stored", {}, {}, "Glimmora3D.scr", tsSaver, "C:\\Saver\\", false, tsNone},
        {"saver run hands over /s", "D:\\Twin\\", 1, "Glimmora3D.scr", tsSaver, "D:\\Twin\\", true, tsSaver},
        {"settings run hands over /c", {}, 1, "GLIMMO~1.SCR", tsConfig, "C:\\Saver\\", true, tsConfig},
        {"other modes stay", {}, 1, "Glimmora3D.scr", tsNone, "C:\\Saver\\", true, tsNone},
        {"the .exe twin stays", {}, 1, "Glimmora3D.exe", tsSaver, "C:\\Saver\\", true, tsNone},
        {"only the last extension counts", {}, 1, "Glimmora3D.scr.exe", tsSaver, "C:\\Saver\\", true, tsNone},
        {"no extension", {}, 1, "Glimmora3D", tsSaver, "C:\\Saver\\", true, tsNone},
        {"run as program off", {}, 0, "Glimmora3D.scr", tsSaver, "C:\\Saver\\", false, tsNone},
        {"any non-zero is on", {}, -7, "x.Scr", tsConfig, "C:\\Saver\\", true, tsConfig},
        {"path gets its backslash", "D:\\Program Files\\Glimmora", {}, "a.scr", tsSaver, "D:\\Program Files\\Glimmora\\", false, tsNone},
        {"an empty path is the program's folder", "", {}, "a.scr", tsSaver, "C:\\Saver\\", false, tsNone},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        TOptionsFixture F;
        if (C.Path)
            F.Store.Set(hkCurrentUser, KeyPath, "Path", TFakeRegistry::String(*C.Path, rtExpandString));
        if (C.RunAs)
            F.Store32(orRunAsProgram, *C.RunAs);
        TSaverOptions O;
        O.RunAsEXE = !C.RunAsEXE;
        EXPECT_EQ(ReadProgramOptions(O, F.Key, "C:\\Saver\\", C.ExeName, C.ModeSwitch), C.Start);
        EXPECT_EQ(O.ProgramPath, C.ProgramPath);
        EXPECT_EQ(O.RunAsEXE, C.RunAsEXE);
    }
    EXPECT_EQ(TwinSwitch(tsSaver), " /s");
    EXPECT_EQ(TwinSwitch(tsConfig), " /c");
    EXPECT_EQ(TwinSwitch(tsNone), "");
}

TEST(OptionsProgram, OpensTheKeyForWritingAndCreatesIt)
{
    TOptionsFixture F;
    TSaverOptions O;
    ReadProgramOptions(O, F.Key, "C:\\Saver\\", "Glimmora3D.scr", tsSaver);
    ASSERT_EQ(F.Store.Opens.size(), 1u);
    EXPECT_EQ(F.Store.Opens[0].Access, kaReadWrite);
    EXPECT_TRUE(F.Store.KeyExists(hkCurrentUser, KeyPath));
    EXPECT_TRUE(F.Key.RegistryCached()) << "closed by the application's next idle turn, not here";
}

TEST(OptionsProgram, APathThatIsNotTextRaisesTheDataTypeError)
{
    TOptionsFixture F;
    F.Store.Set(hkCurrentUser, KeyPath, "Path", TFakeRegistry::Integer(5));
    TSaverOptions O;
    EXPECT_EQ(ErrorOf([&] { ReadProgramOptions(O, F.Key, "C:\\", "a.scr", tsSaver); }), "Invalid data type for 'Path'");
}

// --------------------------------------------------------- the options key

TEST(OptionsKey, PathFromCompanyAndTitle)
{
    TOptionsKey Key;
    Key.SetTitle("Glimmora 3D");
    EXPECT_EQ(Key.KeyPath(), "Software\\Glimmora 3D");
    Key.SetCompany("Tarnwick Software");
    EXPECT_EQ(Key.KeyPath(), "Software\\Tarnwick Software\\Glimmora 3D");
}

TEST(OptionsKey, RootAndAccessFollowTheFlags)
{
    struct TCase {
        bool ReadOnly, LocalMachine;
        TRegistryRoot Root;
        TRegistryAccess Access;
    };
    const TCase Cases[] = {
        {false, false, hkCurrentUser, kaReadWrite},
        {true, false, hkCurrentUser, kaRead},
        {false, true, hkLocalMachine, kaReadWrite},
        {true, true, hkLocalMachine, kaRead},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(std::to_string(C.ReadOnly) + std::to_string(C.LocalMachine));
        TOptionsFixture F;
        F.Store.CreateKey(C.Root, KeyPath);
        F.Key.SetReadOnlyRegistry(C.ReadOnly);
        F.Key.SetUseLocalMachine(C.LocalMachine);
        F.Key.ValueExists("x");
        ASSERT_EQ(F.Store.Opens.size(), 1u);
        EXPECT_EQ(F.Store.Opens[0].Root, C.Root);
        EXPECT_EQ(F.Store.Opens[0].Access, C.Access);
        EXPECT_EQ(F.Store.Opens[0].Path, KeyPath);
    }
}

TEST(OptionsKey, OpensOnFirstUseAndStaysOpenUntilClosed)
{
    TOptionsFixture F;
    EXPECT_FALSE(F.Key.RegistryCached());
    EXPECT_EQ(F.Store.Opens.size(), 0u) << "nothing is opened before the first use";
    F.Key.WriteInteger("a", 1);
    F.Key.ReadInteger("a");
    F.Key.ValueExists("a");
    EXPECT_EQ(F.Store.Opens.size(), 1u);
    EXPECT_EQ(F.Store.OpenKeys, 1);
    F.Key.CloseRegistry();
    EXPECT_EQ(F.Store.OpenKeys, 0);
    EXPECT_EQ(F.Key.ReadInteger("a"), 1);
    EXPECT_EQ(F.Store.Opens.size(), 2u);
}

TEST(OptionsKey, SettingAFlagToAnotherValueClosesTheKey)
{
    struct TCase {
        const char* Name;
        void (*Change)(TOptionsKey&);
        bool Closes;
    };
    const TCase Cases[] = {
        {"read-only on", [](TOptionsKey& K) { K.SetReadOnlyRegistry(true); }, true},
        {"read-only off again", [](TOptionsKey& K) { K.SetReadOnlyRegistry(false); }, false},
        {"local machine on", [](TOptionsKey& K) { K.SetUseLocalMachine(true); }, true},
        {"local machine off again", [](TOptionsKey& K) { K.SetUseLocalMachine(false); }, false},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        TOptionsFixture F;
        F.Key.Registry();
        ASSERT_EQ(F.Store.OpenKeys, 1);
        C.Change(F.Key);
        EXPECT_EQ(F.Store.OpenKeys, C.Closes ? 0 : 1);
        EXPECT_EQ(F.Key.RegistryCached(), !C.Closes);
    }
}

TEST(OptionsKey, AKeyThatCannotBeOpenedReadsAsEmptyAndIsTriedOncePerOpening)
{
    for (const bool HasOpener : {true, false}) {
        SCOPED_TRACE(HasOpener ? "refused" : "no opener");
        TFakeRegistry Store;
        Store.RefuseOpen = true;
        TOptionsKey Key(HasOpener ? Store.Opener() : TRegistryOpener{});
        EXPECT_FALSE(Key.ValueExists("Path"));
        EXPECT_EQ(Key.ReadInteger("Bubbles"), std::nullopt);
        EXPECT_EQ(Key.ReadString("Path"), std::nullopt);
        EXPECT_EQ(ErrorOf([&] { Key.WriteInteger("Bubbles", 1); }), "Failed to set data for 'Bubbles'");
        EXPECT_EQ(Store.Opens.size(), HasOpener ? 1u : 0u);
        Key.CloseRegistry();
        Key.ValueExists("Path");
        EXPECT_EQ(Store.Opens.size(), HasOpener ? 2u : 0u);
    }
}

TEST(OptionsKey, ReadOnlyNeverCreatesOrWrites)
{
    TOptionsFixture F;
    F.Key.SetReadOnlyRegistry(true);
    EXPECT_EQ(ErrorOf([&] { F.Key.WriteInteger("a", 1); }), "Failed to set data for 'a'");
    EXPECT_FALSE(F.Store.KeyExists(hkCurrentUser, KeyPath));
    F.Store.CreateKey(hkCurrentUser, KeyPath);
    F.Key.CloseRegistry();
    EXPECT_EQ(ErrorOf([&] { F.Key.WriteInteger("a", 1); }), "Failed to set data for 'a'");
    EXPECT_TRUE(F.Store.Writes.empty());
}

TEST(OptionsKey, DestroyingTheKeyClosesIt)
{
    TFakeRegistry Store;
    {
        TOptionsKey Key(Store.Opener());
        Key.Registry();
        EXPECT_EQ(Store.OpenKeys, 1);
    }
    EXPECT_EQ(Store.OpenKeys, 0);
}

// ------------------------------------------------- raw registry value data

TEST(OptionsRegistryData, IntegersAreFourByteDwordsOnly)
{
    struct TCase {
        uint32_t Type;
        std::vector<uint8_t> Data;
        TRegistryValueState State;
        int32_t Value;
    };
    const TCase Cases[] = {
        {rtInteger, {0x2A, 0, 0, 0}, rvPresent, 42},
        {rtInteger, {0xFD, 0xFF, 0xFF, 0xFF}, rvPresent, -3},
        {rtInteger, {0, 0, 0, 0x80}, rvPresent, INT_MIN},
        {rtInteger, {1, 2, 3}, rvUnreadable, 0},
        {rtInteger, {1, 2, 3, 4, 5}, rvUnreadable, 0},
        {rtInteger, {}, rvUnreadable, 0},
        {rtBinary, {1, 0, 0, 0}, rvUnreadable, 0},
        {rtString, {'1', 0, 0, 0}, rvUnreadable, 0},
        {5, {0, 0, 0, 1}, rvUnreadable, 0},   // REG_DWORD_BIG_ENDIAN
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(testing::PrintToString(C.Data));
        const auto R = RegistryIntegerOf(C.Type, C.Data);
        EXPECT_EQ(R.State, C.State);
        EXPECT_EQ(R.Value, C.Value);
    }
}

TEST(OptionsRegistryData, StringsAreUtf16TextUpToTheFirstNul)
{
    struct TCase {
        const char* Name;
        uint32_t Type;
        std::vector<uint8_t> Data;
        TRegistryValueState State;
        std::string Text;
    };
    const TCase Cases[] = {
        {"terminated", rtString, {'C', 0, ':', 0, '\\', 0, 0, 0}, rvPresent, "C:\\"},
        {"not terminated", rtString, {'a', 0, 'b', 0}, rvPresent, "ab"},
        {"odd last byte dropped", rtString, {'a', 0, 'b'}, rvPresent, "a"},
        {"cut at an inner NUL", rtExpandString, {'a', 0, 0, 0, 'b', 0}, rvPresent, "a"},
        {"empty", rtString, {}, rvPresent, ""},
        {"non-ASCII", rtString, {0xE9, 0, 0xAC, 0x20}, rvPresent, "\xC3\xA9\xE2\x82\xAC"},
        {"surrogate pair", rtString, {0x3D, 0xD8, 0x00, 0xDE}, rvPresent, "\xF0\x9F\x98\x80"},
        {"lone surrogate", rtString, {0x3D, 0xD8, 'a', 0}, rvPresent, "\xEF\xBF\xBD" "a"},
        {"integer", rtInteger, {1, 0, 0, 0}, rvUnreadable, ""},
        {"multi-string", rtMultiString, {'a', 0, 0, 0, 0, 0}, rvUnreadable, ""},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        const auto R = RegistryStringOf(C.Type, C.Data);
        EXPECT_EQ(R.State, C.State);
        EXPECT_EQ(R.Value, C.Text);
    }
}

