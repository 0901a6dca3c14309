// The GL context backend of headless runs: EGL with a compatibility-profile
// desktop GL context on off-screen pbuffers, no display server needed. Its
// "device contexts" are pbuffer targets (THeadlessWindow, HeadlessWindow.h)
// that take a pixel format once (SetPixelFormat creates the pbuffer) and
// must outlive the contexts made current on them. An EGL window context
// (an SDL or X window) is another backend beside this one.
#pragma once

#include <memory>
#include <vector>

#include "platform/GLContext.h"

std::unique_ptr<IGLContextBackend> CreateEGLPbufferContext();

// The sizes of one EGL config, as far as choosing one goes.
struct TEGLConfigSizes {
    int Red = 0, Green = 0, Blue = 0, Alpha = 0, Depth = 0, Stencil = 0, Samples = 0;
};

// Which of Matches (the configs meeting Request, in EGL's order) a 32-bit
// desktop would give: 8 bits a colour channel, no multisampling, the least
// alpha and stencil asked for, and a depth buffer of at least the request,
// 24 bits where there is one (what desktop drivers give for a 16-bit
// request). -1 when none is 8-8-8: the caller then takes the first match.
int DesktopLikeConfig(const std::vector<TEGLConfigSizes>& Matches, const TPixelFormatRequest& Request);

// A pbuffer target of at least 1 x 1 pixels, and its end (null is allowed).
TGLDeviceContext CreatePbufferTarget(int Width, int Height);
void DestroyPbufferTarget(TGLDeviceContext Target);
