// Platform seam: one looping stream of an embedded wave sound.
//
// Windows: PlaySound with the resource name and SND_RESOURCE | SND_ASYNC |
// SND_NODEFAULT | SND_LOOP | SND_NOSTOP; stopping is PlaySound(NULL, NULL,
// SND_PURGE). Starting a sound replaces the one playing. Neither call
// blocks, and a sound that cannot be played is simply not heard. Linux:
// a silent output (platform/headless/SilentSound.h) for the headless runs
// and the screen-saver hack, whose host owns the audio; SDL audio can join
// it as another backend. The program picks one and hands it down.
#pragma once

#include <memory>
#include <string>

class ISoundOutput {
public:
    virtual ~ISoundOutput() = default;
    virtual void PlayLooping(const std::string& ResourceName) = 0;
    virtual void Stop() = 0;
};
