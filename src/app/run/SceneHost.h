// The scene of one run over the backends a program picked: its services,
// its log (with a fallback folder) and its tuning file, set up the same way
// for every run of the Linux program (window, full screen, foreign window,
// snapshot, benchmark).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/DynamicLibrary.h"
#include "platform/GLContext.h"
#include "platform/Process.h"
#include "platform/Resources.h"
#include "platform/Sound.h"
#include "scene/LogFile.h"
#include "scene/Scene.h"

// The tuning file of a run: Named when given, which must then be a readable
// regular file (EGlimmoraError otherwise, naming it); else Default, which may
// be absent or unusable and is then skipped by the scene. Looks at the
// file's status before opening it, so a FIFO is refused without waiting
// for a writer.
std::string CheckedTuningFile(const std::string& Named, const std::string& Default);

struct TSceneHostParts {
    IMillisecondClock& Clock;
    IGLContextBackend& GL;
    ILibraryLoader& GLLibraries;
    IProcessControl& Process;
    ISoundOutput& Sound;
    IEmbeddedResources& Resources;
    std::string LogFile;          // the log's file name next to the program
    std::string UserLogFolder;    // where the log goes when LogFile cannot be made ("" for nowhere)
    // Receives every message for the user: sound failures, log notices,
    // the tuning file's notices.
    std::function<void(const std::string&)> Report;
    // Receives the windowed caption once a second (may be null).
    std::function<void(const std::string&)> SetCaption = nullptr;
};

class TSceneHost {
public:
    explicit TSceneHost(const TSceneHostParts& Parts);

    // Starts the scene (CheckColorDepth passes: every surface the program
    // draws on is true colour) and reports the tuning file's notices.
    void Start(const TSceneOptions& Options, const std::string& TuningFile, std::optional<uint32_t> Seed);

    TLogFile Log;
    TUnderwaterScene Scene;

private:
    std::function<void(const std::string&)> FReport;
};
