// Shows the settings window with a few items in its lists and prints, one
// line each, what it receives, for the window-level test of the dialog's
// windows:
//
//   SettingsWindowDemo [--gl] [--dpi N] [--about] [--help-text] [--help-file PATH]
//
//   shown W,H preview L,T,W,H   the window is up: its client size and the
//                               preview's place inside the panel
//   changed CONTROL VALUE       a list's index, a check box's state (0/1) or
//                               a track bar's position changed
//   clicked CONTROL             a button; OK and Cancel end the program
//   about closed frames N       the about box closed; N live-preview frames
//                               were drawn while it was open
//   help closed                 the help text window closed
//   help file R                 OpenHelpFile's result (0/1)
//   rescaled W,H preview L,T,W,H render W,H
//                               --dpi: after the window was told its DPI
//                               changed to N (as moving it to another
//                               monitor does), with the rectangle the system
//                               suggests; render is the GL window's size
//   gl RENDERER                 --gl: a GL context runs in the preview
//   gl size WxH pixel R,G,B     its size and the middle of a frame read back
//
// --gl draws the live preview (green) through a WGL context on a child
// window of the panel, from the idle hook. --about and --help-text open
// those boxes at the start, as the About... and Help... buttons do.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>

#include "Version.h"
#include "gl/GLClasses.h"
#include "platform/SettingsWindow.h"
#include "platform/Windowing.h"
#include "platform/win32/Win32Backends.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/Win32Text.h"

namespace {

const char* const ControlNames[SettingsControlCount] = {
    "scComboDepth",   "scComboResolution", "scCheckDesktop", "scButtonDefault", "scCheckRunAsExe", "scLabelDollars",
    "scTrackDollars", "scLabelBubbles",    "scTrackBubbles", "scComboThemes",   "scCheckSound",    "scButtonPreview",
    "scButtonAbout",  "scButtonHelp",      "scButtonOk",     "scButtonCancel"};

void Line(const std::string& Text)
{
    std::printf("%s\n", Text.c_str());
    std::fflush(stdout);
}

// The about box's picture: a 150 x 110 gradient, rows top-down, BGRX.
TPicture DemoPicture()
{
    TPicture P;
    P.Width = 150;
    P.Height = 110;
    P.Pixels.resize(std::size_t(P.Width) * P.Height * 4);
    for (int Y = 0; Y < P.Height; ++Y)
        for (int X = 0; X < P.Width; ++X) {
            std::uint8_t* Pixel = &P.Pixels[(std::size_t(Y) * P.Width + X) * 4];
            Pixel[0] = static_cast<std::uint8_t>(255 - Y * 2);   // blue
            Pixel[1] = static_cast<std::uint8_t>(X);              // green
            Pixel[2] = 40;                                       // red
            Pixel[3] = 0;
        }
    return P;
}

class TDemo final : public ISettingsEvents, public IApplicationHooks, public IWindowEvents {
public:
    TDemo(IMessageLoop& Loop, ISettingsWindows& Windows) : FLoop(Loop), FWindows(Windows) {}

    void Start(bool WithGL)
    {
        FWindow = FWindows.CreateSettingsWindow(0, "Glimmora 3D Screen Saver", *this);
        for (const char* Item : {"16 bits", "32 bits"})
            FWindow->AddItem(scComboDepth, Item);
        for (const char* Item : {"640x480", "800x600", "1024x768"})
            FWindow->AddItem(scComboResolution, Item);
        FWindow->SetItemIndex(scComboDepth, 1);
        FWindow->SetItemIndex(scComboResolution, 1);
        FWindow->SetItemIndex(scComboThemes, 0);
        FWindow->SetPosition(scTrackDollars, 50);
        FWindow->SetText(scLabelDollars, "50");
        FWindow->SetPosition(scTrackBubbles, 30);
        FWindow->SetText(scLabelBubbles, "30");
        FWindow->SetChecked(scCheckSound, true);
        FWindow->Show();
        if (WithGL)
            StartGL();
        RECT Client{};
        GetClientRect(reinterpret_cast<HWND>(FWindow->Handle()), &Client);
        const TWindowBounds B = FWindow->PreviewBounds();
        Line("shown " + std::to_string(Client.right) + "," + std::to_string(Client.bottom) + " preview " +
             std::to_string(B.Left) + "," + std::to_string(B.Top) + "," + std::to_string(B.Width) + "," +
             std::to_string(B.Height));
    }

    void StopGL()
    {
        if (!FEngine)
            return;
        FEngine->MakeNotCurrent();
        FEngine->DoneOpenGL();
        FEngine->SetDC(nullptr);
        FRender->ReleaseDC(FDC);
        FEngine.reset();
        FRender.reset();
    }

    void About()
    {
        TAboutBoxContent Content;
        Content.Caption = "About Glimmora 3D Screen Saver";
        Content.ProductName = "Glimmora 3D Screen Saver";
        Content.Version = std::string("Version ") + GlimmoraVersionText;
        Content.Notice = "Tarnwick Software. All rights reserved.";
        Content.Comments = "OpenGL vendor: Demo\r\nrenderer: Demo\r\nversion: 1.1";
        Content.Warning = "Warning: this program is protected by copyright law.\r\nUnauthorised copying or "
                          "distribution of it, or of any part of it, is prohibited.";
        Content.LinkText = "www.tarnwick.example";
        Content.LinkUrl = "http://www.tarnwick.example/";
        Content.Picture = DemoPicture();
        const int Before = FFrames;
        FWindows.ShowAboutBox(FWindow->Handle(), Content);
        Line("about closed frames " + std::to_string(FFrames - Before));
    }

    void HelpText()
    {
        FWindows.ShowHelpText(FWindow->Handle(), "Glimmora 3D Screen Saver Help",
                              "Glimmora 3D Screen Saver\n\nThe settings:\n- Dollar Count\n- Bubble Count\n- Themes");
        Line("help closed");
    }

    // What the system sends when the window moves to a monitor of another
    // DPI: the new DPI and the window rectangle for it.
    void ChangeDpi(int Dpi)
    {
        HWND Wnd = reinterpret_cast<HWND>(FWindow->Handle());
        RECT Now{};
        GetWindowRect(Wnd, &Now);
        RECT R{0, 0, MulDiv(511, Dpi, 96), MulDiv(363, Dpi, 96)};
        AdjustWindowRectEx(&R, static_cast<DWORD>(GetWindowLongW(Wnd, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongW(Wnd, GWL_EXSTYLE)));
        OffsetRect(&R, Now.left - R.left, Now.top - R.top);
        SendMessageW(Wnd, WM_DPICHANGED, MAKEWPARAM(Dpi, Dpi), reinterpret_cast<LPARAM>(&R));
        RECT Client{};
        GetClientRect(Wnd, &Client);
        const TWindowBounds B = FWindow->PreviewBounds();
        Line("rescaled " + std::to_string(Client.right) + "," + std::to_string(Client.bottom) + " preview " +
             std::to_string(B.Left) + "," + std::to_string(B.Top) + "," + std::to_string(B.Width) + "," +
             std::to_string(B.Height) + " render " +
             (FRender ? std::to_string(FRender->Width()) + "x" + std::to_string(FRender->Height()) : "none"));
    }

    void HelpFile(const std::string& Name)
    {
        Line(std::string("help file ") + (FWindows.OpenHelpFile(FWindow->Handle(), Name) ? "1" : "0"));
    }

    // ISettingsEvents
    void Changed(TSettingsControl C) override
    {
        int Value = 0;
        if (C == scTrackDollars || C == scTrackBubbles) {
            Value = FWindow->Position(C);
            FWindow->SetText(C == scTrackDollars ? scLabelDollars : scLabelBubbles, std::to_string(Value));
        } else if (C == scComboDepth || C == scComboResolution || C == scComboThemes)
            Value = FWindow->ItemIndex(C);
        else
            Value = FWindow->Checked(C) ? 1 : 0;
        Line(std::string("changed ") + ControlNames[C] + " " + std::to_string(Value));
    }
    void Clicked(TSettingsControl C) override
    {
        Line(std::string("clicked ") + ControlNames[C]);
        if (C == scButtonOk || C == scButtonCancel) {
            StopGL();
            FWindow.reset();
            FLoop.Terminate();
        } else if (C == scButtonAbout)
            About();
        else if (C == scButtonHelp)
            HelpText();
    }

    // IApplicationHooks: the live preview's frames, back to back.
    void Idle(bool& Done) override
    {
        if (!FEngine)
            return;
        glViewport(0, 0, FRender->Width(), FRender->Height());
        glClearColor(0, 1, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        FEngine->SwapBuffers(FDC);
        ++FFrames;
        Sleep(10);
        Done = false;
    }
    void Exception(const std::exception& E) override
    {
        Line(std::string("exception ") + E.what());
        FLoop.Terminate();
    }

private:
    void StartGL()
    {
        FSystem = CreateWindowSystem(FLoop);
        FRender = FSystem->CreateChildForm(FWindow->PreviewPanel(), FWindow->PreviewBounds(), *this);
        if (!FRender)
            throw std::runtime_error("no child window in the preview panel");
        FContext = CreateWGLContext();
        FLibraries = CreateSystemLibraryLoader();
        FEngine = std::make_unique<TOpenGLEngine>(*FContext, *FLibraries);
        FDC = FRender->GetDC();
        FEngine->SetDC(FDC);
        FEngine->SetDefaults();
        FEngine->InitOpenGL();
        FEngine->MakeCurrent();
        Line(std::string("gl ") + reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
        // A frame, read back from the child window's buffer.
        bool Done = true;
        Idle(Done);
        glViewport(0, 0, FRender->Width(), FRender->Height());
        glClearColor(0, 1, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glFinish();
        GLubyte P[4] = {};
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(FRender->Width() / 2, FRender->Height() / 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, P);
        Line("gl size " + std::to_string(FRender->Width()) + "x" + std::to_string(FRender->Height()) + " pixel " +
             std::to_string(P[0]) + "," + std::to_string(P[1]) + "," + std::to_string(P[2]));
    }

    IMessageLoop& FLoop;
    ISettingsWindows& FWindows;
    std::unique_ptr<ISettingsWindow> FWindow;
    std::unique_ptr<IWindowSystem> FSystem;
    std::unique_ptr<IWindow> FRender;
    std::unique_ptr<IGLContextBackend> FContext;
    std::unique_ptr<ILibraryLoader> FLibraries;
    std::unique_ptr<TOpenGLEngine> FEngine;
    TGLDeviceContext FDC = nullptr;
    int FFrames = 0;
};

} // namespace

int wmain(int Argc, wchar_t** Argv)
{
    bool WithGL = false, About = false, HelpText = false;
    std::string HelpFile;
    int Dpi = 0;
    for (int I = 1; I < Argc; ++I) {
        if (std::wcscmp(Argv[I], L"--gl") == 0)
            WithGL = true;
        else if (std::wcscmp(Argv[I], L"--about") == 0)
            About = true;
        else if (std::wcscmp(Argv[I], L"--help-text") == 0)
            HelpText = true;
        else if (std::wcscmp(Argv[I], L"--dpi") == 0 && I + 1 < Argc) {
            Dpi = static_cast<int>(std::wcstol(Argv[++I], nullptr, 10));
            if (Dpi < 48 || Dpi > 480) {
                std::fprintf(stderr, "--dpi: 48 to 480\n");
                return 2;
            }
        } else if (std::wcscmp(Argv[I], L"--help-file") == 0 && I + 1 < Argc)
            HelpFile = Win32Narrow(Argv[++I]);
        else {
            std::fprintf(stderr, "usage: SettingsWindowDemo [--gl] [--dpi N] [--about] [--help-text] [--help-file PATH]\n");
            return 2;
        }
    }
    const auto Loop = CreateMessageLoop();
    const auto Windows = CreateSettingsWindows(*Loop);
    TDemo Demo(*Loop, *Windows);
    Loop->SetHooks(&Demo);
    try {
        Demo.Start(WithGL);
        if (Dpi)
            Demo.ChangeDpi(Dpi);
        if (!HelpFile.empty())
            Demo.HelpFile(HelpFile);
        if (About)
            Demo.About();
        if (HelpText)
            Demo.HelpText();
        Loop->Run();
    } catch (const std::exception& E) {
        Line(std::string("error ") + E.what());
        Demo.StopGL();
        return 1;
    }
    Demo.StopGL();
    Loop->SetHooks(nullptr);
    return 0;
}
