#include "scene/SceneSound.h"

#include <exception>

void TSceneSound::PlayBubbleSound()
{
    StopSound();
    FOutput.PlayLooping(BubbleSoundName);
}

void TSceneSound::StopSound() { FOutput.Stop(); }

void TSceneSound::ApplySoundOption(bool& SoundEnabled)
{
    try {
        if (SoundEnabled)
            PlayBubbleSound();
        else
            StopSound();
    } catch (const std::exception& E) {
        if (FShowError)
            FShowError(E.what());
        SoundEnabled = false;
    }
}
