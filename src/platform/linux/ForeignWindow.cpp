#include "platform/linux/ForeignWindow.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Xlib's default handler ends the process on any error; a daemon that
// destroys its window while a frame is drawn must end the run instead.
bool XErrorSeen = false;
int RecordXError(Display*, XErrorEvent*)
{
    XErrorSeen = true;
    return 0;
}

struct TForeignTarget {
    ::Display* X = nullptr;
    Window W = 0;
    EGLDisplay Egl = EGL_NO_DISPLAY;
    VisualID Visual = 0;
    int Depth = 24;   // of the window's visual
    int Width = 1, Height = 1;
    std::vector<EGLConfig> Formats;   // candidates, format N is Formats[N - 1]
    EGLSurface Surface = EGL_NO_SURFACE;
    EGLConfig Config = nullptr;
};

TForeignTarget* AsTarget(TGLDeviceContext DC) { return static_cast<TForeignTarget*>(DC); }

class TForeignWindow final : public IEventWindow {
public:
    explicit TForeignWindow(uint64_t Id)
    {
        T.X = XOpenDisplay(nullptr);
        if (!T.X)
            throw std::runtime_error("Cannot open the X display");
        XSetErrorHandler(RecordXError);
        T.W = Id == 0 ? DefaultRootWindow(T.X) : static_cast<Window>(Id);
        XWindowAttributes A{};
        XErrorSeen = false;
        if (!XGetWindowAttributes(T.X, T.W, &A) || XErrorSeen) {
            XCloseDisplay(T.X);
            throw std::runtime_error("There is no window " + std::to_string(Id) + " on the X display");
        }
        T.Visual = XVisualIDFromVisual(A.visual);
        T.Depth = A.depth;
        T.Width = std::max(A.width, 1);
        T.Height = std::max(A.height, 1);
        T.Egl = eglGetPlatformDisplay(EGL_PLATFORM_X11_KHR, T.X, nullptr);
        if (T.Egl == EGL_NO_DISPLAY || !eglInitialize(T.Egl, nullptr, nullptr)) {
            XCloseDisplay(T.X);
            throw std::runtime_error("EGL does not draw on this X display");
        }
    }
    ~TForeignWindow() override
    {
        if (T.Surface != EGL_NO_SURFACE)
            eglDestroySurface(T.Egl, T.Surface);
        eglTerminate(T.Egl);
        XCloseDisplay(T.X);
    }

    int Width() const override { return T.Width; }
    int Height() const override { return T.Height; }
    TGLDeviceContext DC() const override { return const_cast<TForeignTarget*>(&T); }

    // No input is read here: only the size is followed, and a window that
    // vanished closes the run.
    bool PollEvent(TWindowEvent& Event) override
    {
        XWindowAttributes A{};
        if (!XGetWindowAttributes(T.X, T.W, &A) || XErrorSeen) {
            Event = {weClose, 0, 0, false};
            return true;
        }
        T.Width = std::max(A.width, 1);
        T.Height = std::max(A.height, 1);
        return false;
    }
    void SetTitle(const std::string&) override {}   // the owner's title stays
    bool SetSwapInterval(int Interval) override { return eglSwapInterval(T.Egl, Interval) == EGL_TRUE; }

private:
    TForeignTarget T;
};

class TEGLWindowContext final : public IGLContextBackend {
public:
    bool DrawsToBitmap(TGLDeviceContext) override { return false; }

    int ChoosePixelFormat(TGLDeviceContext DC, const TPixelFormatRequest& Request) override
    {
        TForeignTarget* T = AsTarget(DC);
        if (!T)
            return 0;
        const EGLint Attribs[] = {EGL_SURFACE_TYPE, EGL_WINDOW_BIT,   EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                  EGL_RED_SIZE,     8,                EGL_GREEN_SIZE,      8,
                                  EGL_BLUE_SIZE,    8,                EGL_DEPTH_SIZE,      Request.DepthBits,
                                  EGL_NONE};
        EGLint Count = 0;
        if (!eglChooseConfig(T->Egl, Attribs, nullptr, 0, &Count) || Count < 1)
            return 0;
        T->Formats.assign(static_cast<std::size_t>(Count), nullptr);
        if (!eglChooseConfig(T->Egl, Attribs, T->Formats.data(), Count, &Count))
            return 0;
        T->Formats.resize(static_cast<std::size_t>(Count));
        // The window's visual is fixed by its owner: take a config made for
        // it. Where EGL offers none (Mesa has configs for 24-bit visuals
        // only, and a compositing daemon may hand over a 32-bit ARGB
        // window), a config of the window's depth draws there as well.
        for (std::size_t I = 0; I < T->Formats.size(); ++I) {
            EGLint Visual = 0;
            if (eglGetConfigAttrib(T->Egl, T->Formats[I], EGL_NATIVE_VISUAL_ID, &Visual) &&
                static_cast<VisualID>(Visual) == T->Visual)
                return static_cast<int>(I + 1);
        }
        for (std::size_t I = 0; I < T->Formats.size(); ++I) {
            EGLint Size = 0;
            if (eglGetConfigAttrib(T->Egl, T->Formats[I], EGL_BUFFER_SIZE, &Size) && Size == T->Depth)
                return static_cast<int>(I + 1);
        }
        return 0;
    }

    bool SetPixelFormat(TGLDeviceContext DC, int Format) override
    {
        TForeignTarget* T = AsTarget(DC);
        if (!T || Format < 1 || static_cast<std::size_t>(Format) > T->Formats.size())
            return false;
        if (T->Surface != EGL_NO_SURFACE)
            return T->Config == T->Formats[static_cast<std::size_t>(Format - 1)];
        T->Config = T->Formats[static_cast<std::size_t>(Format - 1)];
        T->Surface = eglCreateWindowSurface(T->Egl, T->Config, static_cast<EGLNativeWindowType>(T->W), nullptr);
        return T->Surface != EGL_NO_SURFACE;
    }

    bool DescribePixelFormat(TGLDeviceContext DC, int Format, TPixelFormatDescription& D) override
    {
        TForeignTarget* T = AsTarget(DC);
        if (!T || Format < 1 || static_cast<std::size_t>(Format) > T->Formats.size())
            return false;
        const EGLConfig C = T->Formats[static_cast<std::size_t>(Format - 1)];
        const auto Get = [&](EGLint Name) {
            EGLint V = 0;
            return eglGetConfigAttrib(T->Egl, C, Name, &V) ? V : 0;
        };
        D = {};
        D.DoubleBuffer = true;
        D.RedBits = Get(EGL_RED_SIZE);
        D.GreenBits = Get(EGL_GREEN_SIZE);
        D.BlueBits = Get(EGL_BLUE_SIZE);
        D.AlphaBits = Get(EGL_ALPHA_SIZE);
        D.ColorBits = D.RedBits + D.GreenBits + D.BlueBits;
        D.DepthBits = Get(EGL_DEPTH_SIZE);
        D.StencilBits = Get(EGL_STENCIL_SIZE);
        D.GreenShift = D.BlueBits;
        D.RedShift = D.BlueBits + D.GreenBits;
        return true;
    }

    TGLPaletteHandle CreatePalette(TGLDeviceContext, const std::vector<TPaletteEntry>&) override { return nullptr; }
    void DeletePalette(TGLPaletteHandle) override {}

    TGLRenderContext CreateContext(TGLDeviceContext DC) override
    {
        TForeignTarget* T = AsTarget(DC);
        if (!T || !T->Config || !eglBindAPI(EGL_OPENGL_API))
            return nullptr;
        const EGLint Attribs[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT,
                                  EGL_NONE};
        const EGLContext C = eglCreateContext(T->Egl, T->Config, EGL_NO_CONTEXT, Attribs);
        if (C == EGL_NO_CONTEXT)
            return nullptr;
        FDisplay = T->Egl;
        return C;
    }
    void DeleteContext(TGLRenderContext RC) override
    {
        if (RC && FDisplay != EGL_NO_DISPLAY)
            eglDestroyContext(FDisplay, static_cast<EGLContext>(RC));
    }
    bool MakeCurrent(TGLDeviceContext DC, TGLRenderContext RC) override
    {
        TForeignTarget* T = AsTarget(DC);
        if (!T)
            return ReleaseCurrent();
        return eglMakeCurrent(T->Egl, T->Surface, T->Surface, static_cast<EGLContext>(RC)) == EGL_TRUE;
    }
    bool ReleaseCurrent() override
    {
        const EGLDisplay D = eglGetCurrentDisplay();
        return D == EGL_NO_DISPLAY || eglMakeCurrent(D, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT) == EGL_TRUE;
    }
    bool SwapBuffers(TGLDeviceContext DC) override
    {
        TForeignTarget* T = AsTarget(DC);
        return T && eglSwapBuffers(T->Egl, T->Surface) == EGL_TRUE;
    }
    std::string LastErrorMessage() override { return "EGL error " + std::to_string(eglGetError()); }

private:
    EGLDisplay FDisplay = EGL_NO_DISPLAY;
};

} // namespace

std::unique_ptr<IEventWindow> OpenForeignWindow(uint64_t WindowId) { return std::make_unique<TForeignWindow>(WindowId); }

std::unique_ptr<IGLContextBackend> CreateEGLWindowContext() { return std::make_unique<TEGLWindowContext>(); }
