// Platform seam: where the system keeps its files, and the long form of a
// file name.
//
// Windows: GetLongPathNameW, GetSystemDirectoryW, GetWindowsDirectoryW,
// SHGetFolderPathW (CSIDL_LOCAL_APPDATA); texts travel as UTF-8. Tests use a fake (tests/fakes/FakeSystemInfo.h).
#pragma once

#include <string>

class ISystemInfo {
public:
    virtual ~ISystemInfo() = default;
    // The long form of an existing file's path: an 8.3 short name such as
    // "C:\WINDOWS\GLIMMO~1.SCR" becomes "C:\WINDOWS\Glimmora3D.scr". The
    // path comes back unchanged when the system cannot resolve it.
    virtual std::string LongPathName(const std::string& Path) = 0;
    // The system directory and the Windows directory as the system gives
    // them (usually without a trailing backslash); empty when it cannot
    // tell.
    virtual std::string SystemDirectory() = 0;
    virtual std::string WindowsDirectory() = 0;
    // The user's own folder for local application data (where the log goes
    // when the program's folder cannot hold it); empty when unknown.
    virtual std::string LocalAppDataDirectory() { return {}; }
};
