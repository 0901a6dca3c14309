#include <windows.h>

#include <algorithm>
#include <span>
#include <vector>

#include "platform/RegistryData.h"
#include "platform/win32/Win32AppServices.h"
#include "platform/win32/Win32Text.h"

namespace {

// The entries' own signatures: WINAPI is stdcall in the 32-bit build, and a
// call through a pointer of another convention would corrupt the stack.
using TVerifyScreenSavePwd = BOOL(WINAPI*)(HWND);
using TPwdChangePasswordA = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, DWORD);

class TWin32ServiceLibrary final : public IDynamicLibrary {
public:
    explicit TWin32ServiceLibrary(HMODULE Handle) : FHandle(Handle) {}
    ~TWin32ServiceLibrary() override { FreeLibrary(FHandle); }
    void* Symbol(const char* Name) override { return reinterpret_cast<void*>(GetProcAddress(FHandle, Name)); }

private:
    HMODULE FHandle;
};

class TWin32PasswordServices final : public IPasswordServices {
public:
    std::optional<std::string> UsePasswordValue() override
    {
        HKEY Key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\desktop", 0, KEY_READ, &Key) != ERROR_SUCCESS)
            return std::nullopt;
        std::optional<std::string> Value;
        DWORD Type = 0;
        DWORD Size = 0;
        if (RegQueryValueExW(Key, L"ScreenSaveUsePassword", nullptr, &Type, nullptr, &Size) == ERROR_SUCCESS) {
            std::vector<BYTE> Data(Size);
            if (RegQueryValueExW(Key, L"ScreenSaveUsePassword", nullptr, &Type, Data.data(), &Size) == ERROR_SUCCESS)
                Value = UsePasswordTextOf(Type, std::span<const uint8_t>(Data.data(), std::min<std::size_t>(Size, Data.size())));
        }
        RegCloseKey(Key);
        return Value;
    }

    std::unique_ptr<IDynamicLibrary> LoadServiceLibrary(const std::string& Path) override
    {
        // A missing library is an answer, not an error box.
        const UINT OldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
        HMODULE Handle = LoadLibraryW(Win32Widen(Path).c_str());
        SetErrorMode(OldMode);
        if (Handle == nullptr)
            return nullptr;
        return std::make_unique<TWin32ServiceLibrary>(Handle);
    }

    std::uint32_t CallVerifyScreenSavePwd(void* Entry, TWindowHandle Window) override
    {
        const auto Verify = reinterpret_cast<TVerifyScreenSavePwd>(Entry);
        return static_cast<std::uint32_t>(Verify(reinterpret_cast<HWND>(Window)));
    }

    void CallPwdChangePassword(void* Entry, const std::string& Provider, TWindowHandle Window) override
    {
        const auto Change = reinterpret_cast<TPwdChangePasswordA>(Entry);
        Change(Provider.c_str(), reinterpret_cast<HWND>(Window), 0, 0);
    }
};

} // namespace

std::unique_ptr<IPasswordServices> CreateWin32PasswordServices() { return std::make_unique<TWin32PasswordServices>(); }
