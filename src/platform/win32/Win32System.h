// The Windows backends of the seams every program needs, one per system: the
// clock, the library loader, process control and the module's resources.
// The same four constructors as the Linux build's (platform/linux/
// LinuxSystem.h), so code that runs on both picks the system's by header.
#pragma once

#include <memory>

#include "platform/Clock.h"
#include "platform/DynamicLibrary.h"
#include "platform/Process.h"
#include "platform/Resources.h"

// The multimedia timer (timeGetTime) with its periods.
std::unique_ptr<IMillisecondClock> CreateSystemClock();
// LoadLibrary from the system folder: "OpenGL32.DLL" and "GLU32.DLL".
std::unique_ptr<ILibraryLoader> CreateSystemLibraryLoader();
// SetPriorityClass of the current process.
std::unique_ptr<IProcessControl> CreateProcessControl();
// The module's own resources (FindResource).
std::unique_ptr<IEmbeddedResources> CreateModuleResources();
