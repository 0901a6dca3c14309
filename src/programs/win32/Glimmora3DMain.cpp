// Glimmora3D.scr (and its .exe twin): the Windows program. It reads the
// command line and the program's long file name, makes the Win32 backends
// and hands everything to the portable program.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/SaverProgram.h"
#include "platform/win32/Win32Backends.h"

namespace {

std::string Narrow(const std::wstring& Text)
{
    if (Text.empty())
        return {};
    const int N = WideCharToMultiByte(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string Out(N > 0 ? static_cast<std::size_t>(N) : 0, '\0');
    if (N > 0)
        WideCharToMultiByte(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), Out.data(), N, nullptr, nullptr);
    return Out;
}

// The program file's full name in its long form: the system may start a
// saver by its short 8.3 name.
std::wstring LongProgramFileName()
{
    std::wstring Path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD N = GetModuleFileNameW(nullptr, Path.data(), static_cast<DWORD>(Path.size()));
        if (N == 0)
            return {};
        if (N < Path.size()) {
            Path.resize(N);
            break;
        }
        Path.resize(Path.size() * 2);
    }
    const DWORD Needed = GetLongPathNameW(Path.c_str(), nullptr, 0);
    if (Needed == 0)
        return Path;
    std::wstring Long(Needed, L'\0');
    const DWORD N = GetLongPathNameW(Path.c_str(), Long.data(), Needed);
    if (N == 0 || N >= Needed)
        return Path;
    Long.resize(N);
    return Long;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    std::vector<std::string> Args;
    int Argc = 0;
    if (LPWSTR* Argv = CommandLineToArgvW(GetCommandLineW(), &Argc)) {
        for (int i = 1; i < Argc; ++i)
            Args.push_back(Narrow(Argv[i]));
        LocalFree(Argv);
    }

    const auto Loop = CreateMessageLoop();
    const auto Windows = CreateWindowSystem(*Loop);
    const auto Clock = CreateSystemClock();
    const auto GLBackend = CreateWGLContext();
    const auto GLLibraries = CreateSystemLibraryLoader();
    const auto Process = CreateProcessControl();
    const auto Sound = CreatePlaySoundOutput();
    const auto Resources = CreateModuleResources();
    const TSaverSystem System{*Loop, *Windows, *Clock, *GLBackend, *GLLibraries, *Process, *Sound, *Resources};
    return RunScreenSaver(System, Args, Narrow(LongProgramFileName()));
}
