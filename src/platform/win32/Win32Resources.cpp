#include <windows.h>

#include <string>

#include "platform/win32/Win32System.h"
#include "platform/SameText.h"

namespace {

class TWin32Resources final : public IEmbeddedResources {
public:
    std::optional<std::span<const std::uint8_t>> Find(std::string_view Name, TResourceKind Kind) override
    {
        // A name starting with '#' would be read as a numeric id; resource
        // names made from file names never are.
        if (Name.empty() || Name.front() == '#')
            return std::nullopt;
        std::wstring WideName;
        WideName.reserve(Name.size());
        for (char C : Name) {
            const auto U = static_cast<unsigned char>(C);
            if (U == 0 || U > 0x7F)
                return std::nullopt;   // the .rc script holds ASCII names only
            WideName.push_back(static_cast<wchar_t>(static_cast<unsigned char>(UpperAscii(C))));
        }
        const wchar_t* Type = Kind == rkBitmap ? MAKEINTRESOURCEW(2)      // RT_BITMAP
                              : Kind == rkWave ? L"WAVE"
                                               : MAKEINTRESOURCEW(10);    // RT_RCDATA
        HMODULE Module = GetModuleHandleW(nullptr);
        HRSRC Info = FindResourceW(Module, WideName.c_str(), Type);
        if (!Info)
            return std::nullopt;
        const DWORD Size = SizeofResource(Module, Info);
        HGLOBAL Handle = LoadResource(Module, Info);
        if (!Handle)
            return std::nullopt;
        const void* Data = LockResource(Handle);
        if (!Data && Size != 0)
            return std::nullopt;
        return std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(Data), Size);
    }
};

} // namespace

std::unique_ptr<IEmbeddedResources> CreateModuleResources() { return std::make_unique<TWin32Resources>(); }
