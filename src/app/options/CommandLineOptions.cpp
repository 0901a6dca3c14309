#include "app/options/CommandLineOptions.h"

#include <array>
#include <charconv>

#include "gl/Errors.h"

namespace {

template <class T>
std::string ToText(T Value)
{
    char Buffer[64];
    const auto Result = std::to_chars(Buffer, Buffer + sizeof(Buffer), Value);
    return std::string(Buffer, Result.ptr);
}

std::string RangeText(int64_t Min, int64_t Max) { return ToText(Min) + " to " + ToText(Max); }

EGlimmoraError BadValue(const std::string& Text, std::string_view Option, const std::string& Expected)
{
    return EGlimmoraError("Bad value \"" + Text + "\" for " + std::string(Option) + " (expected " + Expected + ")");
}

// Text as a whole as a T in Min..Max (NaN is out of every range).
template <class T>
T Number(std::string_view Option, const std::string& Text, int64_t Min, int64_t Max)
{
    T Value{};
    const auto [End, Err] = std::from_chars(Text.data(), Text.data() + Text.size(), Value);
    if (Text.empty() || Err != std::errc() || End != Text.data() + Text.size() ||
        !(Value >= static_cast<T>(Min) && Value <= static_cast<T>(Max)))
        throw BadValue(Text, Option, RangeText(Min, Max));
    return Value;
}

constexpr int64_t MaxSeed = UINT32_MAX;

const std::array<TCommandLineRow, 21>& Rows()
{
    // clang-format off
    static const std::array<TCommandLineRow, 21> Table{{
        {cfFullScreen, "--fullscreen", "", false, "", fsSwitch, 0, 0, {}, fdNone, "",
         "the saver: cover the display at its current mode; a key, a button or a mouse move ends it", fgRun},
        {cfMode, "--mode", "", false, "WxHxBPP", fsMode, 1, 16384, {}, fdNone, "",
         "full screen in this display mode; the desktop's mode comes back after", fgRun},
        {cfRoot, "--root", "", true, "", fsSwitch, 0, 0, {}, fdNone, "",
         "draw on the root window (or the window in $XSCREENSAVER_WINDOW)", fgRun},
        {cfWindowId, "--window-id", "", true, "ID", fsWindowId, 1, UINT32_MAX, {}, fdNone, "",
         "draw into the X window ID (decimal, or hexadecimal after 0x)", fgRun},
        {cfSnapshot, "--snapshot", "", false, "FILE.png", fsFileName, 0, 0, {}, fdNone, "",
         "render one picture without a display", fgRun},
        {cfBench, "--bench", "", false, "", fsSwitch, 0, 0, {}, fdNone, "",
         "measure frames per second without a display", fgRun},
        {cfHelp, "--help", "-h", false, "", fsSwitch, 0, 0, {}, fdNone, "",
         "show the options and exit", fgRun},
        {cfVersion, "--version", "", false, "", fsSwitch, 0, 0, {}, fdNone, "",
         "show the version and exit", fgRun},

        {cfTheme, "--theme", "", false, "N|auto", fsTheme, 0, 2, orTheme, fdSaverOption, "",
         "0 Immersion, 1 Fountain, 2 Fishes; auto: the next theme at every run", fgScene},
        {cfDollars, "--dollars", "", false, "N", fsInteger, 0, MaxOptionCount, orDollarCount, fdSaverOption, "",
         "number of dollar bills, {range}", fgScene},
        {cfBubbles, "--bubbles", "", false, "N", fsInteger, 0, MaxOptionCount, orBubbleCount, fdSaverOption, "",
         "number of bubbles, {range}", fgScene},
        {cfSound, "--sound", "", false, "", fsSwitch, 0, 0, orSound, fdNone, "",
         "play the bubble sound (in another program's window only with this flag)", fgScene},
        {cfNoSound, "--no-sound", "", false, "", fsSwitch, 0, 0, orSound, fdNone, "",
         "no bubble sound", fgScene},
        {cfIni, "--ini", "", false, "FILE", fsText, 0, 0, {}, fdDescribed, "glimmora3d.ini next to the program",
         "the tuning file", fgScene},

        {cfFps, "--fps", "", true, "", fsSwitch, 0, 0, {}, fdNone, "",
         "draw the frame rate in a corner", fgPace},
        {cfDelay, "--delay", "", true, "MICROSECONDS", fsInteger, 0, 10000000, {}, fdValue, "0",
         "pause this long after every frame", fgPace},
        {cfMaxFps, "--max-fps", "", false, "N", fsInteger, 0, 1000, {}, fdDescribed, "the display's refresh, else 60",
         "at most N frames a second; 0: as fast as possible", fgPace},

        {cfSize, "--size", "", false, "WxH", fsSize, 1, 8192, {}, fdValue, "800x600",
         "size of the window or the picture in pixels", fgPictures},
        {cfTime, "--time", "", false, "SECONDS", fsNumber, 0, 86400, {}, fdValue, "5",
         "scene time advanced before a snapshot", fgPictures},
        {cfSeed, "--seed", "", false, "N", fsInteger, 0, MaxSeed, {}, fdNone, "",
         "random seed: the same seed gives the same picture", fgPictures},
        {cfFrames, "--frames", "", false, "N", fsInteger, 1, 1000000, {}, fdValue, "300",
         "frames drawn by --bench", fgPictures},
    }};
    // clang-format on
    return Table;
}

// WIDTHxHEIGHT[xBITS] split at 'x' or 'X'; false when there are not Parts parts.
bool SplitSize(const std::string& Text, std::size_t Parts, std::array<std::string, 3>& Out)
{
    std::size_t Start = 0;
    for (std::size_t i = 0; i + 1 < Parts; ++i) {
        const std::size_t X = Text.find_first_of("xX", Start);
        if (X == std::string::npos)
            return false;
        Out[i] = Text.substr(Start, X - Start);
        Start = X + 1;
    }
    Out[Parts - 1] = Text.substr(Start);
    return true;
}

} // namespace

std::span<const TCommandLineRow> CommandLineRows() { return Rows(); }

const TCommandLineRow& CommandLineRow(TCommandLineFlag Flag)
{
    // The table is in flag order.
    return Rows().at(static_cast<std::size_t>(Flag));
}

const TCommandLineRow* FindCommandLineRow(std::string_view Spelling)
{
    for (const TCommandLineRow& Row : Rows()) {
        if (Spelling == Row.Name || (!Row.Alias.empty() && Spelling == Row.Alias) ||
            (Spelling.size() > 1 && Spelling[0] == '-' && Spelling[1] != '-' && Spelling == Row.Name.substr(1)))
            return &Row;
    }
    return nullptr;
}

uint64_t ParseWindowId(const std::string& Option, const std::string& Text)
{
    const bool Hex = Text.size() > 2 && Text[0] == '0' && (Text[1] == 'x' || Text[1] == 'X');
    const std::string Digits = Hex ? Text.substr(2) : Text;
    uint64_t Value = 0;
    const auto [End, Err] = std::from_chars(Digits.data(), Digits.data() + Digits.size(), Value, Hex ? 16 : 10);
    if (Digits.empty() || Err != std::errc() || End != Digits.data() + Digits.size() || Value == 0 ||
        Value > UINT32_MAX)
        throw BadValue(Text, Option, "a window id");
    return Value;
}

TFlagValue ParseFlagValue(const TCommandLineRow& Row, const std::string& Text)
{
    TFlagValue V;
    switch (Row.Syntax) {
    case fsSwitch:
        break;
    case fsInteger:
        V.Integer = Number<int64_t>(Row.Name, Text, Row.Min, Row.Max);
        break;
    case fsNumber:
        V.Number = Number<double>(Row.Name, Text, Row.Min, Row.Max);
        break;
    case fsFileName:
        if (Text.empty())
            throw EGlimmoraError("Missing file name after " + std::string(Row.Name));
        V.Text = Text;
        break;
    case fsText:
        V.Text = Text;
        break;
    case fsTheme:
        V.Auto = Text == "auto";
        if (!V.Auto) {
            try {
                V.Integer = Number<int64_t>(Row.Name, Text, Row.Min, Row.Max);
            } catch (const EGlimmoraError&) {
                throw BadValue(Text, Row.Name, RangeText(Row.Min, Row.Max) + " or auto");
            }
        }
        break;
    case fsSize: {
        std::array<std::string, 3> Parts;
        if (!SplitSize(Text, 2, Parts))
            throw BadValue(Text, Row.Name, "WIDTHxHEIGHT");
        V.Width = static_cast<int>(Number<int64_t>(Row.Name, Parts[0], Row.Min, Row.Max));
        V.Height = static_cast<int>(Number<int64_t>(Row.Name, Parts[1], Row.Min, Row.Max));
        break;
    }
    case fsMode: {
        std::array<std::string, 3> Parts;
        if (!SplitSize(Text, 3, Parts))
            throw BadValue(Text, Row.Name, "WIDTHxHEIGHTxBITS");
        V.Width = static_cast<int>(Number<int64_t>(Row.Name, Parts[0], Row.Min, Row.Max));
        V.Height = static_cast<int>(Number<int64_t>(Row.Name, Parts[1], Row.Min, Row.Max));
        V.Bits = static_cast<int>(Number<int64_t>(Row.Name, Parts[2], 8, 32));
        break;
    }
    case fsWindowId:
        V.Integer = static_cast<int64_t>(ParseWindowId(std::string(Row.Name), Text));
        break;
    }
    return V;
}

std::string FlagHelpText(const TCommandLineRow& Row)
{
    std::string Text(Row.Help);
    const std::string_view Range = "{range}";
    if (const std::size_t At = Text.find(Range); At != std::string::npos)
        Text.replace(At, Range.size(), RangeText(Row.Min, Row.Max));
    return Text;
}

std::string FlagDefaultText(const TCommandLineRow& Row)
{
    switch (Row.DefaultFrom) {
    case fdNone: break;
    case fdValue: return "default " + std::string(Row.Default);
    case fdDescribed: return "default: " + std::string(Row.Default);
    case fdSaverOption:
        if (Row.Saver)
            return "default: as in the options file, else " + ToText(OptionRow(*Row.Saver).DefaultValue);
        break;
    }
    return "";
}
