// A stand-in for the system's PASSWORD.CPL: VerifyScreenSavePwd refuses
// the first time and accepts every time after. The saver loads and frees
// the library for each check, so the count lives in the registry
// (HKCU\Software\Glimmora Test, value VerifyCalls).
#include <windows.h>

namespace {

const wchar_t* const CountKey = L"Software\\Glimmora Test";
const wchar_t* const CountValue = L"VerifyCalls";

DWORD NextCall()
{
    HKEY Key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, CountKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &Key, nullptr) !=
        ERROR_SUCCESS)
        return 0;
    DWORD Calls = 0;
    DWORD Size = sizeof(Calls);
    DWORD Type = 0;
    if (RegQueryValueExW(Key, CountValue, nullptr, &Type, reinterpret_cast<BYTE*>(&Calls), &Size) != ERROR_SUCCESS ||
        Type != REG_DWORD)
        Calls = 0;
    ++Calls;
    RegSetValueExW(Key, CountValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&Calls), sizeof(Calls));
    RegCloseKey(Key);
    return Calls;
}

} // namespace

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND)
{
    return NextCall() > 1 ? TRUE : FALSE;
}
