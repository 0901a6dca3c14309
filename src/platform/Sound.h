// Platform seam: one looping stream of an embedded wave sound.
//
// Windows: PlaySound with the resource name and SND_RESOURCE | SND_ASYNC |
// SND_NODEFAULT | SND_LOOP | SND_NOSTOP; stopping is PlaySound(NULL, NULL,
// SND_PURGE). Starting a sound replaces the one playing. Neither call
// blocks, and a sound that cannot be played is simply not heard.
#pragma once

#include <memory>
#include <string>

class ISoundOutput {
public:
    virtual ~ISoundOutput() = default;
    virtual void PlayLooping(const std::string& ResourceName) = 0;
    virtual void Stop() = 0;
};

std::unique_ptr<ISoundOutput> CreateSoundOutput();
