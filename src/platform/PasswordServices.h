// Platform seam: the system's screen-saver password services.
//
// Windows: the value "ScreenSaveUsePassword" under HKEY_CURRENT_USER
// "Control Panel\desktop" (opened read-only, never created), libraries
// loaded by full path with LoadLibraryW (no error box for a missing one),
// and calls through entry points typed with the Windows calling convention
// (WINAPI: stdcall in the 32-bit build):
//   BOOL  WINAPI VerifyScreenSavePwd(HWND)                       PASSWORD.CPL
//   DWORD WINAPI PwdChangePasswordA(LPCSTR, HWND, DWORD, DWORD)  MPR.DLL
// Both calls block while the system's dialog is open. What the answers
// mean is decided above the seam (app/ScrSaverApp). Tests use a fake
// (tests/fakes/FakePasswordServices.h).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/DynamicLibrary.h"
#include "platform/WindowHandle.h"

class IPasswordServices {
public:
    virtual ~IPasswordServices() = default;
    // "ScreenSaveUsePassword" as text: a number value in decimal, a string
    // value as it is stored. Nothing when the key or the value is missing
    // or holds another type of data.
    virtual std::optional<std::string> UsePasswordValue() = 0;
    // Loads the library at the full path Path; null when it is missing or
    // cannot be loaded.
    virtual std::unique_ptr<IDynamicLibrary> LoadServiceLibrary(const std::string& Path) = 0;
    // Calls the VerifyScreenSavePwd entry at Entry with Window and returns
    // its result as it came back.
    virtual std::uint32_t CallVerifyScreenSavePwd(void* Entry, TWindowHandle Window) = 0;
    // Calls the PwdChangePasswordA entry at Entry with (Provider, Window,
    // 0, 0).
    virtual void CallPwdChangePassword(void* Entry, const std::string& Provider, TWindowHandle Window) = 0;
};
