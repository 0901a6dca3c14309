#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include <vector>

#include "platform/RegistryData.h"

namespace {

std::wstring Wide(const std::string& Text)
{
    if (Text.empty())
        return {};
    const int Length = MultiByteToWideChar(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), nullptr, 0);
    if (Length <= 0)
        return {};
    std::wstring Result(static_cast<size_t>(Length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), Result.data(), Length);
    return Result;
}

class TWin32RegistryKey final : public IRegistryKey {
public:
    explicit TWin32RegistryKey(HKEY Key) : FKey(Key) {}
    ~TWin32RegistryKey() override { RegCloseKey(FKey); }
    TWin32RegistryKey(const TWin32RegistryKey&) = delete;
    TWin32RegistryKey& operator=(const TWin32RegistryKey&) = delete;

    bool ValueExists(const std::string& Name) override
    {
        return RegQueryValueExW(FKey, Wide(Name).c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }

    TRegistryValue<int32_t> ReadInteger(const std::string& Name) override
    {
        DWORD Type = 0;
        std::vector<uint8_t> Data;
        const auto State = Query(Name, Type, Data);
        if (State != rvPresent)
            return {State, 0};
        return RegistryIntegerOf(Type, Data);
    }

    TRegistryValue<std::string> ReadString(const std::string& Name) override
    {
        DWORD Type = 0;
        std::vector<uint8_t> Data;
        const auto State = Query(Name, Type, Data);
        if (State != rvPresent)
            return {State, {}};
        return RegistryStringOf(Type, Data);
    }

    bool WriteInteger(const std::string& Name, int32_t Value) override
    {
        const DWORD Bits = static_cast<DWORD>(Value);
        return RegSetValueExW(FKey, Wide(Name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&Bits),
                              sizeof(Bits)) == ERROR_SUCCESS;
    }

private:
    // The value's type and all of its bytes. The size is asked first; a
    // value that grows between the two calls is asked again.
    TRegistryValueState Query(const std::string& Name, DWORD& Type, std::vector<uint8_t>& Data)
    {
        const std::wstring WideName = Wide(Name);
        for (int Attempt = 0; Attempt < 4; ++Attempt) {
            DWORD Size = 0;
            LONG Result = RegQueryValueExW(FKey, WideName.c_str(), nullptr, &Type, nullptr, &Size);
            if (Result == ERROR_FILE_NOT_FOUND)
                return rvAbsent;
            if (Result != ERROR_SUCCESS)
                return rvUnreadable;
            Data.assign(Size, 0);
            Result = RegQueryValueExW(FKey, WideName.c_str(), nullptr, &Type, Data.empty() ? nullptr : Data.data(), &Size);
            if (Result == ERROR_MORE_DATA)
                continue;
            if (Result == ERROR_FILE_NOT_FOUND)
                return rvAbsent;
            if (Result != ERROR_SUCCESS || Size > Data.size())
                return rvUnreadable;
            Data.resize(Size);
            return rvPresent;
        }
        return rvUnreadable;
    }

    HKEY FKey;
};

} // namespace

std::unique_ptr<IRegistryKey> OpenWin32RegistryKey(TRegistryRoot Root, const std::string& Path, TRegistryAccess Access)
{
    const HKEY RootKey = Root == hkLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    const std::wstring WidePath = Wide(Path);
    HKEY Key = nullptr;
    LONG Result;
    if (Access == kaRead)
        Result = RegOpenKeyExW(RootKey, WidePath.c_str(), 0, KEY_READ, &Key);
    else
        Result = RegCreateKeyExW(RootKey, WidePath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                                 nullptr, &Key, nullptr);
    if (Result != ERROR_SUCCESS || !Key)
        return nullptr;
    return std::make_unique<TWin32RegistryKey>(Key);
}
