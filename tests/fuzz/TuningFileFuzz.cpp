// Feeds arbitrary bytes to the tuning file's reader as a file on disk (the
// reader takes a file name), then applies what it read to the scene's
// settings, and names every entry the settings' messages can name. A clean
// EGlimmoraError is the expected answer to a bad value; a crash, a
// sanitizer report, another exception or a hang is a finding.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "scene/LogFile.h"
#include "fakes/FakeProcess.h"
#include "gl/Errors.h"
#include "scene/SceneSettings.h"
#include "scene/TuningFile.h"

namespace {

const std::string& FileName()
{
    static const std::string Name = "/tmp/glimmora-tuning-fuzz-" + std::to_string(getpid()) + ".ini";
    return Name;
}

}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    std::FILE* F = std::fopen(FileName().c_str(), "wb");
    if (F == nullptr)
        return 0;
    const bool Written = std::fwrite(Data, 1, Size, F) == Size;
    std::fclose(F);
    if (!Written)
        return 0;
    TSceneSettings Settings;
    SetSceneDefaults(Settings);
    TFakeProcessControl Process;
    TLogFile Log("/dev/null");   // a Log=1 line must not litter the disk
    try {
        LoadTuningFile(FileName(), Settings, Process, Log);
    } catch (const EGlimmoraError&) {
    }
    Log.WriteLog("fuzz");
    // The names the scene's messages give for the asset entries.
    for (const std::string* Field : {&Settings.BillModelName, &Settings.BubbleMaskName, &Settings.WaveFrameListName})
        if (SceneSettingEntry(Settings, Field).empty())
            __builtin_trap();
    return 0;
}
