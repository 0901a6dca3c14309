// The screen saver program above the platform seam: it makes the
// application frame (TScreenSaverApp), the display control, the options
// and the scene, binds them to the main form, and runs the message loop for
// the mode the command line asks for.
#pragma once

#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/DisplaySettings.h"
#include "platform/DynamicLibrary.h"
#include "platform/GLContext.h"
#include "platform/MessageLoop.h"
#include "platform/PasswordServices.h"
#include "platform/Process.h"
#include "platform/ProcessLaunch.h"
#include "platform/Registry.h"
#include "platform/Resources.h"
#include "platform/SettingsWindow.h"
#include "platform/SingleInstance.h"
#include "platform/Sound.h"
#include "platform/SystemInfo.h"
#include "platform/Windowing.h"

inline constexpr const char* ApplicationTitle = "Glimmora 3D";
inline constexpr const char* ApplicationCompany = "Tarnwick Software";

// The system's services the program runs on, borrowed for the whole run.
struct TSaverSystem {
    IMessageLoop& Loop;
    IWindowSystem& Windows;
    IMillisecondClock& Clock;
    IGLContextBackend& GLBackend;
    ILibraryLoader& GLLibraries;
    IProcessControl& Process;
    ISoundOutput& Sound;
    IEmbeddedResources& Resources;
    ISystemInfo& SystemInfo;
    ISingleInstance& Instance;
    IPasswordServices& Passwords;
    IProcessLauncher& Launcher;
    IDisplaySettings& Display;
    TRegistryOpener Registry;
    ISettingsWindows& Settings;
};

// Params[0] is the program file as the system started it (possibly its 8.3
// short name), the rest the command-line arguments. Returns the process's
// exit code: 0, or 1 when an error ended the program before its message
// loop (the error is shown in a message box first).
int RunScreenSaver(const TSaverSystem& System, const std::vector<std::string>& Params);
