// The frame rate in a corner of the picture ("FPS: 60"), drawn just before
// each swap: a GL context backend that wraps another and draws the text in
// its SwapBuffers. The letters come from a tiny built-in 3 x 5 font, each
// lit cell one quad, all sent through one vertex array (OpenGL 1.1, no
// textures). Every GL state it changes is put back, so the engine's own
// record of the state stays true.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/GLContext.h"

// The quads (4 corners of x, y each) of Text in the font, from its
// bottom-left corner at (X, Y) with cells of Cell pixels; unknown
// characters draw as blanks.
std::vector<float> FpsTextQuads(const std::string& Text, float X, float Y, float Cell);

class TFpsOverlayBackend final : public IGLContextBackend {
public:
    TFpsOverlayBackend(IGLContextBackend& Inner, std::function<int()> FramesPerSecond)
        : FInner(Inner), FFramesPerSecond(std::move(FramesPerSecond))
    {
    }

    bool DrawsToBitmap(TGLDeviceContext DC) override { return FInner.DrawsToBitmap(DC); }
    int ChoosePixelFormat(TGLDeviceContext DC, const TPixelFormatRequest& R) override
    {
        return FInner.ChoosePixelFormat(DC, R);
    }
    bool SetPixelFormat(TGLDeviceContext DC, int F) override { return FInner.SetPixelFormat(DC, F); }
    bool DescribePixelFormat(TGLDeviceContext DC, int F, TPixelFormatDescription& D) override
    {
        return FInner.DescribePixelFormat(DC, F, D);
    }
    TGLPaletteHandle CreatePalette(TGLDeviceContext DC, const std::vector<TPaletteEntry>& E) override
    {
        return FInner.CreatePalette(DC, E);
    }
    void DeletePalette(TGLPaletteHandle P) override { FInner.DeletePalette(P); }
    TGLRenderContext CreateContext(TGLDeviceContext DC) override { return FInner.CreateContext(DC); }
    void DeleteContext(TGLRenderContext RC) override { FInner.DeleteContext(RC); }
    bool MakeCurrent(TGLDeviceContext DC, TGLRenderContext RC) override { return FInner.MakeCurrent(DC, RC); }
    bool ReleaseCurrent() override { return FInner.ReleaseCurrent(); }
    bool SwapBuffers(TGLDeviceContext DC) override;
    std::string LastErrorMessage() override { return FInner.LastErrorMessage(); }
    void* ContextEntry(const char* Name) override { return FInner.ContextEntry(Name); }

private:
    IGLContextBackend& FInner;
    std::function<int()> FFramesPerSecond;
};
