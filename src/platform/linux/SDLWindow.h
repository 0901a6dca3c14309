// The Linux program's own window on SDL2: a resizable window or one that
// covers the display, its GL context backend (an SDL GL context on the
// window; the window itself is the "device context"), and SDL audio for
// the looping bubble sound.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/EventWindow.h"
#include "platform/GLContext.h"
#include "platform/Resources.h"
#include "platform/Sound.h"

struct TSDLWindowRequest {
    std::string Title;
    int Width = 800, Height = 600;   // a window's size
    bool FullScreen = false;         // covers the display at its current mode
    // With FullScreen: switch the display to this mode (0 = keep). SDL gives
    // the desktop's mode back when the window goes, whatever ends the run.
    int ModeWidth = 0, ModeHeight = 0, ModeBitsPerPixel = 0;
};

// Starts SDL's video (once) and opens the window; throws std::runtime_error
// with SDL's message when it cannot.
std::unique_ptr<IEventWindow> CreateSDLWindow(const TSDLWindowRequest& Request);

// GL contexts on SDL windows (DC = the window's SDL_Window*).
std::unique_ptr<IGLContextBackend> CreateSDLGLContext();

// Plays embedded WAVE resources (SDL's own WAVE loader, so Microsoft ADPCM
// too) in a loop on SDL audio. When the sound cannot be played, Report gets
// one line (once per process) and the run goes on in silence.
std::unique_ptr<ISoundOutput> CreateSDLSound(IEmbeddedResources& Resources,
                                             std::function<void(const std::string&)> Report);
