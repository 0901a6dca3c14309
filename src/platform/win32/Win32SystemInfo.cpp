#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "platform/win32/Win32AppServices.h"
#include "platform/win32/Win32Text.h"

namespace {

// Calls a "fill this buffer" function of the system, growing the buffer
// when the answer does not fit; empty when the call fails.
template <class F>
std::wstring AskSystem(F&& Call)
{
    std::wstring Buffer(MAX_PATH, L'\0');
    for (int Attempt = 0; Attempt < 4; ++Attempt) {
        const DWORD N = Call(Buffer.data(), static_cast<DWORD>(Buffer.size()));
        if (N == 0)
            return {};
        if (N < Buffer.size()) {
            Buffer.resize(N);
            return Buffer;
        }
        Buffer.assign(static_cast<std::size_t>(N) + 1, L'\0');
    }
    return {};
}

class TWin32SystemInfo final : public ISystemInfo {
public:
    std::string LongPathName(const std::string& Path) override
    {
        const std::wstring Wide = Win32Widen(Path);
        const std::wstring Long =
            AskSystem([&](wchar_t* Buffer, DWORD Size) { return GetLongPathNameW(Wide.c_str(), Buffer, Size); });
        return Long.empty() ? Path : Win32Narrow(Long);
    }
    std::string SystemDirectory() override
    {
        return Win32Narrow(AskSystem([](wchar_t* Buffer, DWORD Size) { return GetSystemDirectoryW(Buffer, Size); }));
    }
    std::string WindowsDirectory() override
    {
        return Win32Narrow(AskSystem([](wchar_t* Buffer, DWORD Size) { return GetWindowsDirectoryW(Buffer, Size); }));
    }
    std::string LocalAppDataDirectory() override
    {
        wchar_t Buffer[MAX_PATH] = {};
        if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, Buffer)))
            return {};
        return Win32Narrow(Buffer);
    }
};

} // namespace

std::unique_ptr<ISystemInfo> CreateWin32SystemInfo() { return std::make_unique<TWin32SystemInfo>(); }

std::vector<std::string> Win32ProgramParams()
{
    std::vector<std::string> Params;
    // GetModuleFileNameW returns the buffer's size when the name is cut.
    std::wstring Module(MAX_PATH, L'\0');
    for (;;) {
        const DWORD N = GetModuleFileNameW(nullptr, Module.data(), static_cast<DWORD>(Module.size()));
        if (N < Module.size()) {
            Module.resize(N);
            break;
        }
        if (Module.size() >= 32768) {
            Module.clear();
            break;
        }
        Module.assign(Module.size() * 2, L'\0');
    }
    Params.push_back(Win32Narrow(Module));

    int Count = 0;
    LPWSTR* Args = CommandLineToArgvW(GetCommandLineW(), &Count);
    if (Args != nullptr) {
        for (int I = 1; I < Count; ++I)
            Params.push_back(Win32Narrow(Args[I]));
        LocalFree(Args);
    }
    return Params;
}
