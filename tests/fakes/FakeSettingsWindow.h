// Fakes of the settings dialog's seam. The view keeps every control's
// state (items, selection, check, position, text, enabled) the way the real
// controls do, raises no event when the logic sets a value, and lets a test
// play the user: Select/Check/Slide change a control and raise Changed,
// Click raises Clicked. The windows object records the dialog it made, the
// about boxes, help files and help texts; window actions land in the
// shared call log ("settings.Show", "settings.Hide", "settings.Destroy").
#pragma once

#include <array>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "fakes/FakeWindowing.h"
#include "platform/SettingsWindow.h"

class TFakeSettingsView : public ISettingsView {
public:
    struct TControl {
        std::vector<std::string> Items;
        int Index = -1;
        bool Checked = false;
        int Position = 0;
        std::string Text;
        bool Enabled = true;
    };
    std::array<TControl, SettingsControlCount> Controls{};
    std::string Caption;
    std::vector<std::string> Captions;   // every caption set, in order
    int Writes = 0;                      // every call that changes a control
    ISettingsEvents* Events = nullptr;   // where the user's actions go

    TFakeSettingsView()
    {
        // The theme list is part of the design.
        Controls[scComboThemes].Items = {"Auto", "Immersion", "Fountain", "Fishes"};
    }

    TControl& C(TSettingsControl Control) { return Controls[static_cast<std::size_t>(Control)]; }
    std::string SelectedText(TSettingsControl List)
    {
        const TControl& L = C(List);
        return L.Index >= 0 && L.Index < static_cast<int>(L.Items.size()) ? L.Items[std::size_t(L.Index)] : "";
    }

    // The user's actions.
    void Select(TSettingsControl List, const std::string& Text)
    {
        TControl& L = C(List);
        for (std::size_t I = 0; I < L.Items.size(); ++I)
            if (L.Items[I] == Text)
                L.Index = static_cast<int>(I);
        Fire(List);
    }
    void Check(TSettingsControl Box, bool Value)
    {
        C(Box).Checked = Value;
        Fire(Box);
    }
    void Slide(TSettingsControl Bar, int Position)
    {
        C(Bar).Position = Position;
        Fire(Bar);
    }
    void Click(TSettingsControl Button)
    {
        if (Events)
            Events->Clicked(Button);
    }

    void ClearItems(TSettingsControl List) override
    {
        ++Writes;
        C(List).Items.clear();
        C(List).Index = -1;
    }
    void AddItem(TSettingsControl List, const std::string& Text) override
    {
        ++Writes;
        C(List).Items.push_back(Text);
    }
    int ItemCount(TSettingsControl List) override { return static_cast<int>(C(List).Items.size()); }
    std::string ItemText(TSettingsControl List, int Index) override
    {
        const TControl& L = C(List);
        return Index >= 0 && Index < static_cast<int>(L.Items.size()) ? L.Items[std::size_t(Index)] : "";
    }
    int ItemIndex(TSettingsControl List) override { return C(List).Index; }
    void SetItemIndex(TSettingsControl List, int Index) override
    {
        ++Writes;
        C(List).Index = Index >= 0 && Index < ItemCount(List) ? Index : -1;
    }
    bool Checked(TSettingsControl Box) override { return C(Box).Checked; }
    void SetChecked(TSettingsControl Box, bool Value) override
    {
        ++Writes;
        C(Box).Checked = Value;
    }
    int Position(TSettingsControl Bar) override { return C(Bar).Position; }
    void SetPosition(TSettingsControl Bar, int Value) override
    {
        ++Writes;
        // The real track bar keeps its position inside its range.
        C(Bar).Position = Value < 0 ? 0 : Value > 100 ? 100 : Value;
    }
    void SetText(TSettingsControl Label, const std::string& Text) override
    {
        ++Writes;
        C(Label).Text = Text;
    }
    bool Enabled(TSettingsControl Control) override { return C(Control).Enabled; }
    void SetEnabled(TSettingsControl Control, bool Value) override
    {
        ++Writes;
        C(Control).Enabled = Value;
    }
    void SetCaption(const std::string& Text) override
    {
        Caption = Text;
        Captions.push_back(Text);
    }

private:
    void Fire(TSettingsControl Control)
    {
        if (Events)
            Events->Changed(Control);
    }
};

class TFakeSettingsWindow : public TFakeSettingsView, public ISettingsWindow {
public:
    TFakeSettingsWindow(TCallLines& Log, TWindowHandle Handle, TWindowHandle Panel, TWindowBounds Bounds)
        : FLog(Log), FHandle(Handle), FPanel(Panel), FBounds(Bounds)
    {
    }
    ~TFakeSettingsWindow() override { FLog.push_back("settings.Destroy"); }
    bool Visible = false;

    TWindowHandle Handle() const override { return FHandle; }
    TWindowHandle PreviewPanel() const override { return FPanel; }
    TWindowBounds PreviewBounds() const override { return FBounds; }
    void Show() override
    {
        FLog.push_back("settings.Show");
        Visible = true;
    }
    void Hide() override
    {
        FLog.push_back("settings.Hide");
        Visible = false;
    }

    // ISettingsView through the view's own state.
    void ClearItems(TSettingsControl L) override { TFakeSettingsView::ClearItems(L); }
    void AddItem(TSettingsControl L, const std::string& T) override { TFakeSettingsView::AddItem(L, T); }
    int ItemCount(TSettingsControl L) override { return TFakeSettingsView::ItemCount(L); }
    std::string ItemText(TSettingsControl L, int I) override { return TFakeSettingsView::ItemText(L, I); }
    int ItemIndex(TSettingsControl L) override { return TFakeSettingsView::ItemIndex(L); }
    void SetItemIndex(TSettingsControl L, int I) override { TFakeSettingsView::SetItemIndex(L, I); }
    bool Checked(TSettingsControl B) override { return TFakeSettingsView::Checked(B); }
    void SetChecked(TSettingsControl B, bool V) override { TFakeSettingsView::SetChecked(B, V); }
    int Position(TSettingsControl B) override { return TFakeSettingsView::Position(B); }
    void SetPosition(TSettingsControl B, int V) override { TFakeSettingsView::SetPosition(B, V); }
    void SetText(TSettingsControl L, const std::string& T) override { TFakeSettingsView::SetText(L, T); }
    bool Enabled(TSettingsControl C) override { return TFakeSettingsView::Enabled(C); }
    void SetEnabled(TSettingsControl C, bool V) override { TFakeSettingsView::SetEnabled(C, V); }
    void SetCaption(const std::string& T) override { TFakeSettingsView::SetCaption(T); }

private:
    TCallLines& FLog;
    TWindowHandle FHandle;
    TWindowHandle FPanel;
    TWindowBounds FBounds;
};

// Makes the dialog as a child-capable window of the fake window system:
// its preview panel is registered there as a window, so the render form
// can be made inside it.
class TFakeSettingsWindows : public ISettingsWindows {
public:
    TFakeSettingsWindows(TCallLines& Log, TFakeWindowSystem& Windows) : FLog(Log), FWindows(Windows) {}

    static constexpr TWindowHandle DialogHandle = 0x5000;
    static constexpr TWindowHandle PanelHandle = 0x5001;
    TWindowBounds PanelBounds{2, 2, 316, 236};

    TFakeSettingsWindow* Dialog = nullptr;   // the last made; null once destroyed
    TWindowHandle Owner = 0;
    std::vector<TAboutBoxContent> AboutBoxes;
    std::vector<std::string> HelpFiles;      // every file asked to open
    std::set<std::string> ExistingHelpFiles; // the ones that open
    struct THelpText {
        TWindowHandle Owner;
        std::string Caption, Text;
    };
    std::vector<THelpText> HelpTexts;
    std::vector<std::string> Captions;       // those the last dialog had set, once it is gone

    std::unique_ptr<ISettingsWindow> CreateSettingsWindow(TWindowHandle NewOwner, const std::string& Caption,
                                                          ISettingsEvents& Events) override
    {
        FLog.push_back("settings.Create(" + std::to_string(NewOwner) + "," + Caption + ")");
        Owner = NewOwner;
        auto W = std::make_unique<TTracked>(*this, FLog, DialogHandle, PanelHandle, PanelBounds);
        W->Events = &Events;
        W->Caption = Caption;
        Dialog = W.get();
        FWindows.Foreign[DialogHandle] = TWindowBounds{0, 0, 511, 363};
        FWindows.Foreign[PanelHandle] = TWindowBounds{0, 0, 320, 240};
        return W;
    }
    void ShowAboutBox(TWindowHandle BoxOwner, const TAboutBoxContent& Content) override
    {
        FLog.push_back("settings.ShowAboutBox(" + std::to_string(BoxOwner) + ")");
        AboutBoxes.push_back(Content);
    }
    bool OpenHelpFile(TWindowHandle, const std::string& FileName) override
    {
        FLog.push_back("settings.OpenHelpFile(" + FileName + ")");
        HelpFiles.push_back(FileName);
        return ExistingHelpFiles.count(FileName) != 0;
    }
    void ShowHelpText(TWindowHandle TextOwner, const std::string& Caption, const std::string& Text) override
    {
        FLog.push_back("settings.ShowHelpText(" + Caption + ")");
        HelpTexts.push_back(THelpText{TextOwner, Caption, Text});
    }

private:
    class TTracked final : public TFakeSettingsWindow {
    public:
        TTracked(TFakeSettingsWindows& Owner, TCallLines& Log, TWindowHandle Handle, TWindowHandle Panel,
                 TWindowBounds Bounds)
            : TFakeSettingsWindow(Log, Handle, Panel, Bounds), FOwner(Owner)
        {
        }
        ~TTracked() override
        {
            if (FOwner.Dialog == this)
                FOwner.Dialog = nullptr;
            FOwner.Captions = TFakeSettingsView::Captions;
            FOwner.FWindows.Foreign.erase(DialogHandle);
            FOwner.FWindows.Foreign.erase(PanelHandle);
        }

    private:
        TFakeSettingsWindows& FOwner;
    };

    TCallLines& FLog;
    TFakeWindowSystem& FWindows;
};
