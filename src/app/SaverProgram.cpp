#include "app/SaverProgram.h"

#include <exception>

#include "app/MainForm.h"
#include "app/SaverStandIns.h"
#include "scene/Scene.h"

int RunScreenSaver(const TSaverSystem& System, const std::vector<std::string>& Args, const std::string& ProgramFile)
{
    try {
        TBasicSaverFrame Frame(Args, ProgramFile, System.Windows, System.Loop);
        TCurrentModeDisplay Display(System.Windows);
        TDefaultOptions Options(Frame.ApplicationDir());
        IWindowSystem& Windows = System.Windows;
        TUnderwaterScene Scene(TSceneServices{
            System.Clock, System.GLBackend, System.GLLibraries, System.Process, System.Sound, Frame.Log(),
            EmbeddedAssets(System.Resources), [&Windows](const std::string& Message) {
                Windows.ShowMessageBox(0, Message, ErrorBoxCaption, mbsOk | mbsIconError);
            },
            nullptr});
        TSceneDriver Driver(Scene);
        TMainForm Form(TMainFormServices{System.Windows, System.Loop, Frame, Display, Options, Driver, System.Resources});
        if (Frame.Initialize(Form)) {
            System.Loop.Run();
            Frame.Stop();
        }
        return 0;
    } catch (const std::exception& E) {
        System.Loop.SetHooks(nullptr);
        System.Windows.ShowMessageBox(0, E.what(), ApplicationTitle, mbsOk | mbsIconError);
        return 1;
    }
}
