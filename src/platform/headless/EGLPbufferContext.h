// The GL context backend of headless runs: EGL with a compatibility-profile
// desktop GL context on off-screen pbuffers, no display server needed. Its
// "device contexts" are pbuffer targets (THeadlessWindow, HeadlessWindow.h)
// that take a pixel format once (SetPixelFormat creates the pbuffer) and
// must outlive the contexts made current on them. An EGL window context
// (an SDL or X window) is another backend beside this one.
#pragma once

#include <memory>

#include "platform/GLContext.h"

std::unique_ptr<IGLContextBackend> CreateEGLPbufferContext();

// A pbuffer target of at least 1 x 1 pixels, and its end (null is allowed).
TGLDeviceContext CreatePbufferTarget(int Width, int Height);
void DestroyPbufferTarget(TGLDeviceContext Target);
