#include "app/saver/MainForm.h"

#include <utility>

#include "app/settings/SettingsDialog.h"
#include "gl/Errors.h"

const char* const SettingsHelpText =
    "Glimmora 3D Screen Saver\r\n"
    "\r\n"
    "SETTINGS\r\n"
    "Color Depth, Resolution: the screen mode the saver switches to while it runs. 16 bits and a small "
    "resolution such as 640x480 run faster; 32 bits and a larger resolution look better.\r\n"
    "Desktop Only: the saver keeps the screen mode of your desktop and never switches it. Color Depth and "
    "Resolution are then set from the desktop and cannot be changed.\r\n"
    "Default: puts every setting back to its first value (Run As EXE stays as it is). Nothing is stored "
    "until you press OK.\r\n"
    "Run As EXE: see below.\r\n"
    "Dollar Count, Bubble Count: how many dollar bills and bubbles float in the water. Fewer run faster.\r\n"
    "Themes: the underwater scene: Immersion, Fountain or Fishes. Auto shows the next one at every start.\r\n"
    "Enable Sound: plays the bubbling sound while the saver runs.\r\n"
    "Preview...: runs the saver on the whole screen now. Press a key or move the mouse to come back.\r\n"
    "OK stores the settings; Cancel (or Esc) leaves them as they were.\r\n"
    "\r\n"
    "IF THE SAVER RUNS SLOWLY\r\n"
    "When the settings say that hardware acceleration was not detected, the pictures are drawn without the "
    "help of your graphics card. Then try, in this order:\r\n"
    "1. Install the newest driver for your graphics card from its maker.\r\n"
    "2. Choose 16 bits and a smaller resolution, or turn on Desktop Only.\r\n"
    "3. Turn on Run As EXE.\r\n"
    "\r\n"
    "RUN AS EXE\r\n"
    "Some graphics drivers give no acceleration to programs started as a screen saver. With Run As EXE on, "
    "the screen saver starts its twin program Glimmora3D.exe, installed beside it, and lets it do the work. "
    "Turn it on only when the saver is slow or looks wrong without it.";

// The render window's events go to the form's Render* handlers.
class TMainForm::TRenderEvents final : public IWindowEvents {
public:
    explicit TRenderEvents(TMainForm& Form) : F(Form) {}
    void Paint() override { F.RenderFramePaint(); }
    void KeyDown(unsigned Key) override { F.RenderKeyDown(Key); }
    void MouseDown(TMouseButton Button, int X, int Y) override { F.RenderMouseDown(Button, X, Y); }
    void MouseMove(int X, int Y) override { F.RenderMouseMove(X, Y); }

private:
    TMainForm& F;
};

// The main window's own events: in the preview it follows its parent.
class TMainForm::TMainEvents final : public IWindowEvents {
public:
    explicit TMainEvents(TMainForm& Form) : F(Form) {}
    void Timer() override { F.ParentCheck(); }
    void Destroyed() override { F.Close(); }

private:
    TMainForm& F;
};

// The dialog's controls: changes go to the dialog's logic, buttons to the
// form.
class TMainForm::TSettingsEvents final : public ISettingsEvents {
public:
    explicit TSettingsEvents(TMainForm& Form) : F(Form) {}
    void Changed(TSettingsControl Control) override
    {
        if (F.S.Dialog)
            F.S.Dialog->Changed(Control);
    }
    void Clicked(TSettingsControl Button) override
    {
        switch (Button) {
        case scButtonDefault:
            if (F.S.Dialog)
                F.S.Dialog->ButtonDefaultClick();
            break;
        case scButtonPreview: F.ButtonPreviewClick(); break;
        case scButtonAbout: F.ButtonAboutClick(); break;
        case scButtonHelp: F.ButtonHelpClick(); break;
        case scButtonOk: F.ButtonExitClick(true); break;
        case scButtonCancel: F.ButtonExitClick(false); break;
        default: Changed(Button); break;
        }
    }

private:
    TMainForm& F;
};

// The render window as the scene draws into it.
class TMainForm::TRenderTarget final : public IRenderWindow {
public:
    explicit TRenderTarget(TMainForm& Form) : F(Form) {}
    int Width() const override { return F.FRenderForm ? F.FRenderForm->Width() : 0; }
    int Height() const override { return F.FRenderForm ? F.FRenderForm->Height() : 0; }
    TGLDeviceContext DC() const override { return F.FRenderDC; }
    void Focus() override
    {
        if (F.FRenderForm)
            F.FRenderForm->Focus();
    }
    bool Visible() const override { return F.FRenderForm && F.FRenderForm->Visible(); }

private:
    TMainForm& F;
};

TPicture PictureOf(const TGLBitmap& Bitmap)
{
    TPicture P;
    if (Bitmap.Empty() || Bitmap.Width <= 0 || Bitmap.Height <= 0)
        return P;
    P.Width = Bitmap.Width;
    P.Height = Bitmap.Height;
    P.Pixels.resize(std::size_t(P.Width) * std::size_t(P.Height) * 4);
    std::size_t Out = 0;
    for (std::int32_t Y = 0; Y < Bitmap.Height; ++Y)
        for (std::int32_t X = 0; X < Bitmap.Width; ++X) {
            const TBitmapColor C = Bitmap.PixelColor(X, Y);
            P.Pixels[Out++] = C.B;
            P.Pixels[Out++] = C.G;
            P.Pixels[Out++] = C.R;
            P.Pixels[Out++] = 0;
        }
    return P;
}

TMainForm::TMainForm(TMainFormServices Services)
    : S(Services), FRenderEvents(std::make_unique<TRenderEvents>(*this)),
      FMainEvents(std::make_unique<TMainEvents>(*this)), FRenderTarget(std::make_unique<TRenderTarget>(*this)),
      FSettingsEvents(std::make_unique<TSettingsEvents>(*this))
{
}

TMainForm::~TMainForm()
{
    // Windows go before the event objects they report to; the render
    // window lies inside the dialog's panel.
    if (S.Dialog)
        S.Dialog->SetView(nullptr);
    FRenderForm.reset();
    FMainWindow.reset();
    FSettingsWindow.reset();
}

TWindowHandle TMainForm::FormHandle() const
{
    if (FSettingsWindow)
        return FSettingsWindow->Handle();
    return FMainWindow ? FMainWindow->Handle() : 0;
}

void TMainForm::PrepareSettingsForm()
{
    if (!S.Settings)
        throw EGlimmoraError("The settings dialog is not available.");
    TWindowHandle Owner = S.Frame.DialogOwner();
    if (!S.Windows.IsWindow(Owner))
        Owner = 0;
    FSettingsWindow = S.Settings->CreateSettingsWindow(Owner, MainFormCaption, *FSettingsEvents);
    if (S.Dialog)
        S.Dialog->SetView(FSettingsWindow.get());
    FSettingsWindow->Show();
}

void TMainForm::PrepareSaverForm()
{
    FMainWindow = S.Windows.CreateMainForm(
        MainFormCaption, TWindowBounds{-MainFormDesignWidth, -MainFormDesignHeight, 0, 0}, *FMainEvents);
}

bool TMainForm::PreparePreviewForm(TWindowHandle Parent)
{
    TWindowRect Client;
    if (!S.Windows.ClientRect(Parent, Client))
        return false;
    FParent = Parent;
    FMainWindow = S.Windows.CreateChildForm(
        Parent, TWindowBounds{0, 0, Client.Right - Client.Left, Client.Bottom - Client.Top}, *FMainEvents);
    if (!FMainWindow)
        return false;
    // Nothing else wakes the preview: a parent destroyed in a way that
    // leaves this window alive is noticed here.
    FMainWindow->StartTimer(PreviewParentCheckMs);
    return true;
}

void TMainForm::FormShow()
{
    if (S.Frame.Mode() != smPreview || !FMainWindow)
        return;
    // The picture is always the program's own embedded bitmap.
    const TGLBitmap Background = LoadBitmapResource(S.Resources, BackgroundPictureName);
    FMainWindow->SetPicture(PictureOf(Background));
}

void TMainForm::ScreenSaverAppStart()
{
    const TScreenSaverMode Mode = S.Frame.Mode();
    if (Mode == smPreview)
        return;
    // The lists are filled below: no handler may act on them meanwhile.
    if (S.Dialog)
        S.Dialog->SetDialogReady(false);
    const int DesktopDepth = S.Display.DesktopColorDepth();
    const bool HasDepths = S.Display.HasColorDepthModes();
    TUnderwaterScene::CheckColorDepth(DesktopDepth, HasDepths);
    S.Options.SetDefaultOptions();
    S.Options.LoadOptions();
    S.Scene.Start(S.Options.SceneOptions(), S.Frame.TuningFileName());
    S.Frame.WriteStartNotes();
    if (Mode == smSaver) {
        StartFullScreen();
        return;
    }
    if (S.Dialog) {
        S.Dialog->FillColorDepths();
        S.Dialog->FillResolutions();
        S.Dialog->ApplyOptionsToDialog();
    }
    StartWindowed();
}

void TMainForm::ScreenSaverAppIdle(bool& Done)
{
    (void)Done;
    if (FRenderForm)
        FRenderForm->Paint();
}

void TMainForm::ScreenSaverAppStop()
{
    if (S.Frame.Mode() != smSaver)
        return;
    const TSceneOptions& O = S.Scene.Options();
    if (O.ThemeAuto)
        S.Options.SaveAutoTheme(O.ThemeIndex);
}

void TMainForm::ScreenSaverAppException(const std::exception& E)
{
    // Each step is tried on its own: the box comes whatever fails before it.
    try {
        S.Windows.ShowCursor(true);
    } catch (...) {
    }
    try {
        S.Display.SetFullScreen(false);
    } catch (...) {
    }
    try {
        ReleaseGL();
    } catch (...) {
    }
    try {
        FreeRenderForm();
    } catch (...) {
    }
    S.Windows.ShowMessageBox(FormHandle(), E.what(), ErrorBoxCaption, mbsOk | mbsIconError);
    Close();
}

void TMainForm::StartFullScreen()
{
    ReleaseGL();
    FreeRenderForm();
    S.Scene.NextAutoTheme();
    S.Display.SetFullScreen(!S.Options.DesktopOnly());
    // The mode in force, not the one asked for: a refused switch leaves
    // the desktop's, and the window still covers the whole screen.
    const TFormDisplayMode Mode = S.Display.CurrentMode();
    FRenderForm = S.Windows.CreateRenderForm(TWindowBounds{0, 0, Mode.Width, Mode.Height}, *FRenderEvents);
    FRenderForm->SetTopMost();
    S.Windows.ShowCursor(false);
    FRenderForm->Show();
    FRenderForm->CaptureMouse();
    InitGL();
    S.Scene.ResetFrameState();
    S.Frame.ResetMouseFilter();
    S.Scene.SetFullScreenRunning(true);
    S.Scene.ApplySoundOption();
}

void TMainForm::StartWindowed()
{
    ReleaseGL();
    S.Display.SetFullScreen(false);
    S.Scene.SetFullScreenRunning(false);
    S.Windows.ShowCursor(true);
    FreeRenderForm();
    // Without the dialog's panel there is no window, and InitGL says so.
    if (FSettingsWindow)
        FRenderForm = S.Windows.CreateChildForm(FSettingsWindow->PreviewPanel(), FSettingsWindow->PreviewBounds(),
                                                *FRenderEvents);
    InitGL();
    if (S.Scene.GenericPixelFormat())
        S.Windows.ShowMessageBox(FormHandle(), SoftwareModeWarning, S.Frame.Title(), mbsOk | mbsIconError);
    S.Scene.ResetFrameState();
    S.Scene.ApplySoundOption();
    if (S.Dialog)
        S.Dialog->ReadSceneSound();
}

void TMainForm::InitGL()
{
    if (!FRenderForm)
        throw EGlimmoraError("Init OpenGL failed: DC is not assigned!");
    FRenderDC = FRenderForm->GetDC();
    S.Scene.InitGL(FRenderDC);
}

void TMainForm::ReleaseGL()
{
    S.Scene.ReleaseGL();
    if (FRenderDC && FRenderForm)
        FRenderForm->ReleaseDC(FRenderDC);
    FRenderDC = nullptr;
}

void TMainForm::FreeRenderForm()
{
    if (!FRenderForm)
        return;
    FRenderForm->Hide();
    FRenderForm.reset();
}

void TMainForm::EndSaver()
{
    const TFormDisplayMode Mode = S.Display.CurrentMode();
    const TRunSummary Summary{Mode.Width, Mode.Height, Mode.ColorDepth, S.Scene.FramesPerSecond()};
    S.Frame.EndSaver(Summary, TEndSaverSteps{[this] { S.Scene.StopSound(); },
                                             [this] {
                                                 if (FRenderForm)
                                                     FRenderForm->Hide();
                                             },
                                             [this] { Close(); }});
}

void TMainForm::Close()
{
    if (FClosed)
        return;
    FClosed = true;
    // The window goes and the loop ends even when the close query fails;
    // its error then reaches the exception hook.
    struct TEnd {
        TMainForm& F;
        ~TEnd()
        {
            F.FRenderForm.reset();
            F.FMainWindow.reset();
            if (F.FSettingsWindow) {
                try {
                    F.FSettingsWindow->Hide();
                } catch (...) {
                }
            }
            F.S.Loop.Terminate();
        }
    } End{*this};
    FormCloseQuery();
}

bool TMainForm::FormCloseQuery()
{
    if (S.Frame.Mode() == smPreview)
        return true;
    ReleaseGL();
    S.Display.SetFullScreen(false);
    S.Scene.FreeScene();
    FreeRenderForm();
    return true;
}

void TMainForm::RenderFramePaint()
{
    if (FRenderForm)
        S.Scene.RenderFrame(*FRenderTarget);
}

void TMainForm::RenderKeyDown(unsigned Key)
{
    (void)Key;
    EndSaver();
}

void TMainForm::RenderMouseDown(TMouseButton Button, int X, int Y)
{
    (void)Button, (void)X, (void)Y;
    EndSaver();
}

void TMainForm::RenderMouseMove(int X, int Y)
{
    if (S.Frame.MouseMoveEndsRun(X, Y))
        EndSaver();
}

void TMainForm::ButtonPreviewClick()
{
    StartFullScreen();
    if (S.Dialog)
        S.Dialog->ReadSceneTheme();
    S.Windows.ShowCursor(false);
    S.Frame.SetScreenSaverRunning(true);
    try {
        // Input ends the run through EndSaver, which hides the render form.
        while (FRenderForm && FRenderForm->Visible() && !FClosed && !S.Loop.Terminated())
            S.Loop.HandleMessage();
    } catch (...) {
        EndPreviewRun();
        throw;
    }
    EndPreviewRun();
}

void TMainForm::EndPreviewRun()
{
    S.Frame.SetScreenSaverRunning(false);
    S.Windows.ShowCursor(true);
    // An error during the run may have closed the program already.
    if (!FClosed)
        StartWindowed();
}

void TMainForm::ButtonAboutClick()
{
    TAboutBoxContent Content;
    Content.Caption = AboutCaption;
    Content.ProductName = MainFormCaption;
    Content.Version = "Version " + S.Frame.VersionText();
    Content.Notice = "Made by Tarnwick Software.\r\nCopyright (C) Tarnwick Software.";
    Content.Comments = S.Scene.GLSummaryText();
    Content.Warning =
        "This program is protected by copyright. Copying it, or passing it on in whole or in part, without the "
        "written permission of Tarnwick Software is not allowed.\r\n"
        "Whoever makes or spreads copies without that permission is liable for the damage done and may be "
        "prosecuted.";
    Content.LinkText = MakerLinkText;
    Content.LinkUrl = MakerLinkUrl;
    Content.Picture = PictureOf(LoadBitmapResource(S.Resources, BackgroundPictureName));
    if (S.Settings)
        S.Settings->ShowAboutBox(FormHandle(), Content);
}

void TMainForm::ButtonHelpClick()
{
    if (!S.Settings)
        return;
    if (!S.Settings->OpenHelpFile(FormHandle(), S.Options.ProgramPath() + HelpFileName))
        S.Settings->ShowHelpText(FormHandle(), HelpCaption, SettingsHelpText);
}

void TMainForm::ButtonExitClick(bool Ok)
{
    if (Ok)
        S.Frame.SaveOptions();
    Close();
}

void TMainForm::SetCaption(const std::string& Caption)
{
    if (FSettingsWindow)
        FSettingsWindow->SetCaption(Caption);
}

void TMainForm::ParentCheck()
{
    if (!S.Windows.IsWindow(FParent))
        Close();
}
