// The application component under the screen saver, in two layers:
//
//   TCustomApplicationPro          lifecycle events raised from the
//                                  application's idle and exception hooks,
//                                  the program's names and folders, the log
//                                  file, the single-instance check
//   TCustomGraphicApplicationPro   adds the frame timer
//
// The component reaches the system only through the seams it is given
// (platform/*.h); those objects must outlive it. The options key is kept by
// its own object: the component only asks it to close (OnCloseRegistry).
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "scene/LogFile.h"
#include "scene/TimePro.h"
#include "platform/AppHost.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/MainFormWindow.h"
#include "platform/PasswordServices.h"
#include "platform/SingleInstance.h"
#include "platform/SystemInfo.h"

// The seams the application frame works through.
struct TAppFrameServices {
    ISystemInfo& System;
    IDesktop& Desktop;
    ISingleInstance& Instance;
    IPasswordServices& Passwords;
    IApplicationHost& Application;
    IMainFormWindow& Form;
    IMillisecondClock& Clock;
};

// Names taken from the program's path. Folders keep a trailing backslash.
std::string ExtractExeName(const std::string& ProgramPath);      // "Glimmora3D.scr"
std::string ExtractProgramDir(const std::string& ProgramPath);   // "C:\Saver\" (empty stays empty)
std::string ExtractUpperExt(const std::string& ProgramPath);      // ".SCR" (empty without a dot)
std::string BaseNameOf(const std::string& ExeName);              // up to the first dot; empty without one
std::string WithTrailingBackslash(std::string Dir);              // appended unless empty or already there
std::string LogFileNameOf(const std::string& ApplicationDir, const std::string& BaseName);

class TCustomApplicationPro {
public:
    // Params[0] is the program's path as the system started it (it may be
    // an 8.3 short name); the rest are the command-line arguments.
    TCustomApplicationPro(const TAppFrameServices& Services, std::vector<std::string> Params);
    virtual ~TCustomApplicationPro();
    TCustomApplicationPro(const TCustomApplicationPro&) = delete;
    TCustomApplicationPro& operator=(const TCustomApplicationPro&) = delete;

    std::string Title;
    std::string Company;
    int MajorVersion = 1;
    int MinorVersion = 0;
    bool SingleInstance = true;
    bool HideTaskbarButton = false;
    bool Debug = false;   // write every exception's message to the log

    std::function<void()> OnLoadOptions;
    std::function<void()> OnSaveOptions;
    std::function<void()> OnStart;
    std::function<void()> OnStop;
    std::function<void(const std::exception& E)> OnException;
    std::function<void(bool& Done)> OnIdle;
    // Frees the cached options key; called after every idle turn, after
    // LoadOptions and SaveOptions and by the destructor.
    std::function<void()> OnCloseRegistry;

    // Names set by Initialize, all from the long form of Params[0].
    const std::string& ExeName() const { return FExeName; }
    const std::string& BaseName() const { return FBaseName; }
    const std::string& ApplicationDir() const { return FApplicationDir; }
    const std::string& SystemDir() const { return FSystemDir; }
    const std::string& WindowsDir() const { return FWindowsDir; }
    const std::string& LogFileName() const { return FLog.FileName(); }
    // Params[0] in its long form, asked from the system once.
    const std::string& ProgramPath();
    // The command-line arguments after the program's path.
    std::vector<std::string> Arguments() const;

    // The log file: lines are written only while LogFile is on; switching
    // it off closes the file.
    bool LogFile() const { return FLog.LogFile(); }
    void SetLogFile(bool Value) { FLog.SetLogFile(Value); }
    void WriteLog(std::string_view Text) { FLog.WriteLog(Text); }
    // The log itself, for the parts that write to it (the scene's blocks).
    TLogFile& Log() { return FLog; }

    void CloseRegistry();
    // Raise OnLoadOptions / OnSaveOptions when assigned, then close the key.
    void LoadOptions();
    void SaveOptions();

    // Reads the names, hooks the application and runs the single-instance
    // check. Called once, after the main form's components exist.
    virtual void Initialize();
    // The application's idle hook: OnStart at the first turn, then OnIdle
    // without waiting for messages (Done := false). Nothing once the
    // application was told to terminate.
    virtual void DoIdle(bool& Done);
    // The application's exception hook. No idle turn runs while OnException
    // does (for instance while its message box is open).
    virtual void DoException(const std::exception& E);
    // Raises OnStop once after OnStart; the program calls it when the
    // message loop has ended, while the main form's parts still exist.
    void DoStop();

    bool Started() const { return FStarted; }
    // The single-instance check found another instance running.
    bool Duplicate() const { return FDuplicate; }

protected:
    TAppFrameServices FServices;

private:
    std::vector<std::string> FParams;
    std::string FProgramPath;
    bool FProgramPathKnown = false;
    std::string FExeName, FBaseName, FApplicationDir, FSystemDir, FWindowsDir;
    TLogFile FLog;
    bool FStarted = false;
    bool FDuplicate = false;
};

class TCustomGraphicApplicationPro : public TCustomApplicationPro {
public:
    using TCustomApplicationPro::TCustomApplicationPro;
    // The frame timer, made on first request.
    TTimerPro& Timer();

private:
    std::unique_ptr<TTimerPro> FTimer;
};
