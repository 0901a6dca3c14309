#include "platform/win32/Win32SystemLibrary.h"

#include <map>
#include <mutex>
#include <string>

namespace {

using TSetDefaultDllDirectories = BOOL(WINAPI*)(DWORD);
using TSetDllDirectoryW = BOOL(WINAPI*)(LPCWSTR);

constexpr DWORD SearchSystem32 = 0x00000800;   // LOAD_LIBRARY_SEARCH_SYSTEM32

std::wstring SystemFolder()
{
    wchar_t Buffer[MAX_PATH];
    const UINT Length = GetSystemDirectoryW(Buffer, MAX_PATH);
    if (Length == 0 || Length >= MAX_PATH)
        return {};
    return std::wstring(Buffer, Length);
}

} // namespace

void RestrictLibrarySearch()
{
    // kernel32 is always loaded; the two calls are looked up because older
    // systems lack the first.
    const HMODULE Kernel = GetModuleHandleW(L"kernel32.dll");
    if (!Kernel)
        return;
    const auto SetDirectory = reinterpret_cast<TSetDllDirectoryW>(
        reinterpret_cast<void*>(GetProcAddress(Kernel, "SetDllDirectoryW")));
    if (SetDirectory)
        SetDirectory(L"");
    const auto SetDefault = reinterpret_cast<TSetDefaultDllDirectories>(
        reinterpret_cast<void*>(GetProcAddress(Kernel, "SetDefaultDllDirectories")));
    if (SetDefault)
        SetDefault(SearchSystem32);
}

HMODULE LoadSystemLibrary(const wchar_t* Name)
{
    const std::wstring Folder = SystemFolder();
    if (Folder.empty())
        return nullptr;
    const std::wstring Path = Folder + L"\\" + Name;
    // A missing library is an answer, not an error box. Its own imports
    // follow the search that RestrictLibrarySearch set.
    const UINT OldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    const HMODULE Handle = LoadLibraryW(Path.c_str());
    SetErrorMode(OldMode);
    return Handle;
}

FARPROC SystemEntryPoint(const wchar_t* Library, const char* Entry)
{
    static std::mutex Lock;
    static std::map<std::wstring, HMODULE> Modules;
    HMODULE Module = nullptr;
    {
        const std::lock_guard<std::mutex> Guard(Lock);
        auto It = Modules.find(Library);
        if (It == Modules.end())
            It = Modules.emplace(Library, LoadSystemLibrary(Library)).first;
        Module = It->second;
    }
    return Module ? GetProcAddress(Module, Entry) : nullptr;
}
