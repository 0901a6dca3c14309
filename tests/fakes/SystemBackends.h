// The system's own clock, library loader, process control and embedded
// resources (CreateSystemClock, CreateModuleResources, ...), for tests that
// run against the real ones on either system.
#pragma once

#ifdef _WIN32
#include "platform/win32/Win32System.h"
#else
#include "platform/linux/LinuxSystem.h"
#endif
