// Libraries of the system, found in the system folder only.
//
// A library that is not among the system's known libraries is looked for
// in the program's own folder first when it is loaded by its bare name,
// and a saver may be run from any folder (a downloads folder, say). So
// the program imports only libraries that the system always takes from
// its own folder, restricts the search to the system folder before
// anything else runs, and loads the others (OpenGL32, GLU32, WinMM) here
// by their full path in the system folder.
#pragma once

#include <windows.h>

// Limits every later library search of this process to the system folder
// (SetDefaultDllDirectories with LOAD_LIBRARY_SEARCH_SYSTEM32) and takes
// the current folder out of it. The program's entry calls it first.
void RestrictLibrarySearch();

// Loads Name (a bare file name) from the system folder; null when it is
// missing there or cannot be loaded. The caller frees it.
HMODULE LoadSystemLibrary(const wchar_t* Name);

// An entry point of a system library that stays loaded for the rest of
// the process (loaded on first use); null when the library or the entry
// is missing.
FARPROC SystemEntryPoint(const wchar_t* Library, const char* Entry);

// The same, typed: Fn is the entry's pointer type.
template <class Fn>
Fn SystemEntry(const wchar_t* Library, const char* Entry)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(SystemEntryPoint(Library, Entry)));
}
