// Platform seam: pixel formats, palettes and OpenGL rendering contexts.
//
// Windows: GDI and WGL on a window's device context (ChoosePixelFormat,
// SetPixelFormat, DescribePixelFormat, logical palettes, wglCreateContext,
// wglMakeCurrent, SwapBuffers). Linux: EGL, where a "device context" is an
// off-screen pbuffer target (platform/headless/HeadlessWindow.h). The
// program picks a backend by its named constructor (CreateWGLContext,
// CreateEGLPbufferContext) and hands it down; the engine (gl/GLClasses.h)
// drives this interface; tests use a fake (tests/fakes).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Opaque handles: HDC, HGLRC and HPALETTE on Windows; backend objects on
// Linux. Null means none.
using TGLDeviceContext = void*;
using TGLRenderContext = void*;
using TGLPaletteHandle = void*;

struct TPixelFormatRequest {
    bool DrawToBitmap = false;   // otherwise draw to a window
    bool DoubleBuffer = false;
    bool SupportGDI = false;
    bool Generic = false;        // ask for the system's generic format
    int ColorBits = 0;
    int AlphaBits = 0;
    int AccumBits = 0;
    int DepthBits = 0;
    int StencilBits = 0;
};

// What the system actually chose.
struct TPixelFormatDescription {
    bool DoubleBuffer = false;
    bool Generic = false;        // software (generic) implementation
    bool NeedPalette = false;    // a palette format: needs a logical palette
    int ColorBits = 0;
    int AlphaBits = 0;
    int AccumBits = 0;
    int DepthBits = 0;
    int StencilBits = 0;
    int RedBits = 0, RedShift = 0;
    int GreenBits = 0, GreenShift = 0;
    int BlueBits = 0, BlueShift = 0;
};

struct TPaletteEntry {
    uint8_t Red = 0, Green = 0, Blue = 0, Flags = 0;
};

class IGLContextBackend {
public:
    virtual ~IGLContextBackend() = default;

    // True for memory and metafile device contexts (drawing to a bitmap).
    virtual bool DrawsToBitmap(TGLDeviceContext DC) = 0;
    // The closest format to Request, 1-based; 0 when there is none.
    virtual int ChoosePixelFormat(TGLDeviceContext DC, const TPixelFormatRequest& Request) = 0;
    virtual bool SetPixelFormat(TGLDeviceContext DC, int Format) = 0;
    virtual bool DescribePixelFormat(TGLDeviceContext DC, int Format, TPixelFormatDescription& Description) = 0;
    // Creates a logical palette, selects it into DC as a foreground palette
    // and realises it; null when it cannot be created.
    virtual TGLPaletteHandle CreatePalette(TGLDeviceContext DC, const std::vector<TPaletteEntry>& Entries) = 0;
    virtual void DeletePalette(TGLPaletteHandle Palette) = 0;
    // A rendering context for DC's pixel format; null on failure.
    virtual TGLRenderContext CreateContext(TGLDeviceContext DC) = 0;
    virtual void DeleteContext(TGLRenderContext RC) = 0;
    virtual bool MakeCurrent(TGLDeviceContext DC, TGLRenderContext RC) = 0;
    // Detaches the calling thread's current context, if any.
    virtual bool ReleaseCurrent() = 0;
    virtual bool SwapBuffers(TGLDeviceContext DC) = 0;
    // Text of the system's last error, for failures that report it.
    virtual std::string LastErrorMessage() = 0;
    // An entry point that the current context's driver offers but the
    // OpenGL library does not export (on Windows, OpenGL 1.3 and extension
    // calls come from wglGetProcAddress); null when there is none. Call it
    // with the context current.
    virtual void* ContextEntry(const char* /*Name*/) { return nullptr; }
};
