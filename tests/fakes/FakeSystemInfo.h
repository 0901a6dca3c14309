// System folders and long names as a test sets them.
#pragma once

#include <map>
#include <string>

#include "fakes/CallLog.h"
#include "platform/SystemInfo.h"

class TFakeSystemInfo : public ISystemInfo {
public:
    explicit TFakeSystemInfo(TCallLog& Log) : FLog(Log) {}

    std::map<std::string, std::string> LongNames;   // short path -> long path
    std::string System = "C:\\WINDOWS\\system32";
    std::string Windows = "C:\\WINDOWS";
    std::string LocalAppData;   // empty: unknown

    std::string LongPathName(const std::string& Path) override
    {
        FLog.Add("System.LongPathName(" + Path + ")");
        const auto It = LongNames.find(Path);
        return It == LongNames.end() ? Path : It->second;
    }
    std::string SystemDirectory() override
    {
        FLog.Add("System.SystemDirectory");
        return System;
    }
    std::string WindowsDirectory() override
    {
        FLog.Add("System.WindowsDirectory");
        return Windows;
    }

    std::string LocalAppDataDirectory() override { return LocalAppData; }

private:
    TCallLog& FLog;
};
