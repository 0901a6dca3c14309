// The saver's options: defaults, the registry values they are kept in, and
// how they are loaded, checked against the display and saved. Every value
// is one row of one table (role, value name, member, default); the
// defaults, the load and the save walk that table.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "app/options/OptionsKey.h"

// A display mode as the options see it: the full-screen mode, the
// desktop's mode and each enumerated mode of the display.
struct TOptionsMode {
    int32_t ColorDepth = 16;
    int32_t Width = 640;
    int32_t Height = 480;
    bool operator==(const TOptionsMode&) const = default;
};

// The counts a saver starts with; the options table's defaults.
inline constexpr int32_t DefaultBubbleCount = 100;
inline constexpr int32_t DefaultDollarCount = 60;

struct TSaverOptions {
    int32_t BubbleCount = DefaultBubbleCount;
    int32_t DollarCount = DefaultDollarCount;
    bool ThemeAuto = false;
    int32_t ThemeIndex = 0;      // 0 Immersion, 1 Fountain, 2 Fishes
    bool SoundEnabled = true;
    bool DesktopOnly = false;
    TOptionsMode FullScreenMode; // the display control's FullScreenMode
    bool RunAsEXE = false;
    std::string ProgramPath;     // the .exe twin's folder, with a trailing backslash
};

enum TOptionRole {
    orBubbleCount,
    orDollarCount,
    orTheme,
    orColorDepth,
    orWidth,
    orHeight,
    orSound,
    orDesktopOnly,
    orRunAsProgram,
};

enum TOptionDefault {
    odValue,           // DefaultValue
    odDesktopDepth,    // the desktop's colour depth
    odDesktopWidth,    // the desktop's width, 800 when the desktop exceeds 800 x 600
    odDesktopHeight,   // the desktop's height, 600 when the desktop exceeds 800 x 600
    odKept,            // not reset by SetDefaultOptions; DefaultValue when absent
};

// One registry value: a 32-bit integer under the options key.
struct TOptionRow {
    TOptionRole Role;
    std::string_view ScrambledName;   // every byte inverted; see Name()
    int32_t (*Get)(const TSaverOptions&);
    void (*Set)(TSaverOptions&, int32_t);
    TOptionDefault Default;
    int32_t DefaultValue;
    std::string Name() const;
};

// Every row, in the order the values are saved.
std::span<const TOptionRow> OptionRows();
const TOptionRow& OptionRow(TOptionRole Role);

// The string value that holds ProgramPath; read, never written.
inline constexpr const char* ProgramPathValueName = "Path";

// The stored theme: Index, or -1 - Index when automatic.
int32_t EncodeTheme(bool Auto, int32_t Index);
// -3..-1 automatic with index 2..0, 0..2 fixed; anything else theme 0 fixed.
void DecodeTheme(int32_t Stored, bool& Auto, int32_t& Index);

// The desktop's mode with width and height cut to 800 x 600 when it is
// both wider than 800 and higher than 600.
TOptionsMode DefaultFullScreenMode(const TOptionsMode& Desktop);

// The largest bubble or dollar count: the end of the dialog's track bars.
inline constexpr int32_t MaxOptionCount = 100;
// A count held to 0..MaxOptionCount: what the saver draws and the dialog
// shows, whatever was stored.
int32_t UsableCount(int32_t Count);

// A full-screen mode the display can show: a colour depth it lacks becomes
// the desktop's depth, a size it lacks at that depth the desktop's size.
void CheckFullScreenMode(TOptionsMode& Mode, const TOptionsMode& Desktop, std::span<const TOptionsMode> Modes);

// Every option except RunAsEXE and ProgramPath to its default.
void SetDefaultOptions(TSaverOptions& Options, const TOptionsMode& Desktop);

// Reads the options from the key opened read-only under the current user
// (a missing key or value leaves the option as it is): bubble count,
// dollar count (each held to 0..MaxOptionCount), sound, theme, desktop
// only; then the desktop's mode when Desktop Only, else colour depth,
// width and height checked against the display's Modes
// (CheckFullScreenMode). The caller closes the key after.
void LoadSaverOptions(TSaverOptions& Options, TOptionsKey& Key, const TOptionsMode& Desktop,
                      std::span<const TOptionsMode> Modes);

// Writes every value of the table, in table order, to the key opened for
// writing under the current user (created when missing). ProgramPath is
// not written. The caller closes the key after.
void SaveSaverOptions(const TSaverOptions& Options, TOptionsKey& Key);

// With ThemeAuto: writes the theme value alone, as -1 - ThemeIndex.
void SaveAutoTheme(const TSaverOptions& Options, TOptionsKey& Key);

// What a run that reads RunAsEXE hands over to the program's .exe twin.
enum TTwinStart {
    tsNone,     // run here
    tsSaver,    // start the twin with " /s" and wait for it
    tsConfig,   // start the twin with " /c" and wait for it
};
// " /s", " /c", or "" for tsNone.
std::string_view TwinSwitch(TTwinStart Start);

// At form creation (not in the preview): ProgramPath from the value "Path"
// (ApplicationDir when it is absent or empty; a trailing backslash is
// added), RunAsEXE from its value (false when absent). The key is used
// with the flags in force (normally read and write under the current
// user). Returns ModeSwitch (tsSaver for the saver run, tsConfig for the
// settings run) when RunAsEXE is set and ExeName's extension is ".SCR"
// (any case), else tsNone.
TTwinStart ReadProgramOptions(TSaverOptions& Options, TOptionsKey& Key, const std::string& ApplicationDir,
                              const std::string& ExeName, TTwinStart ModeSwitch);
