// The Linux program's command line: what to run and the scene's options.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum TLinuxRunKind { lkHelp, lkVersion, lkSnapshot, lkBench };

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
};

// Throws EGlimmoraError with a message naming the bad argument.
TLinuxRunOptions ParseLinuxCommandLine(const std::vector<std::string>& Args);

std::string LinuxUsageText();
