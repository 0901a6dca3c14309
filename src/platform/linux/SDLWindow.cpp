#include "platform/linux/SDLWindow.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <vector>

namespace {

// SDL's handler of X errors ends the process (Xlib's default) on any error:
// another client that destroys the window would end the run with "X Error
// of failed request". The error is noted instead, and the window checks
// at its next poll whether it is still there.
bool XErrorSeen = false;
int RecordXError(Display*, XErrorEvent*)
{
    XErrorSeen = true;
    return 0;
}

void StartVideo()
{
    static bool Started = false;
    if (Started)
        return;
    // The program handles SIGTERM and SIGINT itself.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // A desktop program: no X or Wayland display means no window (SDL
    // would otherwise take over a text console through KMS).
    const char* X = std::getenv("DISPLAY");
    const char* Wayland = std::getenv("WAYLAND_DISPLAY");
    const bool HasX = X && *X, HasWayland = Wayland && *Wayland;
    if (!HasX && !HasWayland)
        throw std::runtime_error("There is no display ($DISPLAY is not set); without one, --snapshot and --bench "
                                 "still work");
    // Only the drivers of the display named: when it cannot be reached, SDL
    // would go on to an off-screen driver and draw where nobody sees it. A
    // driver the user names in SDL_VIDEODRIVER still wins over this hint.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, HasX && HasWayland ? "x11,wayland" : HasX ? "x11" : "wayland");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        const std::string Name = HasX ? X : Wayland;
        throw std::runtime_error("Cannot open the display \"" + Name + "\" (" + SDL_GetError() +
                                 "); without one, --snapshot and --bench still work");
    }
    if (std::strcmp(SDL_GetCurrentVideoDriver(), "x11") == 0)
        XSetErrorHandler(RecordXError);
    Started = true;
}

class TSDLWindow final : public IEventWindow {
public:
    explicit TSDLWindow(const TSDLWindowRequest& R)
    {
        StartVideo();
        SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        Uint32 Flags = SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI;
        int W = R.Width, H = R.Height;
        const bool SwitchMode = R.FullScreen && R.ModeWidth > 0 && R.ModeHeight > 0;
        if (SwitchMode) {
            Flags |= SDL_WINDOW_FULLSCREEN;
            W = R.ModeWidth;
            H = R.ModeHeight;
        } else if (R.FullScreen) {
            Flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        } else {
            Flags |= SDL_WINDOW_RESIZABLE;
        }
        int X = SDL_WINDOWPOS_CENTERED, Y = SDL_WINDOWPOS_CENTERED;
        SDL_Rect Bounds{};
        if (R.FullScreen && !SwitchMode && SDL_GetDisplayBounds(0, &Bounds) == 0) {
            // Without a window manager nobody enlarges the window: ask for
            // the display's size and place from the start.
            X = Bounds.x;
            Y = Bounds.y;
            W = Bounds.w;
            H = Bounds.h;
        }
        FWindow = SDL_CreateWindow(R.Title.c_str(), X, Y, W, H, Flags);
        if (!FWindow)
            throw std::runtime_error(std::string("Cannot open a window: ") + SDL_GetError());
        if (SwitchMode) {
            SDL_DisplayMode Mode{};
            Mode.w = R.ModeWidth;
            Mode.h = R.ModeHeight;
            Mode.format = R.ModeBitsPerPixel == 16 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB888;
            SDL_DisplayMode Closest{};
            // Only the asked size: the closest mode may be a larger one.
            if (!SDL_GetClosestDisplayMode(SDL_GetWindowDisplayIndex(FWindow), &Mode, &Closest) ||
                Closest.w != Mode.w || Closest.h != Mode.h || SDL_SetWindowDisplayMode(FWindow, &Closest) != 0) {
                SDL_DestroyWindow(FWindow);
                throw std::runtime_error("The display offers no mode " + std::to_string(R.ModeWidth) + "x" +
                                         std::to_string(R.ModeHeight) + "x" + std::to_string(R.ModeBitsPerPixel));
            }
        }
        if (R.FullScreen) {
            SDL_ShowCursor(SDL_DISABLE);
            SDL_RaiseWindow(FWindow);
        }
        SDL_SysWMinfo Info;
        SDL_VERSION(&Info.version);
        if (SDL_GetWindowWMInfo(FWindow, &Info) && Info.subsystem == SDL_SYSWM_X11) {
            FX = Info.info.x11.display;
            FXWindow = Info.info.x11.window;
        }
    }
    ~TSDLWindow() override
    {
        SDL_ShowCursor(SDL_ENABLE);
        SDL_DestroyWindow(FWindow);
    }

    int Width() const override
    {
        int W = 0, H = 0;
        SDL_GL_GetDrawableSize(FWindow, &W, &H);
        return std::max(W, 1);
    }
    int Height() const override
    {
        int W = 0, H = 0;
        SDL_GL_GetDrawableSize(FWindow, &W, &H);
        return std::max(H, 1);
    }
    TGLDeviceContext DC() const override { return FWindow; }
    void Focus() override {}
    bool Visible() const override { return (SDL_GetWindowFlags(FWindow) & SDL_WINDOW_SHOWN) != 0; }

    bool PollEvent(TWindowEvent& Event) override
    {
        // A window that another client destroyed closes the run.
        if (XErrorSeen && FX) {
            XErrorSeen = false;
            XWindowAttributes A{};
            if (!XGetWindowAttributes(FX, FXWindow, &A) || XErrorSeen) {
                Event = {weClose, 0, 0, false};
                return true;
            }
        }
        SDL_Event E;
        while (SDL_PollEvent(&E)) {
            switch (E.type) {
            case SDL_QUIT:
                Event = {weClose, 0, 0, false};
                return true;
            case SDL_WINDOWEVENT:
                if (E.window.event == SDL_WINDOWEVENT_CLOSE) {
                    Event = {weClose, 0, 0, false};
                    return true;
                }
                break;
            case SDL_KEYDOWN:
                Event = {weKey, 0, 0, E.key.keysym.sym == SDLK_ESCAPE};
                return true;
            case SDL_MOUSEBUTTONDOWN:
                Event = {weButton, E.button.x, E.button.y, false};
                return true;
            case SDL_MOUSEMOTION:
                Event = {wePointerMove, E.motion.x, E.motion.y, false};
                return true;
            default:
                break;
            }
        }
        return false;
    }
    void SetTitle(const std::string& Title) override { SDL_SetWindowTitle(FWindow, Title.c_str()); }
    bool SetSwapInterval(int Interval) override { return SDL_GL_SetSwapInterval(Interval) == 0; }

private:
    SDL_Window* FWindow = nullptr;
    ::Display* FX = nullptr;   // the X display and window under SDL's, when on X
    ::Window FXWindow = 0;
};

SDL_Window* AsWindow(TGLDeviceContext DC) { return static_cast<SDL_Window*>(DC); }

class TSDLGLContext final : public IGLContextBackend {
public:
    bool DrawsToBitmap(TGLDeviceContext) override { return false; }
    // The format was fixed when the window was made: there is one.
    int ChoosePixelFormat(TGLDeviceContext DC, const TPixelFormatRequest&) override { return DC ? 1 : 0; }
    bool SetPixelFormat(TGLDeviceContext DC, int Format) override { return DC && Format == 1; }
    bool DescribePixelFormat(TGLDeviceContext DC, int Format, TPixelFormatDescription& D) override
    {
        if (!DC || Format != 1)
            return false;
        D = {};
        D.DoubleBuffer = true;
        D.ColorBits = 24;
        D.DepthBits = 16;
        D.RedBits = D.GreenBits = D.BlueBits = 8;
        D.RedShift = 16;
        D.GreenShift = 8;
        return true;
    }
    TGLPaletteHandle CreatePalette(TGLDeviceContext, const std::vector<TPaletteEntry>&) override { return nullptr; }
    void DeletePalette(TGLPaletteHandle) override {}
    TGLRenderContext CreateContext(TGLDeviceContext DC) override
    {
        if (!DC)
            return nullptr;
        FLastWindow = AsWindow(DC);
        return SDL_GL_CreateContext(AsWindow(DC));
    }
    void DeleteContext(TGLRenderContext RC) override
    {
        if (RC)
            SDL_GL_DeleteContext(static_cast<SDL_GLContext>(RC));
    }
    bool MakeCurrent(TGLDeviceContext DC, TGLRenderContext RC) override
    {
        if (DC)
            FLastWindow = AsWindow(DC);
        return SDL_GL_MakeCurrent(AsWindow(DC), static_cast<SDL_GLContext>(RC)) == 0;
    }
    bool ReleaseCurrent() override
    {
        return !SDL_GL_GetCurrentContext() || SDL_GL_MakeCurrent(FLastWindow, nullptr) == 0;
    }
    bool SwapBuffers(TGLDeviceContext DC) override
    {
        if (!DC)
            return false;
        SDL_GL_SwapWindow(AsWindow(DC));
        return true;
    }
    std::string LastErrorMessage() override { return SDL_GetError(); }

private:
    SDL_Window* FLastWindow = nullptr;
};

// The decoded sound and the play position, shared with SDL's audio thread
// under SDL_LockAudioDevice.
struct TLoop {
    std::vector<Uint8> Samples;
    std::size_t Position = 0;
    Uint8 Silence = 0;
};

void FillLoop(void* User, Uint8* Stream, int Length)
{
    TLoop& L = *static_cast<TLoop*>(User);
    std::size_t Done = 0;
    const std::size_t Want = static_cast<std::size_t>(Length);
    if (L.Samples.empty()) {
        std::memset(Stream, L.Silence, Want);
        return;
    }
    while (Done < Want) {
        const std::size_t Part = std::min(Want - Done, L.Samples.size() - L.Position);
        std::memcpy(Stream + Done, L.Samples.data() + L.Position, Part);
        Done += Part;
        L.Position += Part;
        if (L.Position >= L.Samples.size())
            L.Position = 0;
    }
}

class TSDLSound final : public ISoundOutput {
public:
    TSDLSound(IEmbeddedResources& Resources, std::function<void(const std::string&)> Report)
        : FResources(Resources), FReport(std::move(Report))
    {
    }
    ~TSDLSound() override
    {
        if (FDevice)
            SDL_CloseAudioDevice(FDevice);
        if (FStarted)
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    void PlayLooping(const std::string& ResourceName) override
    {
        Stop();
        if (FFailed)
            return;
        if (!Open(ResourceName)) {
            FFailed = true;
            if (FReport)
                FReport("no sound: " + FError);
            return;
        }
        SDL_LockAudioDevice(FDevice);
        FLoop.Position = 0;
        SDL_UnlockAudioDevice(FDevice);
        SDL_PauseAudioDevice(FDevice, 0);
    }
    void Stop() override
    {
        if (FDevice)
            SDL_PauseAudioDevice(FDevice, 1);
    }

private:
    bool Open(const std::string& Name)
    {
        if (FDevice && Name == FName)
            return true;
        const auto Bytes = FResources.Find(Name, rkWave);
        if (!Bytes) {
            FError = "the program holds no sound \"" + Name + "\"";
            return false;
        }
        if (!FStarted) {
            if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
                FError = SDL_GetError();
                return false;
            }
            FStarted = true;
        }
        SDL_AudioSpec Spec{};
        Uint8* Buffer = nullptr;
        Uint32 Length = 0;
        SDL_RWops* Rw = SDL_RWFromConstMem(Bytes->data(), static_cast<int>(Bytes->size()));
        if (!Rw || !SDL_LoadWAV_RW(Rw, 1, &Spec, &Buffer, &Length)) {
            FError = SDL_GetError();
            return false;
        }
        if (FDevice)
            SDL_CloseAudioDevice(FDevice);
        FLoop.Samples.assign(Buffer, Buffer + Length);
        SDL_FreeWAV(Buffer);
        Spec.callback = FillLoop;
        Spec.userdata = &FLoop;
        Spec.samples = 1024;
        FDevice = SDL_OpenAudioDevice(nullptr, 0, &Spec, nullptr, 0);
        if (!FDevice) {
            FError = SDL_GetError();
            return false;
        }
        FLoop.Silence = Spec.silence;
        FName = Name;
        return true;
    }

    IEmbeddedResources& FResources;
    std::function<void(const std::string&)> FReport;
    TLoop FLoop;
    SDL_AudioDeviceID FDevice = 0;
    std::string FName, FError;
    bool FStarted = false, FFailed = false;
};

} // namespace

std::unique_ptr<IEventWindow> CreateSDLWindow(const TSDLWindowRequest& Request)
{
    return std::make_unique<TSDLWindow>(Request);
}

std::unique_ptr<IGLContextBackend> CreateSDLGLContext() { return std::make_unique<TSDLGLContext>(); }

std::unique_ptr<ISoundOutput> CreateSDLSound(IEmbeddedResources& Resources,
                                             std::function<void(const std::string&)> Report)
{
    return std::make_unique<TSDLSound>(Resources, std::move(Report));
}
