#include "app/options/Options.h"

#include <algorithm>
#include <array>
#include <initializer_list>

#include "scene/Scramble.h"

namespace {

// Value names, kept scrambled in the program image.
constexpr TScrambled NameBubbles{"Bubbles"};
constexpr TScrambled NameDollars{"Dollars"};
constexpr TScrambled NameTheme{"Theme"};
constexpr TScrambled NameColorDepth{"ColorDepth"};
constexpr TScrambled NameWidth{"ScreenWidth"};
constexpr TScrambled NameHeight{"ScreenHeight"};
constexpr TScrambled NameSound{"Sound"};
constexpr TScrambled NameDesktopOnly{"DesktopOnly"};
constexpr TScrambled NameRunAsProgram{"RunAsProgram"};

const std::array<TOptionRow, 9>& Rows()
{
    using O = TSaverOptions;
    static const std::array<TOptionRow, 9> Table{{
        {orBubbleCount, NameBubbles.Scrambled(),
         [](const O& S) { return S.BubbleCount; }, [](O& S, int32_t V) { S.BubbleCount = V; }, odValue, DefaultBubbleCount},
        {orDollarCount, NameDollars.Scrambled(),
         [](const O& S) { return S.DollarCount; }, [](O& S, int32_t V) { S.DollarCount = V; }, odValue, DefaultDollarCount},
        {orTheme, NameTheme.Scrambled(),
         [](const O& S) { return EncodeTheme(S.ThemeAuto, S.ThemeIndex); },
         [](O& S, int32_t V) { DecodeTheme(V, S.ThemeAuto, S.ThemeIndex); }, odValue, 0},
        {orColorDepth, NameColorDepth.Scrambled(),
         [](const O& S) { return S.FullScreenMode.ColorDepth; },
         [](O& S, int32_t V) { S.FullScreenMode.ColorDepth = V; }, odDesktopDepth, 0},
        {orWidth, NameWidth.Scrambled(),
         [](const O& S) { return S.FullScreenMode.Width; },
         [](O& S, int32_t V) { S.FullScreenMode.Width = V; }, odDesktopWidth, 0},
        {orHeight, NameHeight.Scrambled(),
         [](const O& S) { return S.FullScreenMode.Height; },
         [](O& S, int32_t V) { S.FullScreenMode.Height = V; }, odDesktopHeight, 0},
        {orSound, NameSound.Scrambled(),
         [](const O& S) { return int32_t(S.SoundEnabled); }, [](O& S, int32_t V) { S.SoundEnabled = V != 0; }, odValue, 1},
        {orDesktopOnly, NameDesktopOnly.Scrambled(),
         [](const O& S) { return int32_t(S.DesktopOnly); }, [](O& S, int32_t V) { S.DesktopOnly = V != 0; }, odValue, 0},
        {orRunAsProgram, NameRunAsProgram.Scrambled(),
         [](const O& S) { return int32_t(S.RunAsEXE); }, [](O& S, int32_t V) { S.RunAsEXE = V != 0; }, odKept, 0},
    }};
    return Table;
}

// Reads the rows of the given roles, in that order; an absent value leaves
// its option alone.
void ReadRows(TSaverOptions& Options, TOptionsKey& Key, std::initializer_list<TOptionRole> Roles)
{
    for (const TOptionRole Role : Roles) {
        const TOptionRow& Row = OptionRow(Role);
        if (const auto Value = Key.ReadInteger(Row.Name()))
            Row.Set(Options, *Value);
    }
}

bool HasDepth(std::span<const TOptionsMode> Modes, int32_t Depth)
{
    return std::any_of(Modes.begin(), Modes.end(), [&](const TOptionsMode& M) { return M.ColorDepth == Depth; });
}

bool HasMode(std::span<const TOptionsMode> Modes, const TOptionsMode& Mode)
{
    return std::find(Modes.begin(), Modes.end(), Mode) != Modes.end();
}

bool IsScr(const std::string& ExeName)
{
    const auto Dot = ExeName.rfind('.');
    if (Dot == std::string::npos || ExeName.size() - Dot != 4)
        return false;
    std::string Ext = ExeName.substr(Dot);
    for (char& C : Ext)
        if (C >= 'a' && C <= 'z')
            C = static_cast<char>(C - 'a' + 'A');
    return Ext == ".SCR";
}

} // namespace

std::string TOptionRow::Name() const { return UnscrambleKey(ScrambledName); }

std::span<const TOptionRow> OptionRows() { return Rows(); }

const TOptionRow& OptionRow(TOptionRole Role)
{
    // The table is in role order.
    return Rows().at(static_cast<std::size_t>(Role));
}

int32_t EncodeTheme(bool Auto, int32_t Index)
{
    if (Index < 0 || Index > 2)
        Index = 0;
    return Auto ? -1 - Index : Index;
}

void DecodeTheme(int32_t Stored, bool& Auto, int32_t& Index)
{
    Auto = Stored >= -3 && Stored <= -1;
    if (Auto)
        Index = -1 - Stored;
    else
        Index = Stored >= 0 && Stored <= 2 ? Stored : 0;
}

TOptionsMode DefaultFullScreenMode(const TOptionsMode& Desktop)
{
    TOptionsMode Mode = Desktop;
    if (Desktop.Width > 800 && Desktop.Height > 600) {
        Mode.Width = 800;
        Mode.Height = 600;
    }
    return Mode;
}

int32_t UsableCount(int32_t Count) { return std::clamp<int32_t>(Count, 0, MaxOptionCount); }

void CheckFullScreenMode(TOptionsMode& Mode, const TOptionsMode& Desktop, std::span<const TOptionsMode> Modes)
{
    if (!HasDepth(Modes, Mode.ColorDepth))
        Mode.ColorDepth = Desktop.ColorDepth;
    if (!HasMode(Modes, Mode)) {
        Mode.Width = Desktop.Width;
        Mode.Height = Desktop.Height;
    }
}

void SetDefaultOptions(TSaverOptions& Options, const TOptionsMode& Desktop)
{
    const TOptionsMode Mode = DefaultFullScreenMode(Desktop);
    for (const TOptionRow& Row : Rows()) {
        switch (Row.Default) {
        case odValue: Row.Set(Options, Row.DefaultValue); break;
        case odDesktopDepth: Row.Set(Options, Mode.ColorDepth); break;
        case odDesktopWidth: Row.Set(Options, Mode.Width); break;
        case odDesktopHeight: Row.Set(Options, Mode.Height); break;
        case odKept: break;
        }
    }
}

void LoadSaverOptions(TSaverOptions& Options, TOptionsKey& Key, const TOptionsMode& Desktop,
                      std::span<const TOptionsMode> Modes)
{
    Key.SetUseLocalMachine(false);
    Key.SetReadOnlyRegistry(true);

    // Automatic only when the stored theme says so.
    Options.ThemeAuto = false;
    ReadRows(Options, Key, {orBubbleCount, orDollarCount, orSound, orTheme});
    Options.BubbleCount = UsableCount(Options.BubbleCount);
    Options.DollarCount = UsableCount(Options.DollarCount);
    ReadRows(Options, Key, {orDesktopOnly});
    if (Options.DesktopOnly) {
        Options.FullScreenMode = Desktop;
        return;
    }
    ReadRows(Options, Key, {orColorDepth, orWidth, orHeight});
    CheckFullScreenMode(Options.FullScreenMode, Desktop, Modes);
}

void SaveSaverOptions(const TSaverOptions& Options, TOptionsKey& Key)
{
    Key.SetUseLocalMachine(false);
    Key.SetReadOnlyRegistry(false);
    for (const TOptionRow& Row : Rows())
        Key.WriteInteger(Row.Name(), Row.Get(Options));
}

void SaveAutoTheme(const TSaverOptions& Options, TOptionsKey& Key)
{
    if (!Options.ThemeAuto)
        return;
    Key.SetUseLocalMachine(false);
    Key.SetReadOnlyRegistry(false);
    const TOptionRow& Row = OptionRow(orTheme);
    Key.WriteInteger(Row.Name(), Row.Get(Options));
}

std::string_view TwinSwitch(TTwinStart Start)
{
    switch (Start) {
    case tsSaver: return " /s";
    case tsConfig: return " /c";
    case tsNone: break;
    }
    return "";
}

TTwinStart ReadProgramOptions(TSaverOptions& Options, TOptionsKey& Key, const std::string& ApplicationDir,
                              const std::string& ExeName, TTwinStart ModeSwitch)
{
    std::string Path;
    if (Key.ValueExists(ProgramPathValueName))
        Path = Key.ReadString(ProgramPathValueName).value_or("");
    if (Path.empty())
        Path = ApplicationDir;
    else if (Path.back() != '\\' && Path.back() != '/')
        Path += '\\';
    Options.ProgramPath = Path;

    Key.SetUseLocalMachine(false);

    const TOptionRow& Row = OptionRow(orRunAsProgram);
    Row.Set(Options, Key.ReadInteger(Row.Name()).value_or(Row.DefaultValue));

    if (Options.RunAsEXE && IsScr(ExeName))
        return ModeSwitch;
    return tsNone;
}
