// A sound output that plays nothing: headless runs (snapshots, benchmarks)
// and the screen-saver hack, whose host owns the audio. SDL audio is the
// other Linux backend of the sound seam.
#pragma once

#include <memory>

#include "platform/Sound.h"

std::unique_ptr<ISoundOutput> CreateSilentSoundOutput();
