#include "programs/win32/Win32SaverSystem.h"

#include "platform/win32/Win32AppServices.h"
#include "platform/win32/Win32Backends.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32System.h"

TWin32SaverSystem::TWin32SaverSystem()
    : FLoop(CreateMessageLoop()),
      FWindows(CreateWindowSystem(*FLoop)),
      FClock(CreateSystemClock()),
      FGLBackend(CreateWGLContext()),
      FGLLibraries(CreateSystemLibraryLoader()),
      FProcess(CreateProcessControl()),
      FSound(CreatePlaySoundOutput()),
      FResources(CreateModuleResources()),
      FSystemInfo(CreateWin32SystemInfo()),
      FInstance(CreateWin32SingleInstance()),
      FPasswords(CreateWin32PasswordServices()),
      FLauncher(CreateWin32ProcessLauncher()),
      FDisplay(CreateWin32DisplaySettings()),
      FSettings(CreateSettingsWindows(*FLoop)),
      FSystem(std::make_unique<TSaverSystem>(TSaverSystem{
          *FLoop, *FWindows, *FClock, *FGLBackend, *FGLLibraries, *FProcess, *FSound, *FResources, *FSystemInfo,
          *FInstance, *FPasswords, *FLauncher, *FDisplay, OpenWin32RegistryKey, *FSettings}))
{
}

// The backends go in the reverse order of their making: the windows and
// dialog windows before the message loop they report to.
TWin32SaverSystem::~TWin32SaverSystem() = default;
