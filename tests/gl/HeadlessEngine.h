// An engine on a real headless context: an off-screen window of Size x Size
// pixels, the EGL pbuffer backend and the system's GL libraries. Start binds
// the engine to the window and makes its context current; Stop ends it.
#pragma once

#include <memory>

#include "fakes/SystemBackends.h"
#include "gl/GLClasses.h"
#include "platform/headless/EGLPbufferContext.h"
#include "platform/headless/HeadlessWindow.h"

class THeadlessEngine {
public:
    explicit THeadlessEngine(int Size) : Window(Size, Size) {}

    THeadlessWindow Window;
    std::unique_ptr<IGLContextBackend> Context = CreateEGLPbufferContext();
    std::unique_ptr<ILibraryLoader> Libraries = CreateSystemLibraryLoader();
    TOpenGLEngine Engine{*Context, *Libraries};

    // The engine's defaults, at least ColorBits of colour.
    bool Start(int ColorBits = 16)
    {
        Engine.SetDC(Window.DC());
        Engine.SetDefaults();
        Engine.ColorBits = ColorBits;
        if (!Engine.InitOpenGL())
            return false;
        Engine.MakeCurrent();
        return true;
    }
    void Stop()
    {
        Engine.MakeNotCurrent();
        Engine.DoneOpenGL();
        Engine.SetDC(nullptr);
    }
};
