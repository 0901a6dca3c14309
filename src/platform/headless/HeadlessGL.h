// Off-screen drawing targets of the headless EGL backend: each stands in
// for a device context. It takes a pixel format once (SetPixelFormat
// creates its pbuffer) and must outlive the contexts made current on it.
#pragma once

#include "platform/GLContext.h"

TGLDeviceContext CreateHeadlessDC(int Width, int Height);
void DestroyHeadlessDC(TGLDeviceContext DC);
