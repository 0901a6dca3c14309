// The Linux backends of the seams every program needs, one per system: the
// clock, the library loader, process control and the program's embedded
// resources (glimmora_platform_core, which links neither SDL, X11 nor EGL).
#pragma once

#include <memory>

#include "platform/Clock.h"
#include "platform/DynamicLibrary.h"
#include "platform/Process.h"
#include "platform/Resources.h"

// CLOCK_MONOTONIC in milliseconds.
std::unique_ptr<IMillisecondClock> CreateSystemClock();
// dlopen with the names "libGL.so.1" and "libGLU.so.1".
std::unique_ptr<ILibraryLoader> CreateSystemLibraryLoader();
// Leaves the process's priority to the user (nice).
std::unique_ptr<IProcessControl> CreateProcessControl();
// The tables that glimmora_embed_resources generated for the program.
std::unique_ptr<IEmbeddedResources> CreateModuleResources();
