// Named markers shared by every fake instance made from one registry, as
// named semaphores are shared by the processes of one desktop.
#pragma once

#include <map>
#include <string>

#include "fakes/CallLog.h"
#include "platform/SingleInstance.h"

class TFakeSingleInstance : public ISingleInstance {
public:
    using TMarkers = std::map<std::string, int>;   // name -> holders

    TFakeSingleInstance(TCallLog& Log, TMarkers& Markers) : FLog(Log), FMarkers(Markers) {}
    ~TFakeSingleInstance() override { Release(); }

    bool Fail = false;   // the system makes no marker

    TInstanceClaim Claim(const std::string& Name) override
    {
        FLog.Add("Instance.Claim(" + Name + ")");
        if (Fail)
            return icFailed;
        Release();
        FHeld = Name;
        return FMarkers[Name]++ == 0 ? icFirst : icDuplicate;
    }
    void Release() override
    {
        if (FHeld.empty())
            return;
        FLog.Add("Instance.Release");
        if (--FMarkers[FHeld] == 0)
            FMarkers.erase(FHeld);
        FHeld.clear();
    }

private:
    TCallLog& FLog;
    TMarkers& FMarkers;
    std::string FHeld;
};
