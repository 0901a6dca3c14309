#include "app/saver/SaverProgram.h"

#include <exception>
#include <vector>

#include "Version.h"
#include "app/display/DisplayControl.h"
#include "app/saver/ExecutePro.h"
#include "app/saver/MainForm.h"
#include "app/options/Options.h"
#include "app/options/OptionsKey.h"
#include "app/saver/ScrSaverApp.h"
#include "app/settings/SettingsDialog.h"
#include "scene/Scene.h"

namespace {

// The application object over the message loop: the loop reports to the
// component's hooks while they are attached.
class TLoopApplication final : public IApplicationHost, public IApplicationHooks {
public:
    explicit TLoopApplication(IMessageLoop& Loop) : FLoop(Loop) {}

    TCustomApplicationPro* App = nullptr;
    bool ShowMainForm() const { return FShowMainForm; }

    std::string Title() override { return FTitle; }
    void SetTitle(const std::string& Title) override { FTitle = Title; }
    void SetExceptionHook(bool Attached) override { FExceptionHook = Attached; }
    void SetIdleHook(bool Attached) override { FIdleHook = Attached; }
    void SetShowMainForm(bool Show) override { FShowMainForm = Show; }
    void Terminate() override { FLoop.Terminate(); }
    bool Terminated() override { return FLoop.Terminated(); }
    void ProcessMessages() override { FLoop.ProcessMessages(); }
    // The program has no application window of its own: its main form is
    // made without a taskbar button, so there is nothing to hide or restyle.
    void HideWindow() override {}
    void SetToolWindowStyle() override {}

    void Idle(bool& Done) override
    {
        if (App && FIdleHook)
            App->DoIdle(Done);
    }
    void Exception(const std::exception& E) override
    {
        if (App && FExceptionHook)
            App->DoException(E);
    }

private:
    IMessageLoop& FLoop;
    std::string FTitle;
    bool FExceptionHook = false;
    bool FIdleHook = false;
    bool FShowMainForm = true;
};

// The main form as the component and the launcher act on it before the
// loop: the off-screen saver form, or the child of the preview's parent.
class TFormWindow final : public IMainFormWindow {
public:
    explicit TFormWindow(IApplicationHost& Application) : FApplication(Application) {}
    TMainForm* Form = nullptr;
    bool HandlersDetached() const { return FDetached; }

    int Width() override { return MainFormDesignWidth; }
    int Height() override { return MainFormDesignHeight; }
    void SetBounds(int, int, int, int) override
    {
        if (!Form || Form->MainWindow())
            return;
        if (FParent == 0) {
            Form->PrepareSaverForm();
        } else if (!Form->PreparePreviewForm(FParent)) {
            // The parent went away meanwhile: nothing to show in.
            FApplication.SetShowMainForm(false);
            FApplication.Terminate();
        }
    }
    void SetParentWindow(TWindowHandle Parent) override { FParent = Parent; }
    // The form's windows are black, borderless and take no input already.
    void SetPlainSurface() override {}
    void DetachHandlers() override { FDetached = true; }
    void Hide() override
    {
        if (Form && Form->MainWindow())
            Form->MainWindow()->Hide();
    }
    void Close() override
    {
        if (Form)
            Form->Close();
    }

private:
    IApplicationHost& FApplication;
    TWindowHandle FParent = 0;
    bool FDetached = false;
};

// Lines for the log that come up before the tuning file can switch it on
// (a twin that could not be started, registry values that were skipped);
// the frame writes them once the run's scene has started.
using TStartNotes = std::vector<std::string>;

void NoteSkippedValues(TStartNotes& Notes, TOptionsKey& Key)
{
    for (const std::string& Name : Key.TakeSkippedValues())
        Notes.push_back("Invalid data type for '" + Name + "': the value is ignored");
}

class TFrameBinding final : public IMainFormFrame {
public:
    TFrameBinding(TScreenSaverApp& App, TStartNotes& Notes) : FApp(App), FNotes(Notes) {}
    TScreenSaverMode Mode() const override { return FApp.Mode(); }
    std::string TuningFileName() const override { return FApp.ApplicationDir() + FApp.BaseName() + ".ini"; }
    void ResetMouseFilter() override { FFilter.Reset(); }
    bool MouseMoveEndsRun(int X, int Y) override { return FFilter.Move(X, Y); }
    bool EndSaver(const TRunSummary& Summary, const TEndSaverSteps& Steps) override
    {
        return FApp.EndSaver(FFilter, Summary, Steps);
    }
    std::string Title() const override { return FApp.Title; }
    std::string VersionText() const override
    {
        return std::to_string(FApp.MajorVersion) + "." + std::to_string(FApp.MinorVersion);
    }
    TWindowHandle DialogOwner() const override
    {
        return NamesParentHandle(FApp.Arguments()) ? FApp.ParentHandle() : 0;
    }
    void SaveOptions() override { FApp.SaveOptions(); }
    void SetScreenSaverRunning(bool Running) override { FApp.SetScreenSaverRunning(Running); }
    void WriteStartNotes() override
    {
        for (const std::string& Line : FNotes)
            FApp.WriteLog(Line);
        FNotes.clear();
    }

private:
    TScreenSaverApp& FApp;
    TStartNotes& FNotes;
    TMouseMoveFilter FFilter;
};

TFormDisplayMode FormModeOf(const TScreenMode& M) { return TFormDisplayMode{M.Width(), M.Height(), M.ColorDepth}; }
TOptionsMode OptionsModeOf(const TScreenMode& M) { return TOptionsMode{M.ColorDepth, M.Width(), M.Height()}; }

class TDisplayBinding final : public IMainFormDisplay {
public:
    explicit TDisplayBinding(TDisplayControl& Control) : FControl(Control) {}
    int DesktopColorDepth() override { return FControl.DesktopMode().ColorDepth; }
    bool HasColorDepthModes() override { return FControl.ColorDepthModes().Count() > 0; }
    void SetFullScreen(bool Value) override { FControl.SetFullScreen(Value); }
    TFormDisplayMode CurrentMode() override { return FormModeOf(FControl.CurrentMode()); }

private:
    TDisplayControl& FControl;
};

class TOptionsBinding final : public IMainFormOptions {
public:
    TOptionsBinding(TOptionsKey& Key, TDisplayControl& Display, TCustomApplicationPro& App, TStartNotes& Notes)
        : FKey(Key), FDisplay(Display), FApp(App), FNotes(Notes)
    {
    }
    TSaverOptions Options;

    void SetDefaultOptions() override
    {
        ::SetDefaultOptions(Options, OptionsModeOf(FDisplay.DesktopMode()));
        ApplyFullScreenMode();
    }
    // Through the component: it raises OnLoadOptions (Load) and closes
    // the key after.
    void LoadOptions() override { FApp.LoadOptions(); }
    void Load()
    {
        std::vector<TOptionsMode> Modes;
        const TColorDepthModes& Depths = FDisplay.ColorDepthModes();
        for (int D = 0; D < Depths.Count(); ++D) {
            const TScreenModes& List = Depths.Item(D).Modes;
            for (int I = 0; I < List.Count(); ++I)
                Modes.push_back(OptionsModeOf(List.Item(I)));
        }
        LoadSaverOptions(Options, FKey, OptionsModeOf(FDisplay.DesktopMode()), Modes);
        NoteSkippedValues(FNotes, FKey);
        ApplyFullScreenMode();
    }
    TSceneOptions SceneOptions() override
    {
        return TSceneOptions{Options.BubbleCount, Options.DollarCount, Options.ThemeAuto, Options.ThemeIndex,
                             Options.SoundEnabled};
    }
    bool DesktopOnly() override { return Options.DesktopOnly; }
    std::string ProgramPath() override { return Options.ProgramPath; }
    // OnSaveOptions: through the component, which closes the key after.
    void Save() { SaveSaverOptions(Options, FKey); }
    void SaveAutoTheme(int ThemeIndex) override
    {
        Options.ThemeAuto = true;
        Options.ThemeIndex = ThemeIndex;
        ::SaveAutoTheme(Options, FKey);
        FKey.CloseRegistry();
    }

private:
    void ApplyFullScreenMode()
    {
        const TOptionsMode& M = Options.FullScreenMode;
        FDisplay.SetFullScreenMode(TScreenMode(M.ColorDepth, M.Width, M.Height));
    }

    TOptionsKey& FKey;
    TDisplayControl& FDisplay;
    TCustomApplicationPro& FApp;
    TStartNotes& FNotes;
};

TTwinStart TwinStartOf(TScreenSaverMode Mode)
{
    switch (Mode) {
    case smSaver: return tsSaver;
    case smConfig: return tsConfig;
    default: return tsNone;
    }
}

} // namespace

int RunScreenSaver(const TSaverSystem& System, const std::vector<std::string>& Params)
{
    IWindowSystem& Windows = System.Windows;
    try {
        TLoopApplication Application(System.Loop);
        TFormWindow FormWindow(Application);
        TScreenSaverApp App(TAppFrameServices{System.SystemInfo, Windows, System.Instance, System.Passwords,
                                              Application, FormWindow, System.Clock},
                            Params);
        App.Title = ApplicationTitle;
        App.Company = ApplicationCompany;
        App.MajorVersion = GlimmoraVersionMajor;
        App.MinorVersion = GlimmoraVersionMinor;
        App.Debug = true;

        TDisplayControl Display(System.Display);
        Display.AutoEnumerate = true;
        Display.OnEnumerate = DisplayControlEnumerate;
        Display.SetFullScreenMode(TScreenMode(16, 640, 480));

        TOptionsKey Key(System.Registry);
        Key.SetTitle(ApplicationTitle);
        Key.SetCompany(ApplicationCompany);
        // A value of the wrong type counts as absent: the run goes on with
        // its default, and OK in the dialog overwrites it.
        Key.SetSkipUnreadable(true);
        TStartNotes StartNotes;
        TOptionsBinding Options(Key, Display, App, StartNotes);
        TFrameBinding Frame(App, StartNotes);
        TDisplayBinding FormDisplay(Display);

        TMainForm* FormOfScene = nullptr;
        TUnderwaterScene Scene(TSceneServices{
            System.Clock, System.GLBackend, System.GLLibraries, System.Process, System.Sound, App.Log(),
            EmbeddedAssets(System.Resources),
            [&Windows](const std::string& Message) {
                Windows.ShowMessageBox(0, Message, ErrorBoxCaption, mbsOk | mbsIconError);
            },
            [&FormOfScene](const std::string& Caption) {
                if (FormOfScene)
                    FormOfScene->SetCaption(Caption);
            }});
        TSceneDriver Driver(Scene);
        TSettingsDialog Dialog(Options.Options, Display, Driver);
        TMainForm Form(TMainFormServices{Windows, System.Loop, Frame, FormDisplay, Options, Driver, System.Resources,
                                         &System.Settings, &Dialog});
        FormWindow.Form = &Form;
        FormOfScene = &Form;

        App.OnStart = [&Form] { Form.ScreenSaverAppStart(); };
        App.OnIdle = [&Form](bool& Done) { Form.ScreenSaverAppIdle(Done); };
        App.OnStop = [&Form] { Form.ScreenSaverAppStop(); };
        App.OnException = [&Form](const std::exception& E) { Form.ScreenSaverAppException(E); };
        App.OnLoadOptions = [&Options] { Options.Load(); };
        App.OnSaveOptions = [&Options] { Options.Save(); };
        App.OnCloseRegistry = [&Key] { Key.CloseRegistry(); };
        Application.App = &App;
        System.Loop.SetHooks(&Application);
        struct TUnhook {
            IMessageLoop& Loop;
            ~TUnhook() { Loop.SetHooks(nullptr); }
        } Unhook{System.Loop};

        // Form creation: the display modes first, then the component.
        Display.Loaded();
        App.Initialize();
        if (App.Duplicate() || System.Loop.Terminated())
            return 0;

        const TScreenSaverMode Mode = App.Mode();
        if (Mode == smPreview) {
            Form.FormShow();
        } else {
            // The form's OnCreate: the program folder and RunAsEXE; the .scr
            // may hand the run over to its .exe twin and wait for it.
            const TTwinStart Twin =
                ReadProgramOptions(Options.Options, Key, App.ApplicationDir(), App.ExeName(), TwinStartOf(Mode));
            NoteSkippedValues(StartNotes, Key);
            Key.CloseRegistry();
            if (Twin != tsNone) {
                TExecutePro Execute(System.Launcher, Application);
                Execute.WindowStyle = ewShow;
                Execute.Priority = epNormal;
                Execute.Mode = emProcess;
                Execute.Wait = true;
                const std::string Line =
                    TwinCommandLine(Options.Options.ProgramPath, App.BaseName(), std::string(TwinSwitch(Twin)));
                if (LaunchAsExe(Execute, System.Launcher, Application, FormWindow, Options.Options.ProgramPath,
                                App.BaseName(), std::string(TwinSwitch(Twin))))
                    return 0;
                // No twin to hand over to: this process runs the saver or
                // the dialog itself.
                StartNotes.push_back("Run As EXE: cannot start " + Line + "; running in this process");
            }
            if (Mode == smConfig || Mode == smProgram)
                Form.PrepareSettingsForm();
        }

        System.Loop.Run();
        App.DoStop();
        return 0;
    } catch (const std::exception& E) {
        Windows.ShowMessageBox(0, E.what(), ApplicationTitle, mbsOk | mbsIconError);
        return 1;
    }
}
