#include "fakes/FakeGLContext.h"

#include <cstdint>

namespace {
// Handles are small distinct non-null numbers, never dereferenced.
void* Handle(int Tag) { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(Tag)); }
} // namespace

TFakeGLContext::TFakeGLContext()
{
    // A hardware-like 24-bit format with 24 depth bits, double-buffered.
    Described.DoubleBuffer = true;
    Described.ColorBits = 24;
    Described.DepthBits = 24;
    Described.StencilBits = 8;
    Described.AlphaBits = 8;
    Described.RedBits = Described.GreenBits = Described.BlueBits = 8;
    Described.RedShift = 16;
    Described.GreenShift = 8;
}

bool TFakeGLContext::DrawsToBitmap(TGLDeviceContext) { return BitmapDC; }

int TFakeGLContext::ChoosePixelFormat(TGLDeviceContext, const TPixelFormatRequest& Request)
{
    Log.push_back("ChoosePixelFormat");
    LastRequest = Request;
    return FailAt == fsChoose ? 0 : 7;
}

bool TFakeGLContext::SetPixelFormat(TGLDeviceContext, int Format)
{
    Log.push_back("SetPixelFormat " + std::to_string(Format));
    return FailAt != fsSet;
}

bool TFakeGLContext::DescribePixelFormat(TGLDeviceContext, int Format, TPixelFormatDescription& Description)
{
    Log.push_back("DescribePixelFormat " + std::to_string(Format));
    Description = Described;
    return true;
}

TGLPaletteHandle TFakeGLContext::CreatePalette(TGLDeviceContext, const std::vector<TPaletteEntry>& Entries)
{
    Log.push_back("CreatePalette " + std::to_string(Entries.size()));
    LastPalette = Entries;
    if (FailAt == fsPalette)
        return nullptr;
    ++LivePalettes;
    return Handle(100 + ++FPaletteTag);
}

void TFakeGLContext::DeletePalette(TGLPaletteHandle)
{
    Log.push_back("DeletePalette");
    --LivePalettes;
}

TGLRenderContext TFakeGLContext::CreateContext(TGLDeviceContext)
{
    Log.push_back("CreateContext");
    if (FailAt == fsContext)
        return nullptr;
    ++LiveContexts;
    return Handle(200 + ++FContextTag);
}

void TFakeGLContext::DeleteContext(TGLRenderContext)
{
    Log.push_back("DeleteContext");
    --LiveContexts;
}

bool TFakeGLContext::MakeCurrent(TGLDeviceContext, TGLRenderContext)
{
    Log.push_back("MakeCurrent");
    return true;
}

bool TFakeGLContext::ReleaseCurrent()
{
    Log.push_back("ReleaseCurrent");
    return FailAt != fsRelease;
}

bool TFakeGLContext::SwapBuffers(TGLDeviceContext)
{
    Log.push_back("SwapBuffers");
    return true;
}
