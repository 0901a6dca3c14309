// Feeds arbitrary bytes to the tuning file's reader as a file on disk (the
// reader takes a file name), then applies what it read to the scene's
// settings, and names every entry the settings' messages can name. A clean
// EGlimmoraError is the expected answer to a bad value; a crash, a
// sanitizer report, another exception or a hang is a finding.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "scene/LogFile.h"
#include "fakes/FakeProcess.h"
#include "gl/Errors.h"
#include "scene/SceneSettings.h"
#include "scene/TuningFile.h"

namespace {

// One file for the whole run, made by mkstemp: a private name that no other
// user can guess, plant or link, removed when the fuzzer exits.
struct TInputFile {
    std::string Name;
    int Fd = -1;
    TInputFile()
    {
        const char* Folder = std::getenv("TMPDIR");
        Name = std::string(Folder != nullptr && *Folder != '\0' ? Folder : "/tmp") + "/glimmora-tuning-fuzz-XXXXXX";
        Fd = mkstemp(Name.data());
        if (Fd < 0)
            std::abort();
    }
    ~TInputFile()
    {
        close(Fd);
        unlink(Name.c_str());
    }
    // The file's content becomes exactly Data.
    bool Write(const uint8_t* Data, size_t Size) const
    {
        if (ftruncate(Fd, 0) != 0)
            return false;
        size_t Done = 0;
        while (Done < Size) {
            const ssize_t N = pwrite(Fd, Data + Done, Size - Done, static_cast<off_t>(Done));
            if (N <= 0)
                return false;
            Done += static_cast<size_t>(N);
        }
        return true;
    }
};

}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    static const TInputFile File;
    if (!File.Write(Data, Size))
        return 0;
    TSceneSettings Settings;
    SetSceneDefaults(Settings);
    TFakeProcessControl Process;
    TLogFile Log("/dev/null");   // a Log=1 line must not litter the disk
    try {
        LoadTuningFile(File.Name, Settings, Process, Log);
    } catch (const EGlimmoraError&) {
    }
    Log.WriteLog("fuzz");
    // The names the scene's messages give for the asset entries.
    for (const std::string* Field : {&Settings.BillModelName, &Settings.BubbleMaskName, &Settings.WaveFrameListName})
        if (SceneSettingEntry(Settings, Field).empty())
            __builtin_trap();
    return 0;
}
