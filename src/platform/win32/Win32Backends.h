// The Windows backends a program picks by name: the WGL context on a
// window's device context and the PlaySound output of the module's wave
// resource. The clock, process control, library loader and resources have
// one backend per system and are made by the seam headers' Create... calls.
#pragma once

#include <memory>

#include "platform/GLContext.h"
#include "platform/Sound.h"

std::unique_ptr<IGLContextBackend> CreateWGLContext();
std::unique_ptr<ISoundOutput> CreatePlaySoundOutput();
