// A scripted GL context backend: it hands out the pixel format described
// in Described, fails the step named in FailAt, and logs every call in
// order ("ChoosePixelFormat", "CreateContext", "ReleaseCurrent", ...).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/GLContext.h"

class TFakeGLContext : public IGLContextBackend {
public:
    // Failures to script: 0 = none.
    enum TStep { fsNone, fsChoose, fsSet, fsPalette, fsContext, fsRelease };

    TPixelFormatDescription Described;
    TStep FailAt = fsNone;
    bool BitmapDC = false;
    std::string LastError = "System Error.  Code: 6.\r\nThe handle is invalid.";

    std::vector<std::string> Log;
    TPixelFormatRequest LastRequest;
    std::vector<TPaletteEntry> LastPalette;
    int LiveContexts = 0;
    int LivePalettes = 0;

    TFakeGLContext();

    bool DrawsToBitmap(TGLDeviceContext DC) override;
    int ChoosePixelFormat(TGLDeviceContext DC, const TPixelFormatRequest& Request) override;
    bool SetPixelFormat(TGLDeviceContext DC, int Format) override;
    bool DescribePixelFormat(TGLDeviceContext DC, int Format, TPixelFormatDescription& Description) override;
    TGLPaletteHandle CreatePalette(TGLDeviceContext DC, const std::vector<TPaletteEntry>& Entries) override;
    void DeletePalette(TGLPaletteHandle Palette) override;
    TGLRenderContext CreateContext(TGLDeviceContext DC) override;
    void DeleteContext(TGLRenderContext RC) override;
    bool MakeCurrent(TGLDeviceContext DC, TGLRenderContext RC) override;
    bool ReleaseCurrent() override;
    bool SwapBuffers(TGLDeviceContext DC) override;
    std::string LastErrorMessage() override { return LastError; }
    // What the driver offers beyond the library (by name); every name asked
    // is logged in Asked.
    std::map<std::string, void*> Entries;
    std::vector<std::string> Asked;
    void* ContextEntry(const char* Name) override
    {
        Asked.push_back(Name);
        const auto It = Entries.find(Name);
        return It == Entries.end() ? nullptr : It->second;
    }

private:
    int FContextTag = 0;
    int FPaletteTag = 0;
};
