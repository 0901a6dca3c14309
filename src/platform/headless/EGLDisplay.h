// The EGL display of the headless backend, found without a display server
// on any driver: Mesa's surfaceless platform first, then the first device
// of EGL_EXT_platform_device (drivers without Mesa's platform, e.g. a
// vendor's GPU driver), then the library's default display. The order is a
// function over a table of EGL calls, so a test can drive it with a fake.
#pragma once

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <functional>

struct TEGLDisplayCalls {
    // eglGetPlatformDisplay(Platform, NativeDisplay, no attributes).
    std::function<EGLDisplay(EGLenum Platform, void* NativeDisplay)> GetPlatformDisplay;
    // eglQueryDevicesEXT; empty when the library does not offer it.
    std::function<EGLBoolean(EGLint MaxDevices, EGLDeviceEXT* Devices, EGLint* Count)> QueryDevices;
    std::function<EGLDisplay(EGLNativeDisplayType Native)> GetDisplay;
    // eglInitialize without the version out-parameters.
    std::function<EGLBoolean(EGLDisplay Display)> Initialize;
};

// The library's own calls; eglQueryDevicesEXT through eglGetProcAddress.
TEGLDisplayCalls SystemEGLDisplayCalls();

// The first display that initialises, each step tried only when the ones
// before it gave no display or failed to initialise; EGL_NO_DISPLAY when
// none does.
EGLDisplay OpenHeadlessDisplay(const TEGLDisplayCalls& Egl);
