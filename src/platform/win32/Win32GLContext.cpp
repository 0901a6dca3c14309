// The GL context seam on GDI and WGL.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/Win32Backends.h"
#include "platform/win32/Win32SystemLibrary.h"

namespace {

// The context calls of OPENGL32.DLL, taken from the system folder's copy
// (the one the engine loads too). Without them no context can be made.
using TWglCreateContext = HGLRC(WINAPI*)(HDC);
using TWglDeleteContext = BOOL(WINAPI*)(HGLRC);
using TWglMakeCurrent = BOOL(WINAPI*)(HDC, HGLRC);
using TWglGetProcAddress = PROC(WINAPI*)(LPCSTR);

HDC AsDC(TGLDeviceContext DC) { return static_cast<HDC>(DC); }

class TWin32GLContext final : public IGLContextBackend {
public:
    bool DrawsToBitmap(TGLDeviceContext DC) override
    {
        const DWORD Type = GetObjectType(AsDC(DC));
        return Type == OBJ_MEMDC || Type == OBJ_METADC || Type == OBJ_ENHMETADC;
    }

    int ChoosePixelFormat(TGLDeviceContext DC, const TPixelFormatRequest& Request) override
    {
        PIXELFORMATDESCRIPTOR Pfd{};
        Pfd.nSize = sizeof(Pfd);
        Pfd.nVersion = 1;
        Pfd.dwFlags = PFD_SUPPORT_OPENGL;
        Pfd.dwFlags |= Request.DrawToBitmap ? PFD_DRAW_TO_BITMAP : PFD_DRAW_TO_WINDOW;
        if (Request.DoubleBuffer)
            Pfd.dwFlags |= PFD_DOUBLEBUFFER;
        if (Request.SupportGDI)
            Pfd.dwFlags |= PFD_SUPPORT_GDI;
        if (Request.Generic)
            Pfd.dwFlags |= PFD_GENERIC_FORMAT;
        Pfd.iPixelType = PFD_TYPE_RGBA;
        Pfd.cColorBits = Bits(Request.ColorBits);
        Pfd.cAlphaBits = Bits(Request.AlphaBits);
        Pfd.cAccumBits = Bits(Request.AccumBits);
        Pfd.cDepthBits = Bits(Request.DepthBits);
        Pfd.cStencilBits = Bits(Request.StencilBits);
        Pfd.cAuxBuffers = 0;
        Pfd.iLayerType = PFD_MAIN_PLANE;
        return ::ChoosePixelFormat(AsDC(DC), &Pfd);
    }

    bool SetPixelFormat(TGLDeviceContext DC, int Format) override
    {
        PIXELFORMATDESCRIPTOR Pfd{};
        if (::DescribePixelFormat(AsDC(DC), Format, sizeof(Pfd), &Pfd) == 0)
            return false;
        return ::SetPixelFormat(AsDC(DC), Format, &Pfd) != FALSE;
    }

    bool DescribePixelFormat(TGLDeviceContext DC, int Format, TPixelFormatDescription& D) override
    {
        PIXELFORMATDESCRIPTOR Pfd{};
        if (::DescribePixelFormat(AsDC(DC), Format, sizeof(Pfd), &Pfd) == 0)
            return false;
        D.DoubleBuffer = (Pfd.dwFlags & PFD_DOUBLEBUFFER) != 0;
        D.Generic = (Pfd.dwFlags & PFD_GENERIC_FORMAT) != 0;
        D.NeedPalette = (Pfd.dwFlags & PFD_NEED_PALETTE) != 0;
        D.ColorBits = Pfd.cColorBits;
        D.AlphaBits = Pfd.cAlphaBits;
        D.AccumBits = Pfd.cAccumBits;
        D.DepthBits = Pfd.cDepthBits;
        D.StencilBits = Pfd.cStencilBits;
        D.RedBits = Pfd.cRedBits;
        D.RedShift = Pfd.cRedShift;
        D.GreenBits = Pfd.cGreenBits;
        D.GreenShift = Pfd.cGreenShift;
        D.BlueBits = Pfd.cBlueBits;
        D.BlueShift = Pfd.cBlueShift;
        return true;
    }

    TGLPaletteHandle CreatePalette(TGLDeviceContext DC, const std::vector<TPaletteEntry>& Entries) override
    {
        if (Entries.empty() || Entries.size() > 256)
            return nullptr;
        // LOGPALETTE ends in a one-entry array: allocate room for all.
        std::vector<BYTE> Block(sizeof(LOGPALETTE) + Entries.size() * sizeof(PALETTEENTRY));
        auto* Log = reinterpret_cast<LOGPALETTE*>(Block.data());
        Log->palVersion = 0x300;
        Log->palNumEntries = static_cast<WORD>(Entries.size());
        PALETTEENTRY* Out = Log->palPalEntry;
        for (std::size_t I = 0; I < Entries.size(); ++I) {
            Out[I].peRed = Entries[I].Red;
            Out[I].peGreen = Entries[I].Green;
            Out[I].peBlue = Entries[I].Blue;
            Out[I].peFlags = Entries[I].Flags;
        }
        HPALETTE Palette = ::CreatePalette(Log);
        if (!Palette)
            return nullptr;
        SelectPalette(AsDC(DC), Palette, FALSE);
        RealizePalette(AsDC(DC));
        return Palette;
    }

    void DeletePalette(TGLPaletteHandle Palette) override { DeleteObject(static_cast<HPALETTE>(Palette)); }

    TGLRenderContext CreateContext(TGLDeviceContext DC) override
    {
        return FCreateContext ? FCreateContext(AsDC(DC)) : nullptr;
    }
    void DeleteContext(TGLRenderContext RC) override
    {
        if (FDeleteContext)
            FDeleteContext(static_cast<HGLRC>(RC));
    }
    bool MakeCurrent(TGLDeviceContext DC, TGLRenderContext RC) override
    {
        return FMakeCurrent && FMakeCurrent(AsDC(DC), static_cast<HGLRC>(RC)) != FALSE;
    }
    bool ReleaseCurrent() override { return FMakeCurrent && FMakeCurrent(nullptr, nullptr) != FALSE; }
    bool SwapBuffers(TGLDeviceContext DC) override { return ::SwapBuffers(AsDC(DC)) != FALSE; }

    std::string LastErrorMessage() override
    {
        const DWORD Code = GetLastError();
        char Text[512] = {};
        const DWORD Length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                            Code, 0, Text, sizeof(Text), nullptr);
        std::string Message = "System Error.  Code: " + std::to_string(Code) + ".";
        if (Length > 0) {
            std::string Body(Text, Length);
            while (!Body.empty() && (Body.back() == '\n' || Body.back() == '\r'))
                Body.pop_back();
            Message += "\r\n" + Body;
        }
        return Message;
    }

    void* ContextEntry(const char* Name) override
    {
        if (!FGetProcAddress)
            return nullptr;
        const PROC Address = FGetProcAddress(Name);
        // Some drivers answer an unknown name with a small number or -1
        // instead of null.
        const auto Value = reinterpret_cast<intptr_t>(Address);
        if (Value == 0 || Value == 1 || Value == 2 || Value == 3 || Value == -1)
            return nullptr;
        return reinterpret_cast<void*>(Address);
    }

private:
    TWglCreateContext FCreateContext = SystemEntry<TWglCreateContext>(L"opengl32.dll", "wglCreateContext");
    TWglDeleteContext FDeleteContext = SystemEntry<TWglDeleteContext>(L"opengl32.dll", "wglDeleteContext");
    TWglMakeCurrent FMakeCurrent = SystemEntry<TWglMakeCurrent>(L"opengl32.dll", "wglMakeCurrent");
    TWglGetProcAddress FGetProcAddress = SystemEntry<TWglGetProcAddress>(L"opengl32.dll", "wglGetProcAddress");

    static BYTE Bits(int Value) { return static_cast<BYTE>(Value < 0 ? 0 : (Value > 255 ? 255 : Value)); }
};

} // namespace

std::unique_ptr<IGLContextBackend> CreateWGLContext() { return std::make_unique<TWin32GLContext>(); }
