// The main form's screen-saver side: it starts the scene when the
// application frame raises its start event, runs it full screen on its own
// render window, draws one frame per idle turn, ends the run on input,
// tears everything down when it closes, turns any error into the error
// box, and in the preview shows only the still picture inside the given
// window.
//
// The form reaches the application frame, the display control, the
// options and the scene through the four small interfaces below; the
// program binds them to the real objects.
#pragma once

#include <exception>
#include <memory>
#include <string>

#include "app/saver/ScrSaverApp.h"
#include "gl/GLUtils.h"
#include "platform/MessageLoop.h"
#include "platform/SettingsWindow.h"
#include "platform/Windowing.h"
#include "scene/Scene.h"

class TSettingsDialog;

inline constexpr const char* ErrorBoxCaption = "Glimmora Screen Saver Error!";
inline constexpr const char* MainFormCaption = "Glimmora 3D Screen Saver";
inline constexpr const char* BackgroundPictureName = "Background.bmp";
// The designed client size of the main form; a saver run moves the form
// by this much off the screen and gives it no size.
inline constexpr int MainFormDesignWidth = 511;
inline constexpr int MainFormDesignHeight = 363;
// How often the preview checks that its parent window still exists.
inline constexpr unsigned PreviewParentCheckMs = 500;

// The settings dialog's texts.
inline constexpr const char* SoftwareModeWarning =
    "In this screen mode, hardware acceleration was not detected! The screen saver runs in Software mode with "
    "lower performance and quality!\r\nClick on Help button in the settings of screen saver to resolve this "
    "problem.";
inline constexpr const char* HelpFileName = "GLIMMORA 3D.HLP";
inline constexpr const char* HelpCaption = "Glimmora 3D Help";
inline constexpr const char* AboutCaption = "About Glimmora 3D Screen Saver";
inline constexpr const char* MakerLinkText = "tarnwick.invalid/glimmora3d";
inline constexpr const char* MakerLinkUrl = "https://tarnwick.invalid/glimmora3d/";
// The program's own help, shown when no help file can be opened.
extern const char* const SettingsHelpText;

// A display mode as the form uses it.
struct TFormDisplayMode {
    int Width = 0;
    int Height = 0;
    int ColorDepth = 0;
};

// The application frame (the screen-saver application component).
class IMainFormFrame {
public:
    virtual ~IMainFormFrame() = default;
    virtual TScreenSaverMode Mode() const = 0;
    // The tuning file next to the program: ApplicationDir + BaseName + ".ini".
    virtual std::string TuningFileName() const = 0;
    // Starts the mouse filter afresh: the next moves are ignored and the
    // reference point is unset.
    virtual void ResetMouseFilter() = 0;
    // Feeds one mouse move to the filter; true when it ends the run.
    virtual bool MouseMoveEndsRun(int X, int Y) = 0;
    // Input asked the run to end: the filter starts over; without a
    // password check to pass (or when it passes) Steps run and the summary
    // is logged. False when the run goes on.
    virtual bool EndSaver(const TRunSummary& Summary, const TEndSaverSteps& Steps) = 0;
    // The application's title ("Glimmora 3D") and version ("MAJOR.MINOR").
    virtual std::string Title() const = 0;
    virtual std::string VersionText() const = 0;
    // The window the command line named for the settings dialog
    // ("/c:1234"); 0 when it named none.
    virtual TWindowHandle DialogOwner() const = 0;
    // Writes the options through the component (OnSaveOptions).
    virtual void SaveOptions() = 0;
    virtual void SetScreenSaverRunning(bool Running) = 0;
    // Writes to the log what the start noted before the tuning file could
    // switch the log on (a value skipped, a twin not started); each line
    // once.
    virtual void WriteStartNotes() = 0;
};

// The display control.
class IMainFormDisplay {
public:
    virtual ~IMainFormDisplay() = default;
    virtual int DesktopColorDepth() = 0;
    // Whether any colour depth the saver can use was found.
    virtual bool HasColorDepthModes() = 0;
    // True switches to the full-screen mode, false back to the desktop's.
    virtual void SetFullScreen(bool Value) = 0;
    // The mode in force now (the switch may have been refused).
    virtual TFormDisplayMode CurrentMode() = 0;
};

// The user's options.
class IMainFormOptions {
public:
    virtual ~IMainFormOptions() = default;
    virtual void SetDefaultOptions() = 0;
    // Reads the stored options over the defaults.
    virtual void LoadOptions() = 0;
    virtual TSceneOptions SceneOptions() = 0;
    virtual bool DesktopOnly() = 0;
    // Stores the theme an automatic rotation showed last.
    virtual void SaveAutoTheme(int ThemeIndex) = 0;
    // The folder of the .exe twin and the help file, with a trailing
    // backslash.
    virtual std::string ProgramPath() = 0;
};

// The underwater scene.
class IMainFormScene {
public:
    virtual ~IMainFormScene() = default;
    // Defaults, seed, options, tuning file (when the name is not empty)
    // and the build.
    virtual void Start(const TSceneOptions& Options,
                       const std::string& TuningFileName) = 0;
    virtual void FreeScene() = 0;
    virtual void InitGL(TGLDeviceContext DC) = 0;
    virtual void ReleaseGL() = 0;
    virtual void ResetFrameState() = 0;
    virtual void RenderFrame(IRenderWindow& Window) = 0;
    virtual void NextAutoTheme() = 0;
    virtual void ApplySoundOption() = 0;
    virtual void StopSound() = 0;
    virtual void SetFullScreenRunning(bool Value) = 0;
    virtual int FramesPerSecond() const = 0;
    virtual const TSceneOptions& Options() const = 0;
    // The options the running scene reads at its next frame.
    virtual TSceneOptions& Options() = 0;
    // Vendor, renderer and version of the first context.
    virtual std::string GLSummaryText() const = 0;
    // The context bound last draws without hardware acceleration.
    virtual bool GenericPixelFormat() const = 0;
};

// IMainFormScene over the real scene.
class TSceneDriver final : public IMainFormScene {
public:
    explicit TSceneDriver(TUnderwaterScene& Scene) : FScene(Scene) {}
    void Start(const TSceneOptions& Options, const std::string& TuningFileName) override
    {
        FScene.Start(Options, TuningFileName);
    }
    void FreeScene() override { FScene.FreeScene(); }
    void InitGL(TGLDeviceContext DC) override { FScene.InitGL(DC); }
    void ReleaseGL() override { FScene.ReleaseGL(); }
    void ResetFrameState() override { FScene.ResetFrameState(); }
    void RenderFrame(IRenderWindow& Window) override { FScene.RenderFrame(Window); }
    void NextAutoTheme() override { FScene.NextAutoTheme(); }
    void ApplySoundOption() override { FScene.ApplySoundOption(); }
    void StopSound() override { FScene.StopSound(); }
    void SetFullScreenRunning(bool Value) override { FScene.SetFullScreenRunning(Value); }
    int FramesPerSecond() const override { return FScene.FramesPerSecond(); }
    const TSceneOptions& Options() const override { return FScene.Options(); }
    TSceneOptions& Options() override { return FScene.Options(); }
    std::string GLSummaryText() const override { return FScene.GLSummaryText(); }
    bool GenericPixelFormat() const override
    {
        return FScene.Built() && FScene.Objects().Engine && FScene.Objects().Engine->Generic;
    }

private:
    TUnderwaterScene& FScene;
};

struct TMainFormServices {
    IWindowSystem& Windows;
    IMessageLoop& Loop;
    IMainFormFrame& Frame;
    IMainFormDisplay& Display;
    IMainFormOptions& Options;
    IMainFormScene& Scene;
    // The program's embedded resources (the still picture).
    IEmbeddedResources& Resources;
    // The settings dialog's windows and logic (smConfig and smProgram);
    // null where the program shows no dialog.
    ISettingsWindows* Settings = nullptr;
    TSettingsDialog* Dialog = nullptr;
};

// A picture of the decoded bitmap (8-bit palette or 24-bit) for a window
// to show; an empty bitmap gives an empty picture.
TPicture PictureOf(const TGLBitmap& Bitmap);

class TMainForm {
public:
    explicit TMainForm(TMainFormServices Services);
    ~TMainForm();
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    // The form for the run mode, made while the program starts.
    // smSaver: off the screen and of no size.
    void PrepareSaverForm();
    // smPreview: a child of Parent covering its client area; false (and
    // no window) when Parent is not a window.
    bool PreparePreviewForm(TWindowHandle Parent);
    // smConfig and smProgram: the settings dialog, shown, owned by the
    // window the command line named when that is a window.
    void PrepareSettingsForm();

    // Handlers of the application frame's events.
    void ScreenSaverAppStart();
    void ScreenSaverAppIdle(bool& Done);
    void ScreenSaverAppStop();
    void ScreenSaverAppException(const std::exception& E);
    // smPreview: the still picture over the whole form.
    void FormShow();

    void StartFullScreen();
    // The live preview inside the dialog's preview panel.
    void StartWindowed();
    void InitGL();
    void ReleaseGL();
    void FreeRenderForm();
    // Input ended the run: stop it when the password allows.
    void EndSaver();
    // Closes the main form: the close query, then the window goes and the
    // message loop ends. Does it once.
    void Close();
    // Outside the preview: releases OpenGL, restores the display and
    // frees the scene. Closing is always allowed.
    bool FormCloseQuery();

    // The render window's events.
    void RenderFramePaint();
    void RenderKeyDown(unsigned Key);
    void RenderMouseDown(TMouseButton Button, int X, int Y);
    void RenderMouseMove(int X, int Y);

    // The dialog's buttons. Preview: a full-screen run in this process
    // until input ends it, then the live preview again. Exit: OK saves,
    // both close the program.
    void ButtonPreviewClick();
    void ButtonAboutClick();
    void ButtonHelpClick();
    void ButtonExitClick(bool Ok);
    // The scene's caption of the live preview (frames per second).
    void SetCaption(const std::string& Caption);

    IWindow* MainWindow() const { return FMainWindow.get(); }
    IWindow* RenderForm() const { return FRenderForm.get(); }
    ISettingsWindow* SettingsWindow() const { return FSettingsWindow.get(); }
    TWindowHandle ParentHandle() const { return FParent; }
    bool Closed() const { return FClosed; }

private:
    class TRenderEvents;
    class TMainEvents;
    class TRenderTarget;
    class TSettingsEvents;

    void ParentCheck();
    TWindowHandle FormHandle() const;
    void EndPreviewRun();

    TMainFormServices S;
    std::unique_ptr<TRenderEvents> FRenderEvents;
    std::unique_ptr<TMainEvents> FMainEvents;
    std::unique_ptr<TRenderTarget> FRenderTarget;
    std::unique_ptr<TSettingsEvents> FSettingsEvents;
    std::unique_ptr<IWindow> FMainWindow;
    // Kept until the form goes even once closed: the window may be closed
    // from inside one of its own events.
    std::unique_ptr<ISettingsWindow> FSettingsWindow;
    std::unique_ptr<IWindow> FRenderForm;
    TGLDeviceContext FRenderDC = nullptr;
    TWindowHandle FParent = 0;
    bool FClosed = false;
};
