// A display that reports a given list of modes, accepts the modes a
// predicate allows and records every request. Like the real screen, its
// device context reports the mode in force, so a desktop read after a
// switch would see the switched mode.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "platform/DisplaySettings.h"

class TFakeDisplaySettings : public IDisplaySettings {
public:
    std::vector<TDisplayModeRecord> Reported;   // EnumMode's answers by number
    // Which modes the test and the switch accept.
    std::function<bool(const TDisplayModeRecord&)> Accepts = [](const TDisplayModeRecord&) { return true; };
    bool RefuseSwitch = false;                  // the test passes, the switch fails
    TDesktopCaps Desktop{32, 1024, 768};        // the user's mode

    std::optional<TDisplayModeRecord> InForce;  // a switched mode; none = the user's
    std::vector<uint32_t> Enumerated;           // mode numbers asked for
    std::vector<TDisplayModeRecord> Tested;
    std::vector<TDisplayModeRecord> Switched;   // every switch asked for
    int Resets = 0;
    int CapsReads = 0;

    bool EnumMode(uint32_t Index, TDisplayModeRecord& Mode) override
    {
        Enumerated.push_back(Index);
        if (Index >= Reported.size())
            return false;
        Mode = Reported[Index];
        return true;
    }
    TDisplayChangeResult TestMode(const TDisplayModeRecord& Mode) override
    {
        Tested.push_back(Mode);
        return Accepts(Mode) ? dcSuccessful : dcBadMode;
    }
    TDisplayChangeResult SwitchMode(const TDisplayModeRecord& Mode) override
    {
        Switched.push_back(Mode);
        if (RefuseSwitch || !Accepts(Mode))
            return dcFailed;
        InForce = Mode;
        return dcSuccessful;
    }
    TDisplayChangeResult ResetMode() override
    {
        ++Resets;
        InForce.reset();
        return dcSuccessful;
    }
    TDesktopCaps DesktopCaps() override
    {
        ++CapsReads;
        if (!InForce)
            return Desktop;
        return TDesktopCaps{static_cast<int32_t>(InForce->BitsPerPixel), static_cast<int32_t>(InForce->Width),
                            static_cast<int32_t>(InForce->Height)};
    }
};
