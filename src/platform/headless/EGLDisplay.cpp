#include "platform/headless/EGLDisplay.h"

namespace {

EGLDisplay Initialised(const TEGLDisplayCalls& Egl, EGLDisplay Display)
{
    return Display != EGL_NO_DISPLAY && Egl.Initialize(Display) ? Display : EGL_NO_DISPLAY;
}

EGLDisplay FirstDeviceDisplay(const TEGLDisplayCalls& Egl)
{
    if (!Egl.QueryDevices)
        return EGL_NO_DISPLAY;
    EGLDeviceEXT Device = EGL_NO_DEVICE_EXT;
    EGLint Count = 0;
    if (!Egl.QueryDevices(1, &Device, &Count) || Count < 1 || Device == EGL_NO_DEVICE_EXT)
        return EGL_NO_DISPLAY;
    return Egl.GetPlatformDisplay(EGL_PLATFORM_DEVICE_EXT, Device);
}

} // namespace

TEGLDisplayCalls SystemEGLDisplayCalls()
{
    TEGLDisplayCalls Egl;
    Egl.GetPlatformDisplay = [](EGLenum Platform, void* Native) {
        return eglGetPlatformDisplay(Platform, Native, nullptr);
    };
    if (auto Query = reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT")))
        Egl.QueryDevices = Query;
    Egl.GetDisplay = [](EGLNativeDisplayType Native) { return eglGetDisplay(Native); };
    Egl.Initialize = [](EGLDisplay Display) { return eglInitialize(Display, nullptr, nullptr); };
    return Egl;
}

EGLDisplay OpenHeadlessDisplay(const TEGLDisplayCalls& Egl)
{
    EGLDisplay D = Initialised(Egl, Egl.GetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY));
    if (D == EGL_NO_DISPLAY)
        D = Initialised(Egl, FirstDeviceDisplay(Egl));
    if (D == EGL_NO_DISPLAY)
        D = Initialised(Egl, Egl.GetDisplay(EGL_DEFAULT_DISPLAY));
    return D;
}
