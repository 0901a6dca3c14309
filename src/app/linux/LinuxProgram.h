// The Linux program: its command line run as help, the version, one picture
// (--snapshot) or a benchmark (--bench) drawn into an off-screen window, or
// a run on a screen (a window, the whole display, a foreign window), with
// the backends the program's main picked. Portable: the backends arrive as
// interfaces.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "app/linux/LinuxCommandLine.h"
#include "app/run/SceneHost.h"
#include "platform/Clock.h"
#include "platform/DynamicLibrary.h"
#include "platform/GLContext.h"
#include "platform/PictureFile.h"
#include "platform/Process.h"
#include "platform/RenderWindow.h"
#include "platform/Resources.h"
#include "platform/Sound.h"

// A clock moved by hand: the snapshot advances it frame by frame, so the
// same seed and scene time always give the same picture.
class TManualClock final : public TClockWithoutPeriods {
public:
    uint32_t Time = 0;
    uint32_t Now() override { return Time; }
};

// What a run borrows from the program.
struct TLinuxHost {
    IGLContextBackend& GLContext;
    ILibraryLoader& GLLibraries;
    IProcessControl& Process;
    ISoundOutput& Sound;
    IEmbeddedResources& Resources;   // the program's embedded assets
    IMillisecondClock& Clock;   // the benchmark's; a snapshot runs on a TManualClock
    // An off-screen window of the asked size, drawn on GLContext.
    std::function<std::unique_ptr<IRenderWindow>(int Width, int Height)> CreateWindow;
    std::string ProgramDir;     // where glimmora3d.ini and glimmora3d.log live
    std::chrono::steady_clock::time_point ProcessStart;
    // The process's peak resident memory in MiB, for the benchmark.
    std::function<double()> PeakMemoryMiB;
    IPictureFileWriter& Pictures;   // writes the snapshot
    // The user's own folder for the log when ProgramDir cannot hold it
    // ("" for none).
    std::string UserLogFolder = {};
    // Whether the error stream is a terminal, where long work shows its
    // progress (null: it is not).
    std::function<bool()> ErrIsTerminal = nullptr;
    // The backends of runs on a screen; null when the program has none.
    struct TScreenHost* Screen = nullptr;
};

// Parses Args (without the program name) and runs what they ask: help,
// version, a snapshot or a benchmark. Reports go to Out, errors (as
// "glimmora3d: MESSAGE") to Err; returns the exit code.
int RunLinuxProgram(const std::vector<std::string>& Args, TLinuxHost& Host, std::ostream& Out,
                    std::ostream& Err);

int RunSnapshot(const TLinuxRunOptions& Options, TLinuxHost& Host, std::ostream& Out, std::ostream& Err);
int RunBench(const TLinuxRunOptions& Options, TLinuxHost& Host, std::ostream& Out, std::ostream& Err);
// A window, the whole display, or a foreign window (Host.Screen's backends).
int RunOnScreen(const TLinuxRunOptions& Options, TLinuxHost& Host, std::ostream& Out, std::ostream& Err);

// The frame in the current context's colour buffer, RGB, rows top-down.
std::vector<uint8_t> ReadFramePixels(int Width, int Height);

// What every run of the program gives its scene: the host's backends with
// the given clock, context and sound, the log next to the program (or in
// the user's folder), messages to Err as "glimmora3d: MESSAGE".
TSceneHostParts SceneHostParts(TLinuxHost& Host, IMillisecondClock& Clock, IGLContextBackend& GL, ISoundOutput& Sound,
                               std::ostream& Err);
// --ini FILE, checked (CheckedTuningFile); else glimmora3d.ini next to the
// program.
std::string RunTuningFile(const TLinuxRunOptions& Options, const std::string& ProgramDir);
