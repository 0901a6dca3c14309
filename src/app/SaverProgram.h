// The screen saver program above the platform seam: it binds the main
// form to the application frame, the display control, the options and the
// scene, and runs the message loop for the mode the command line asks for.
#pragma once

#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/DynamicLibrary.h"
#include "platform/GLContext.h"
#include "platform/MessageLoop.h"
#include "platform/Process.h"
#include "platform/Resources.h"
#include "platform/Sound.h"
#include "platform/Windowing.h"

inline constexpr const char* ApplicationTitle = "Glimmora 3D";

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
};

// Args are the arguments after the program name; ProgramFile the long
// name of the program file. Returns the process's exit code: 0, or 1 when
// an error ended the program before its message loop (the error is shown
// in a message box first).
int RunScreenSaver(const TSaverSystem& System, const std::vector<std::string>& Args, const std::string& ProgramFile);
