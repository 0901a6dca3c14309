// The Windows backends a program picks by name: the message loop, the
// windows and dialog windows, the display settings, the WGL context on a
// window's device context and the PlaySound output of the module's wave
// resource. The clock, process control, library loader and resources are
// in Win32System.h; the saver's own services in Win32AppServices.h.
#pragma once

#include <memory>

#include "platform/DisplaySettings.h"
#include "platform/GLContext.h"
#include "platform/MessageLoop.h"
#include "platform/SettingsWindow.h"
#include "platform/Sound.h"
#include "platform/Windowing.h"

std::unique_ptr<IMessageLoop> CreateMessageLoop();
// The system's windows; window procedures report exceptions to Loop.
std::unique_ptr<IWindowSystem> CreateWindowSystem(IMessageLoop& Loop);
// The system's dialog windows; their handlers report exceptions to Loop.
std::unique_ptr<ISettingsWindows> CreateSettingsWindows(IMessageLoop& Loop);
// The display's modes and the switch between them. There is no Linux
// counterpart: the Linux programs never switch the display.
std::unique_ptr<IDisplaySettings> CreateWin32DisplaySettings();
std::unique_ptr<IGLContextBackend> CreateWGLContext();
std::unique_ptr<ISoundOutput> CreatePlaySoundOutput();
