// Records what the program asks of the sound output; can be told to fail.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Sound.h"

class TFakeSound : public ISoundOutput {
public:
    std::vector<std::string> Calls;
    bool Fail = false;
    void PlayLooping(const std::string& Name) override
    {
        if (Fail)
            throw std::runtime_error("no wave device");
        Calls.push_back("play " + Name);
    }
    void Stop() override { Calls.push_back("stop"); }
};
