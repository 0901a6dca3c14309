// The Linux program's runs on a screen: options from the options file and
// the command line, the scene on a window (own, full screen or foreign),
// the frame loop, the Auto theme stored after the run.
#include <filesystem>
#include <ostream>

#include "app/run/FpsOverlay.h"
#include "app/linux/LinuxProgram.h"
#include "app/linux/LinuxWindowRun.h"
#include "app/run/SceneHost.h"
#include "app/options/Options.h"
#include "app/options/OptionsFile.h"
#include "app/options/OptionsKey.h"
#include "app/saver/ScrSaverApp.h"
#include "gl/Errors.h"
#include "scene/Scene.h"

namespace {

// Opens the options file as the options key; a missing file reads as an
// empty key and is created by the first write.
TRegistryOpener OptionsFileOpener(TScreenHost& Screen)
{
    return [&Screen](TRegistryRoot, const std::string&, TRegistryAccess) -> std::unique_ptr<IRegistryKey> {
        const std::string Path = Screen.OptionsFile;
        if (Path.empty())
            return nullptr;
        std::string Error;
        const std::optional<std::string> Text = Screen.ReadFile(Path, Error);
        if (!Text && !Error.empty())
            throw EGlimmoraError(Error);
        // A failed save says the system's reason.
        const auto Save = [&Screen, Path](const std::string& NewText) {
            std::string SaveError;
            if (!Screen.ReplaceFile(Path, NewText, SaveError))
                throw EGlimmoraError(SaveError.empty() ? "the file was not replaced" : SaveError);
            return true;
        };
        try {
            return std::make_unique<TOptionsFileKey>(Text.value_or(""), Save);
        } catch (const EGlimmoraError& E) {
            throw EGlimmoraError(std::string(E.what()));
        }
    };
}

// The options of a run: the file, then the flags of the command line.
TSaverOptions LoadRunOptions(const TLinuxRunOptions& O, TScreenHost& Screen, TOptionsKey& Key, std::ostream& Err)
{
    const TOptionsMode Desktop{32, 800, 600};
    TSaverOptions Options;
    SetDefaultOptions(Options, Desktop);
    try {
        Key.SetReadOnlyRegistry(true);
        LoadSaverOptions(Options, Key, Desktop, std::span<const TOptionsMode>(&Desktop, 1));
    } catch (const std::exception& E) {
        Err << "glimmora3d: the options file " << Screen.OptionsFile << " cannot be used (" << E.what()
            << "); running with the default options\n";
        Options = {};
        SetDefaultOptions(Options, Desktop);
    }
    Key.CloseRegistry();
    if (O.Theme) {
        // "auto" goes on from the stored theme, as the file's Auto does.
        Options.ThemeAuto = O.Theme->Auto;
        if (!O.Theme->Auto)
            Options.ThemeIndex = O.Theme->Index;
    }
    if (O.DollarCount)
        Options.DollarCount = *O.DollarCount;
    if (O.BubbleCount)
        Options.BubbleCount = *O.BubbleCount;
    if (O.Sound)
        Options.SoundEnabled = *O.Sound;
    return Options;
}

} // namespace

int RunOnScreen(const TLinuxRunOptions& O, TLinuxHost& Host, std::ostream&, std::ostream& Err)
{
    if (!Host.Screen)
        throw EGlimmoraError("This program cannot open a window (see --help for --snapshot and --bench)");
    TScreenHost& Screen = *Host.Screen;
    if (Screen.CatchStopSignals)
        Screen.CatchStopSignals();

    // Where to draw: --window-id; else the daemon's window from the
    // environment (it starts its hacks with -root and means that window);
    // else the root window for --root; otherwise a window of our own.
    std::optional<uint64_t> Foreign;
    const std::string Env = Screen.GetEnv("XSCREENSAVER_WINDOW");
    if (O.WindowId)
        Foreign = O.WindowId;
    else if (!Env.empty() && !O.FullScreen)
        Foreign = ParseWindowId("XSCREENSAVER_WINDOW", Env);
    else if (O.Root)
        Foreign = 0;
    const TWindowRunMode Mode = Foreign ? wmForeign : O.FullScreen ? wmFullScreen : wmWindow;

    TOptionsKey Key(OptionsFileOpener(Screen));
    TSaverOptions Options = LoadRunOptions(O, Screen, Key, Err);
    // In another program's window the sound is off unless asked for.
    if (Mode == wmForeign && !O.Sound)
        Options.SoundEnabled = false;

    std::unique_ptr<IEventWindow> Window;
    IGLContextBackend& WindowGL = Foreign ? Screen.ForeignGL : Screen.WindowGL;
    // --fps: the frame rate drawn before each swap.
    const TUnderwaterScene* Counted = nullptr;
    TFpsOverlayBackend Overlay(WindowGL, [&Counted] { return Counted ? Counted->FramesPerSecond() : 0; });
    IGLContextBackend& GL = O.ShowFps ? static_cast<IGLContextBackend&>(Overlay) : WindowGL;
    TSceneHostParts Parts = SceneHostParts(Host, Host.Clock, GL, Screen.Sound, Err);
    Parts.SetCaption = [&Window](const std::string& Caption) {
        if (Window)
            Window->SetTitle(Caption);
    };
    TSceneHost Run(Parts);
    TUnderwaterScene& Scene = Run.Scene;
    TLogFile& Log = Run.Log;
    Counted = &Scene;
    TSceneOptions SceneOptions;
    SceneOptions.BubbleCount = Options.BubbleCount;
    SceneOptions.DollarCount = Options.DollarCount;
    SceneOptions.ThemeAuto = Options.ThemeAuto;
    SceneOptions.ThemeIndex = Options.ThemeIndex;
    SceneOptions.SoundEnabled = Options.SoundEnabled;
    Run.Start(SceneOptions, RunTuningFile(O, Host.ProgramDir), O.Seed);

    if (Foreign) {
        Window = Screen.OpenForeignWindow(*Foreign);
    } else {
        TScreenWindowRequest R;
        R.Title = TUnderwaterScene::FpsCaption(0);
        R.Width = O.Width;
        R.Height = O.Height;
        R.FullScreen = O.FullScreen;
        R.ModeWidth = O.ModeWidth;
        R.ModeHeight = O.ModeHeight;
        R.ModeBitsPerPixel = O.ModeBitsPerPixel;
        Window = Screen.OpenWindow(R);
    }
    Scene.NextAutoTheme();
    Scene.SetFullScreenRunning(Mode != wmWindow);
    Scene.InitGL(Window->DC());

    // Wait for the display's refresh unless told otherwise; without it a
    // saver would burn a core, so the frames are then capped.
    TWindowLoopSettings Settings;
    Settings.Mode = Mode;
    Settings.DelayMicroseconds = O.DelayMicroseconds;
    const bool Unpaced = O.MaxFps && *O.MaxFps == 0;
    const bool Synced = Window->SetSwapInterval(Unpaced ? 0 : 1) && !Unpaced;
    Settings.MaxFps = O.MaxFps ? *O.MaxFps : Synced || O.DelayMicroseconds > 0 ? 0 : 60;
    // The refresh rate is not asked of the display: 60 Hz is what nearly
    // every display runs at, and a faster one only loses frames above 60.
    Settings.RefreshFps = Synced && !O.MaxFps ? 60 : 0;

    Scene.ResetFrameState();
    Scene.ApplySoundOption();
    TWindowLoopServices Loop = Screen.Loop;
    Loop.RenderFrame = [&] { Scene.RenderFrame(*Window); };
    try {
        RunWindowLoop(*Window, Settings, Loop);
    } catch (...) {
        Scene.StopSound();
        Scene.ReleaseGL();
        throw;
    }
    Scene.StopSound();
    if (Mode == wmFullScreen)
        Log.WriteLog(FullScreenSummary(Window->Width(), Window->Height(), O.ModeBitsPerPixel > 0 ? O.ModeBitsPerPixel : 32,
                                       Scene.FramesPerSecond()));
    Scene.ReleaseGL();
    Window.reset();

    // The next run shows the next theme, whether Auto came from the file or
    // from --theme auto; a fixed theme on the command line holds for this
    // run only and stores nothing.
    if (Scene.Options().ThemeAuto && !Screen.OptionsFile.empty()) {
        Options.ThemeAuto = true;
        Options.ThemeIndex = Scene.Options().ThemeIndex;
        try {
            Key.SetReadOnlyRegistry(false);
            SaveAutoTheme(Options, Key);
        } catch (const std::exception& E) {
            Err << "glimmora3d: the theme was not stored in " << Screen.OptionsFile << " (" << E.what() << ")\n";
        }
        Key.CloseRegistry();
    }
    return 0;
}
