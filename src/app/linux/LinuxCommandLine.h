// The Linux program's command line: what to run and the scene's options.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum TLinuxRunKind {
    lkHelp,
    lkVersion,
    lkSnapshot,
    lkBench,
    lkScreen,   // no --snapshot or --bench: a window, the display, or a foreign window
};

struct TLinuxRunOptions {
    TLinuxRunKind Kind = lkHelp;
    std::string OutputFile;          // --snapshot FILE.png
    int Theme = 0;                   // --theme 0..2
    int Width = 800, Height = 600;   // --size WxH
    double SceneTime = 5.0;          // --time SECONDS advanced before the shot
    int DollarCount = 60;            // --dollars 0..100
    int BubbleCount = 100;           // --bubbles 0..100
    std::optional<uint32_t> Seed;    // --seed N (otherwise from the clock)
    std::string TuningFile;          // --ini FILE (otherwise next to the program)
    int Frames = 300;                // --frames N for --bench

    // Runs on a screen. Flags given here override the options file.
    bool ThemeGiven = false, DollarsGiven = false, BubblesGiven = false;
    bool ThemeAuto = false;          // --theme auto
    std::optional<bool> Sound;       // --sound / --no-sound
    bool FullScreen = false;         // --fullscreen
    int ModeWidth = 0, ModeHeight = 0, ModeBitsPerPixel = 0;   // --mode WxHxBPP
    bool Root = false;               // --root: draw on the root window
    std::optional<uint64_t> WindowId;   // --window-id ID (decimal or 0x hexadecimal)
    bool ShowFps = false;            // --fps
    int64_t DelayMicroseconds = 0;   // --delay MICROSECONDS after every frame
    std::optional<int> MaxFps;       // --max-fps N (0: unpaced)
    bool WindowSizeGiven = false;    // --size given for a window run
};

// A window id as X prints it: decimal, or hexadecimal after 0x. Throws
// EGlimmoraError naming Option and the text.
uint64_t ParseWindowId(const std::string& Option, const std::string& Text);

// Throws EGlimmoraError with a message naming the bad argument.
TLinuxRunOptions ParseLinuxCommandLine(const std::vector<std::string>& Args);

std::string LinuxUsageText();
