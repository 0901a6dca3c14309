// Glimmora3D.scr (and its .exe twin): the Windows program. It makes the
// Win32 backends and hands them, with the program's parameters, to the
// portable program.
#include <windows.h>

#include "app/saver/SaverProgram.h"
#include "platform/SettingsWindow.h"
#include "platform/win32/Win32AppServices.h"
#include "platform/win32/Win32Backends.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SystemLibrary.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // Before anything can load a library: the system folder only, never the
    // folder the saver lies in.
    RestrictLibrarySearch();
    const auto Loop = CreateMessageLoop();
    const auto Windows = CreateWindowSystem(*Loop);
    const auto Clock = CreateSystemClock();
    const auto GLBackend = CreateWGLContext();
    const auto GLLibraries = CreateSystemLibraryLoader();
    const auto Process = CreateProcessControl();
    const auto Sound = CreatePlaySoundOutput();
    const auto Resources = CreateModuleResources();
    const auto SystemInfo = CreateWin32SystemInfo();
    const auto Instance = CreateWin32SingleInstance();
    const auto Passwords = CreateWin32PasswordServices();
    const auto Launcher = CreateWin32ProcessLauncher();
    const auto Display = CreateWin32DisplaySettings();
    const auto Settings = CreateSettingsWindows(*Loop);
    const TSaverSystem System{*Loop,       *Windows,   *Clock,     *GLBackend, *GLLibraries,
                              *Process,    *Sound,     *Resources, *SystemInfo, *Instance,
                              *Passwords,  *Launcher,  *Display,   OpenWin32RegistryKey,
                              *Settings};
    return RunScreenSaver(System, Win32ProgramParams());
}
