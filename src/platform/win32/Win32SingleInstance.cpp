#include <windows.h>

#include "platform/win32/Win32AppServices.h"
#include "platform/win32/Win32Text.h"

namespace {

class TWin32SingleInstance final : public ISingleInstance {
public:
    ~TWin32SingleInstance() override { Release(); }

    TInstanceClaim Claim(const std::string& Name) override
    {
        Release();
        SetLastError(ERROR_SUCCESS);
        FHandle = CreateSemaphoreW(nullptr, 0, 1, Win32Widen(Name).c_str());
        const DWORD Error = GetLastError();
        if (FHandle == nullptr)
            return icFailed;
        return Error == ERROR_ALREADY_EXISTS ? icDuplicate : icFirst;
    }
    void Release() override
    {
        if (FHandle != nullptr) {
            CloseHandle(FHandle);
            FHandle = nullptr;
        }
    }

private:
    HANDLE FHandle = nullptr;
};

} // namespace

std::unique_ptr<ISingleInstance> CreateWin32SingleInstance() { return std::make_unique<TWin32SingleInstance>(); }
