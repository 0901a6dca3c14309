// The saver's system on Windows: every backend the saver runs on, made in
// the order the program needs them and kept for the whole run. The saver
// (Glimmora3DMain.cpp) and the test programs that run the saver inside
// another window both take their backends from here.
#pragma once

#include <memory>

#include "app/saver/SaverProgram.h"

class TWin32SaverSystem {
public:
    TWin32SaverSystem();
    ~TWin32SaverSystem();
    TWin32SaverSystem(const TWin32SaverSystem&) = delete;
    TWin32SaverSystem& operator=(const TWin32SaverSystem&) = delete;

    // The backends, borrowed by the saver for as long as this object lives.
    const TSaverSystem& System() const { return *FSystem; }

private:
    std::unique_ptr<IMessageLoop> FLoop;
    std::unique_ptr<IWindowSystem> FWindows;
    std::unique_ptr<IMillisecondClock> FClock;
    std::unique_ptr<IGLContextBackend> FGLBackend;
    std::unique_ptr<ILibraryLoader> FGLLibraries;
    std::unique_ptr<IProcessControl> FProcess;
    std::unique_ptr<ISoundOutput> FSound;
    std::unique_ptr<IEmbeddedResources> FResources;
    std::unique_ptr<ISystemInfo> FSystemInfo;
    std::unique_ptr<ISingleInstance> FInstance;
    std::unique_ptr<IPasswordServices> FPasswords;
    std::unique_ptr<IProcessLauncher> FLauncher;
    std::unique_ptr<IDisplaySettings> FDisplay;
    std::unique_ptr<ISettingsWindows> FSettings;
    std::unique_ptr<TSaverSystem> FSystem;
};
