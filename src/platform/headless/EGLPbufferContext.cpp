// The GL context seam on EGL: a headless display (EGLDisplay.h), off-screen
// pbuffers, a compatibility-profile desktop GL context.
#include "platform/headless/EGLPbufferContext.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "platform/headless/EGLDisplay.h"

namespace {

struct THeadlessDC {
    int Width = 0;
    int Height = 0;
    int Format = 0;
    EGLConfig Config = nullptr;
    EGLSurface Surface = EGL_NO_SURFACE;
};

THeadlessDC* AsDC(TGLDeviceContext DC) { return static_cast<THeadlessDC*>(DC); }

// One display for the process, kept to the end: contexts of several
// engines share it.
EGLDisplay Display()
{
    static const EGLDisplay D = OpenHeadlessDisplay(SystemEGLDisplayCalls());
    return D;
}

std::vector<EGLConfig> AllConfigs()
{
    EGLint Count = 0;
    if (Display() == EGL_NO_DISPLAY || !eglGetConfigs(Display(), nullptr, 0, &Count) || Count <= 0)
        return {};
    std::vector<EGLConfig> Configs(static_cast<std::size_t>(Count));
    if (!eglGetConfigs(Display(), Configs.data(), Count, &Count))
        return {};
    Configs.resize(static_cast<std::size_t>(Count));
    return Configs;
}

EGLConfig ConfigOf(int Format)
{
    const std::vector<EGLConfig> Configs = AllConfigs();
    if (Format < 1 || static_cast<std::size_t>(Format) > Configs.size())
        return nullptr;
    return Configs[static_cast<std::size_t>(Format - 1)];
}

int Attrib(EGLConfig Config, EGLint Name)
{
    EGLint Value = 0;
    return eglGetConfigAttrib(Display(), Config, Name, &Value) ? Value : 0;
}

EGLContext NewContext(EGLConfig Config)
{
    if (!eglBindAPI(EGL_OPENGL_API))
        return EGL_NO_CONTEXT;
    const EGLint Attribs[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT,
                              EGL_NONE};
    return eglCreateContext(Display(), Config, EGL_NO_CONTEXT, Attribs);
}

// Software rendering shows in the renderer string, which only a current
// context can tell: ask once through a throw-away 1 x 1 context.
bool SoftwareRenderer(EGLConfig Config)
{
    static int Cached = -1;
    if (Cached >= 0)
        return Cached == 1;
    const EGLint PbAttribs[] = {EGL_WIDTH, 1, EGL_HEIGHT, 1, EGL_NONE};
    EGLSurface Surface = eglCreatePbufferSurface(Display(), Config, PbAttribs);
    EGLContext Context = Surface == EGL_NO_SURFACE ? EGL_NO_CONTEXT : NewContext(Config);
    if (Context == EGL_NO_CONTEXT) {
        if (Surface != EGL_NO_SURFACE)
            eglDestroySurface(Display(), Surface);
        return false;
    }
    const EGLDisplay OldDisplay = eglGetCurrentDisplay();
    const EGLContext OldContext = eglGetCurrentContext();
    const EGLSurface OldDraw = eglGetCurrentSurface(EGL_DRAW);
    const EGLSurface OldRead = eglGetCurrentSurface(EGL_READ);
    std::string Renderer;
    if (eglMakeCurrent(Display(), Surface, Surface, Context)) {
        // glGetString(GL_RENDERER), asked of the context itself.
        using TGetString = const unsigned char* (*)(unsigned int Name);
        constexpr unsigned int GLRenderer = 0x1F01;
        auto GetString = reinterpret_cast<TGetString>(eglGetProcAddress("glGetString"));
        const unsigned char* Text = GetString ? GetString(GLRenderer) : nullptr;
        if (Text)
            Renderer = reinterpret_cast<const char*>(Text);
        Cached = (Renderer.find("llvmpipe") != std::string::npos || Renderer.find("softpipe") != std::string::npos ||
                  Renderer.find("swrast") != std::string::npos)
                     ? 1
                     : 0;
    }
    if (OldContext != EGL_NO_CONTEXT)
        eglMakeCurrent(OldDisplay, OldDraw, OldRead, OldContext);
    else
        eglMakeCurrent(Display(), EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(Display(), Context);
    eglDestroySurface(Display(), Surface);
    return Cached == 1;
}

class TEGLPbufferContext final : public IGLContextBackend {
public:
    bool DrawsToBitmap(TGLDeviceContext) override { return false; }

    int ChoosePixelFormat(TGLDeviceContext DC, const TPixelFormatRequest& Request) override
    {
        if (!DC || Display() == EGL_NO_DISPLAY)
            return 0;
        // Every config of at least the requested sizes, then the one a
        // desktop would give; Mesa lists 5-6-5 first for a 16-bit request.
        const EGLint Attribs[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT,
                                  EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                  EGL_COLOR_BUFFER_TYPE, EGL_RGB_BUFFER,
                                  EGL_BUFFER_SIZE, Request.ColorBits,
                                  EGL_ALPHA_SIZE, Request.AlphaBits,
                                  EGL_DEPTH_SIZE, Request.DepthBits,
                                  EGL_STENCIL_SIZE, Request.StencilBits,
                                  EGL_NONE};
        EGLint Count = 0;
        if (!eglChooseConfig(Display(), Attribs, nullptr, 0, &Count) || Count < 1)
            return 0;
        std::vector<EGLConfig> Matches(static_cast<std::size_t>(Count));
        if (!eglChooseConfig(Display(), Attribs, Matches.data(), Count, &Count) || Count < 1)
            return 0;
        Matches.resize(static_cast<std::size_t>(Count));
        std::vector<TEGLConfigSizes> Sizes;
        for (EGLConfig Config : Matches)
            Sizes.push_back({Attrib(Config, EGL_RED_SIZE), Attrib(Config, EGL_GREEN_SIZE),
                             Attrib(Config, EGL_BLUE_SIZE), Attrib(Config, EGL_ALPHA_SIZE),
                             Attrib(Config, EGL_DEPTH_SIZE), Attrib(Config, EGL_STENCIL_SIZE),
                             Attrib(Config, EGL_SAMPLES)});
        const int Desktop = DesktopLikeConfig(Sizes, Request);
        const EGLConfig Chosen = Matches[Desktop < 0 ? 0 : static_cast<std::size_t>(Desktop)];
        const std::vector<EGLConfig> Configs = AllConfigs();
        for (std::size_t I = 0; I < Configs.size(); ++I)
            if (Configs[I] == Chosen)
                return static_cast<int>(I + 1);
        return 0;
    }

    bool SetPixelFormat(TGLDeviceContext DC, int Format) override
    {
        THeadlessDC* H = AsDC(DC);
        if (!H)
            return false;
        if (H->Format != 0)   // a target takes one format for its life
            return H->Format == Format;
        EGLConfig Config = ConfigOf(Format);
        if (!Config)
            return false;
        const EGLint Attribs[] = {EGL_WIDTH, H->Width, EGL_HEIGHT, H->Height, EGL_NONE};
        EGLSurface Surface = eglCreatePbufferSurface(Display(), Config, Attribs);
        if (Surface == EGL_NO_SURFACE)
            return false;
        H->Format = Format;
        H->Config = Config;
        H->Surface = Surface;
        return true;
    }

    bool DescribePixelFormat(TGLDeviceContext, int Format, TPixelFormatDescription& D) override
    {
        EGLConfig Config = ConfigOf(Format);
        if (!Config)
            return false;
        D.DoubleBuffer = false;   // a pbuffer has one colour buffer
        D.NeedPalette = false;
        D.RedBits = Attrib(Config, EGL_RED_SIZE);
        D.GreenBits = Attrib(Config, EGL_GREEN_SIZE);
        D.BlueBits = Attrib(Config, EGL_BLUE_SIZE);
        D.RedShift = D.GreenBits + D.BlueBits;
        D.GreenShift = D.BlueBits;
        D.BlueShift = 0;
        D.ColorBits = D.RedBits + D.GreenBits + D.BlueBits;
        D.AlphaBits = Attrib(Config, EGL_ALPHA_SIZE);
        D.AccumBits = 0;
        D.DepthBits = Attrib(Config, EGL_DEPTH_SIZE);
        D.StencilBits = Attrib(Config, EGL_STENCIL_SIZE);
        D.Generic = SoftwareRenderer(Config);
        return true;
    }

    // EGL has no palette formats.
    TGLPaletteHandle CreatePalette(TGLDeviceContext, const std::vector<TPaletteEntry>&) override { return nullptr; }
    void DeletePalette(TGLPaletteHandle) override {}

    TGLRenderContext CreateContext(TGLDeviceContext DC) override
    {
        THeadlessDC* H = AsDC(DC);
        if (!H || !H->Config)
            return nullptr;
        EGLContext Context = NewContext(H->Config);
        return Context == EGL_NO_CONTEXT ? nullptr : Context;
    }

    void DeleteContext(TGLRenderContext RC) override { eglDestroyContext(Display(), static_cast<EGLContext>(RC)); }

    bool MakeCurrent(TGLDeviceContext DC, TGLRenderContext RC) override
    {
        THeadlessDC* H = AsDC(DC);
        if (!H || H->Surface == EGL_NO_SURFACE)
            return false;
        return eglMakeCurrent(Display(), H->Surface, H->Surface, static_cast<EGLContext>(RC)) == EGL_TRUE;
    }

    bool ReleaseCurrent() override
    {
        if (Display() == EGL_NO_DISPLAY)
            return false;
        return eglMakeCurrent(Display(), EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT) == EGL_TRUE;
    }

    bool SwapBuffers(TGLDeviceContext DC) override
    {
        THeadlessDC* H = AsDC(DC);
        return H && H->Surface != EGL_NO_SURFACE && eglSwapBuffers(Display(), H->Surface) == EGL_TRUE;
    }

    std::string LastErrorMessage() override
    {
        char Text[48];
        std::snprintf(Text, sizeof(Text), "EGL error 0x%04X", static_cast<unsigned>(eglGetError()));
        return Text;
    }
};

} // namespace

int DesktopLikeConfig(const std::vector<TEGLConfigSizes>& Matches, const TPixelFormatRequest& Request)
{
    constexpr int DesktopDepth = 24;
    int Best = -1;
    // Smaller is better: below the desktop's depth, then the sizes beyond it.
    const auto Cost = [&](const TEGLConfigSizes& C) {
        return std::tuple(C.Depth < DesktopDepth, C.Depth, C.Alpha, C.Stencil);
    };
    for (std::size_t I = 0; I < Matches.size(); ++I) {
        const TEGLConfigSizes& C = Matches[I];
        if (C.Red != 8 || C.Green != 8 || C.Blue != 8 || C.Samples != 0 || C.Alpha < Request.AlphaBits ||
            C.Depth < Request.DepthBits || C.Stencil < Request.StencilBits)
            continue;
        if (Best < 0 || Cost(C) < Cost(Matches[static_cast<std::size_t>(Best)]))
            Best = static_cast<int>(I);
    }
    return Best;
}

TGLDeviceContext CreatePbufferTarget(int Width, int Height)
{
    auto* H = new THeadlessDC;
    H->Width = Width < 1 ? 1 : Width;
    H->Height = Height < 1 ? 1 : Height;
    return H;
}

void DestroyPbufferTarget(TGLDeviceContext Target)
{
    THeadlessDC* H = AsDC(Target);
    if (!H)
        return;
    if (H->Surface != EGL_NO_SURFACE)
        eglDestroySurface(Display(), H->Surface);
    delete H;
}

std::unique_ptr<IGLContextBackend> CreateEGLPbufferContext() { return std::make_unique<TEGLPbufferContext>(); }
