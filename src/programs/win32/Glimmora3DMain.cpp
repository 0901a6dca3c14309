// Glimmora3D.scr (and its .exe twin): the Windows program. It makes the
// Win32 backends (TWin32SaverSystem) and hands them, with the program's
// parameters, to the portable program.
#include <windows.h>

#include "app/saver/SaverProgram.h"
#include "platform/win32/Win32AppServices.h"
#include "platform/win32/Win32SystemLibrary.h"
#include "programs/win32/Win32SaverSystem.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // Before anything can load a library: the system folder only, never the
    // folder the saver lies in.
    RestrictLibrarySearch();
    const TWin32SaverSystem Backends;
    return RunScreenSaver(Backends.System(), Win32ProgramParams());
}
