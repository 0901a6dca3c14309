// The scene's looping bubble sound, switched by the SoundEnabled option.
#pragma once

#include <functional>
#include <string>

#include "platform/Sound.h"

inline constexpr const char* BubbleSoundName = "sbubles";

class TSceneSound {
public:
    // ShowError receives the message of a failure to start or stop the
    // sound; the sound option is then switched off and the scene goes on.
    TSceneSound(ISoundOutput& Output, std::function<void(const std::string&)> ShowError)
        : FOutput(Output), FShowError(std::move(ShowError))
    {
    }

    void PlayBubbleSound();   // restarts the loop from its beginning
    void StopSound();
    // Plays when SoundEnabled, stops otherwise; clears SoundEnabled when
    // the sound cannot be started or stopped.
    void ApplySoundOption(bool& SoundEnabled);

private:
    ISoundOutput& FOutput;
    std::function<void(const std::string&)> FShowError;
};
