// The Windows backends of the screen-saver frame's seams, made by the
// program's entry and handed to TScreenSaverApp (app/ScrSaverApp.h) and
// TExecutePro (app/ExecutePro.h). The application object and the main
// form (platform/AppHost.h, platform/MainFormWindow.h) are the program's
// own window classes.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/PasswordServices.h"
#include "platform/ProcessLaunch.h"
#include "platform/SingleInstance.h"
#include "platform/SystemInfo.h"

std::unique_ptr<ISystemInfo> CreateWin32SystemInfo();
std::unique_ptr<ISingleInstance> CreateWin32SingleInstance();
std::unique_ptr<IPasswordServices> CreateWin32PasswordServices();
std::unique_ptr<IProcessLauncher> CreateWin32ProcessLauncher();

// The program's parameters in UTF-8: the module's own file name first (as
// the system loaded it, possibly an 8.3 short name), then the arguments of
// the command line.
std::vector<std::string> Win32ProgramParams();
