// The Linux program's command line: what to run and the scene's options.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/options/CommandLineOptions.h"

enum TLinuxRunKind {
    lkHelp,
    lkVersion,
    lkSnapshot,
    lkBench,
    lkScreen,   // no --snapshot or --bench: a window, the display, or a foreign window
};

// --theme: a theme index, or automatic.
struct TThemeChoice {
    bool Auto = false;   // "auto": the next theme at every run
    int Index = 0;       // 0..2 when not Auto
};

// A run as the command line asks for it. The fields of flags with a
// default in the options table start from it; a flag that overrides a
// saver option is held only when given, so the options file decides
// otherwise.
struct TLinuxRunOptions {
    TLinuxRunKind Kind = lkHelp;
    std::string OutputFile;          // --snapshot FILE.png
    int Width = 0, Height = 0;       // --size WxH
    double SceneTime = 0;            // --time SECONDS advanced before the shot
    std::optional<uint32_t> Seed;    // --seed N (otherwise from the clock)
    std::string TuningFile;          // --ini FILE (otherwise next to the program)
    int Frames = 0;                  // --frames N for --bench

    // Flags that override the options file for one run on a screen.
    std::optional<TThemeChoice> Theme;   // --theme N|auto
    std::optional<int> DollarCount;      // --dollars N
    std::optional<int> BubbleCount;      // --bubbles N
    std::optional<bool> Sound;           // --sound / --no-sound

    // Runs on a screen.
    bool FullScreen = false;         // --fullscreen
    int ModeWidth = 0, ModeHeight = 0, ModeBitsPerPixel = 0;   // --mode WxHxBPP
    bool Root = false;               // --root: draw on the root window
    std::optional<uint64_t> WindowId;   // --window-id ID (decimal or 0x hexadecimal)
    bool ShowFps = false;            // --fps
    int64_t DelayMicroseconds = 0;   // --delay MICROSECONDS after every frame
    std::optional<int> MaxFps;       // --max-fps N (0: unpaced)

    // A run without the options file (--snapshot, --bench): the flags
    // given, else the saver options' defaults.
    int ThemeIndexOrDefault() const;
    int DollarCountOrDefault() const;
    int BubbleCountOrDefault() const;
};

// Throws EGlimmoraError with a message naming the bad argument.
TLinuxRunOptions ParseLinuxCommandLine(const std::vector<std::string>& Args);

// --help: the ways to run, then every row of the options table by section.
std::string LinuxUsageText();
