// A window that another program made (the screen-saver daemon's, or the
// root window), drawn through EGL on X11. The program never selects input
// on it: the owner keeps the keyboard and mouse. The drawing follows the
// window's size; when the window goes away the run ends (weClose).
#pragma once

#include <cstdint>
#include <memory>

#include "platform/EventWindow.h"
#include "platform/GLContext.h"

// Opens the X display and the window (0 = the root window); throws
// std::runtime_error when either cannot be opened.
std::unique_ptr<IEventWindow> OpenForeignWindow(uint64_t WindowId);

// GL contexts on foreign windows (DC = the window's own target).
std::unique_ptr<IGLContextBackend> CreateEGLWindowContext();
