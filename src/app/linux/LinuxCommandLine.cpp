#include "app/linux/LinuxCommandLine.h"

#include <algorithm>

#include "app/options/Options.h"
#include "gl/Errors.h"

namespace {

// Sets the field of Row's flag from its value.
void ApplyFlag(TLinuxRunOptions& O, const TCommandLineRow& Row, const TFlagValue& V)
{
    switch (Row.Flag) {
    case cfFullScreen: O.FullScreen = true; break;
    case cfMode:
        O.ModeWidth = V.Width;
        O.ModeHeight = V.Height;
        O.ModeBitsPerPixel = V.Bits;
        O.FullScreen = true;
        break;
    case cfRoot: O.Root = true; break;
    case cfWindowId: O.WindowId = static_cast<uint64_t>(V.Integer); break;
    case cfSnapshot: O.OutputFile = V.Text; break;
    case cfBench: break;
    case cfHelp: break;
    case cfVersion: break;
    case cfTheme: O.Theme = TThemeChoice{V.Auto, static_cast<int>(V.Integer)}; break;
    case cfDollars: O.DollarCount = static_cast<int>(V.Integer); break;
    case cfBubbles: O.BubbleCount = static_cast<int>(V.Integer); break;
    case cfSound: O.Sound = true; break;
    case cfNoSound: O.Sound = false; break;
    case cfIni: O.TuningFile = V.Text; break;
    case cfFps: O.ShowFps = true; break;
    case cfDelay: O.DelayMicroseconds = V.Integer; break;
    case cfMaxFps: O.MaxFps = static_cast<int>(V.Integer); break;
    case cfSize:
        O.Width = V.Width;
        O.Height = V.Height;
        break;
    case cfTime: O.SceneTime = V.Number; break;
    case cfSeed: O.Seed = static_cast<uint32_t>(V.Integer); break;
    case cfFrames: O.Frames = static_cast<int>(V.Integer); break;
    }
}

int SaverDefault(TOptionRole Role) { return OptionRow(Role).DefaultValue; }

// "--mode WxHxBPP", "--fps"
std::string Spelling(const TCommandLineRow& Row)
{
    return std::string(Row.Name) + (Row.ValueName.empty() ? "" : " " + std::string(Row.ValueName));
}

// Words of Text in lines of at most Width columns; the first line starts
// at column Start (what comes before it is the caller's), the others after
// Indent blanks.
std::string Wrapped(const std::string& Text, std::size_t Start, std::size_t Indent, std::size_t Width = 79)
{
    std::string Out;
    std::size_t Column = Start;
    for (std::size_t At = 0; At < Text.size();) {
        const std::size_t End = std::min(Text.find(' ', At), Text.size());
        const std::string Word = Text.substr(At, End - At);
        if (!Out.empty()) {
            if (Column + 1 + Word.size() > Width) {
                Out += "\n" + std::string(Indent, ' ');
                Column = Indent;
            } else {
                Out += ' ';
                ++Column;
            }
        }
        Out += Word;
        Column += Word.size();
        At = End + 1;
    }
    return Out + "\n";
}

} // namespace

int TLinuxRunOptions::ThemeIndexOrDefault() const
{
    if (Theme && !Theme->Auto)
        return Theme->Index;
    bool Auto = false;
    int32_t Index = 0;
    DecodeTheme(SaverDefault(orTheme), Auto, Index);
    return Index;
}

int TLinuxRunOptions::DollarCountOrDefault() const { return DollarCount.value_or(SaverDefault(orDollarCount)); }

int TLinuxRunOptions::BubbleCountOrDefault() const { return BubbleCount.value_or(SaverDefault(orBubbleCount)); }

TLinuxRunOptions ParseLinuxCommandLine(const std::vector<std::string>& Args)
{
    TLinuxRunOptions O;
    for (const TCommandLineRow& Row : CommandLineRows())
        if (Row.DefaultFrom == fdValue)
            ApplyFlag(O, Row, ParseFlagValue(Row, std::string(Row.Default)));
    O.Kind = lkScreen;
    bool KindGiven = false;
    const auto SetKind = [&](TLinuxRunKind K) {
        if (KindGiven && O.Kind != K)
            throw EGlimmoraError("--snapshot and --bench cannot be combined");
        O.Kind = K;
        KindGiven = true;
    };
    for (std::size_t i = 0; i < Args.size(); ++i) {
        // Screen-saver hacks take single-dash options (-root, -window-id).
        const std::string A = Args[i].size() > 2 && Args[i][0] == '-' && Args[i][1] != '-' ? "-" + Args[i] : Args[i];
        const TCommandLineRow* Row = FindCommandLineRow(A);
        if (!Row)
            throw EGlimmoraError("Unknown argument \"" + A + "\" (see --help)");
        if (Row->Flag == cfHelp || Row->Flag == cfVersion) {
            O.Kind = Row->Flag == cfHelp ? lkHelp : lkVersion;
            return O;
        }
        if (Row->Flag == cfSnapshot)
            SetKind(lkSnapshot);
        else if (Row->Flag == cfBench)
            SetKind(lkBench);
        std::string Text;
        if (Row->Syntax != fsSwitch) {
            if (i + 1 >= Args.size())
                throw EGlimmoraError("Missing value after " + std::string(Row->Name));
            Text = Args[++i];
        }
        ApplyFlag(O, *Row, ParseFlagValue(*Row, Text));
    }
    return O;
}

std::string LinuxUsageText()
{
    std::string Text = "Glimmora 3D - an underwater screen saver\n"
                       "\n"
                       "usage: glimmora3d [options]\n"
                       "       glimmora3d --fullscreen [--mode WxHxBPP] [options]\n"
                       "       glimmora3d --root | --window-id ID [options]\n"
                       "       glimmora3d --snapshot FILE.png [options]\n"
                       "       glimmora3d --bench [options]\n"
                       "\n"
                       "Without --fullscreen, --root, --window-id, --snapshot or --bench it shows\n"
                       "the scene in a window of its own; Escape ends it.\n";
    std::size_t Column = 0;
    for (const TCommandLineRow& Row : CommandLineRows())
        Column = std::max(Column, Spelling(Row).size());
    const char* const Sections[] = {"what to run", "the scene", "pace and display", "pictures and benchmarks"};
    for (const TFlagSection Section : {fgRun, fgScene, fgPace, fgPictures}) {
        Text += "\n" + std::string(Sections[Section]) + ":\n";
        for (const TCommandLineRow& Row : CommandLineRows()) {
            if (Row.Section != Section)
                continue;
            const std::string Flag = Spelling(Row);
            const std::string Default = FlagDefaultText(Row);
            Text += "  " + Flag + std::string(Column + 2 - Flag.size(), ' ') +
                    Wrapped(FlagHelpText(Row) + (Default.empty() ? "" : " (" + Default + ")"), Column + 4, Column + 4);
        }
    }
    // The flags that override a stored option, and the hack spellings.
    std::string Stored, Hack;
    for (const TCommandLineRow& Row : CommandLineRows()) {
        if (Row.Saver)
            Stored += (Stored.empty() ? "" : ", ") + std::string(Row.Name);
        if (Row.HackSpelling)
            Hack += (Hack.empty() ? "" : ", ") + std::string(Row.Name.substr(1));
    }
    Text += "\n" + Wrapped("on a screen, " + Stored + " override the options file " +
                           "(~/.config/glimmora3d/glimmora3d.ini) for one run; single-dash spellings (" + Hack +
                           ") work too, as XScreenSaver passes them",
                           0, 0);
    return Text;
}
