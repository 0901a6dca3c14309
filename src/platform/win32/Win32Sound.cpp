#include <windows.h>
#include <mmsystem.h>

#include "platform/win32/Win32Backends.h"
#include "platform/win32/Win32SystemLibrary.h"

namespace {

// PlaySoundA of WINMM.DLL, loaded from the system folder; without it no
// sound is heard.
using TPlaySoundA = BOOL(WINAPI*)(LPCSTR, HMODULE, DWORD);

class TWin32Sound final : public ISoundOutput {
public:
    void PlayLooping(const std::string& ResourceName) override
    {
        // 0x4001F: the program's own wave resource, asynchronous, looping,
        // never a default sound.
        if (FPlaySound)
            FPlaySound(ResourceName.c_str(), nullptr, SND_RESOURCE | SND_ASYNC | SND_NODEFAULT | SND_LOOP | SND_NOSTOP);
    }
    void Stop() override
    {
        if (FPlaySound)
            FPlaySound(nullptr, nullptr, SND_PURGE);
    }

private:
    TPlaySoundA FPlaySound = SystemEntry<TPlaySoundA>(L"winmm.dll", "PlaySoundA");
};

static_assert((SND_RESOURCE | SND_ASYNC | SND_NODEFAULT | SND_LOOP | SND_NOSTOP) == 0x4001F);
static_assert(SND_PURGE == 0x40);

} // namespace

std::unique_ptr<ISoundOutput> CreatePlaySoundOutput() { return std::make_unique<TWin32Sound>(); }
