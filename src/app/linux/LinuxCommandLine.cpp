#include "app/linux/LinuxCommandLine.h"

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

template <class T>
T Number(const std::string& Option, const std::string& Text, T Min, T Max)
{
    T Value{};
    const auto [End, Err] = std::from_chars(Text.data(), Text.data() + Text.size(), Value);
    if (Text.empty() || Err != std::errc() || End != Text.data() + Text.size() || !(Value >= Min && Value <= Max))
        throw EGlimmoraError("Bad value \"" + Text + "\" for " + Option + " (expected " + ToText(Min) + " to " +
                             ToText(Max) + ")");
    return Value;
}

} // namespace

uint64_t ParseWindowId(const std::string& Option, const std::string& Text)
{
    const bool Hex = Text.size() > 2 && Text[0] == '0' && (Text[1] == 'x' || Text[1] == 'X');
    const std::string Digits = Hex ? Text.substr(2) : Text;
    uint64_t Value = 0;
    const auto [End, Err] = std::from_chars(Digits.data(), Digits.data() + Digits.size(), Value, Hex ? 16 : 10);
    if (Digits.empty() || Err != std::errc() || End != Digits.data() + Digits.size() || Value == 0 ||
        Value > UINT32_MAX)
        throw EGlimmoraError("Bad value \"" + Text + "\" for " + Option + " (expected a window id)");
    return Value;
}

TLinuxRunOptions ParseLinuxCommandLine(const std::vector<std::string>& Args)
{
    TLinuxRunOptions O;
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
        const auto Value = [&]() -> const std::string& {
            if (i + 1 >= Args.size())
                throw EGlimmoraError("Missing value after " + A);
            return Args[++i];
        };
        if (A == "--help" || A == "-h") {
            O.Kind = lkHelp;
            return O;
        } else if (A == "--version") {
            O.Kind = lkVersion;
            return O;
        } else if (A == "--snapshot") {
            SetKind(lkSnapshot);
            O.OutputFile = Value();
            if (O.OutputFile.empty())
                throw EGlimmoraError("Missing file name after --snapshot");
        } else if (A == "--bench") {
            SetKind(lkBench);
        } else if (A == "--theme") {
            const std::string& V = Value();
            O.ThemeGiven = true;
            O.ThemeAuto = V == "auto";
            if (!O.ThemeAuto)
                O.Theme = Number<int>(A, V, 0, 2);
        } else if (A == "--size") {
            const std::string& V = Value();
            const std::size_t X = V.find_first_of("xX");
            if (X == std::string::npos)
                throw EGlimmoraError("Bad value \"" + V + "\" for --size (expected WIDTHxHEIGHT)");
            O.Width = Number<int>(A, V.substr(0, X), 1, 8192);
            O.Height = Number<int>(A, V.substr(X + 1), 1, 8192);
            O.WindowSizeGiven = true;
        } else if (A == "--time") {
            O.SceneTime = Number<double>(A, Value(), 0.0, 86400.0);
        } else if (A == "--dollars") {
            O.DollarCount = Number<int>(A, Value(), 0, 100);
            O.DollarsGiven = true;
        } else if (A == "--bubbles") {
            O.BubbleCount = Number<int>(A, Value(), 0, 100);
            O.BubblesGiven = true;
        } else if (A == "--seed") {
            O.Seed = Number<uint32_t>(A, Value(), 0, UINT32_MAX);
        } else if (A == "--ini") {
            O.TuningFile = Value();
        } else if (A == "--frames") {
            O.Frames = Number<int>(A, Value(), 1, 1000000);
        } else if (A == "--sound") {
            O.Sound = true;
        } else if (A == "--no-sound") {
            O.Sound = false;
        } else if (A == "--fullscreen") {
            O.FullScreen = true;
        } else if (A == "--mode") {
            const std::string& V = Value();
            const std::size_t X1 = V.find_first_of("xX");
            const std::size_t X2 = X1 == std::string::npos ? X1 : V.find_first_of("xX", X1 + 1);
            if (X2 == std::string::npos)
                throw EGlimmoraError("Bad value \"" + V + "\" for --mode (expected WIDTHxHEIGHTxBITS)");
            O.ModeWidth = Number<int>(A, V.substr(0, X1), 1, 16384);
            O.ModeHeight = Number<int>(A, V.substr(X1 + 1, X2 - X1 - 1), 1, 16384);
            O.ModeBitsPerPixel = Number<int>(A, V.substr(X2 + 1), 8, 32);
            O.FullScreen = true;
        } else if (A == "--root") {
            O.Root = true;
        } else if (A == "--window-id") {
            O.WindowId = ParseWindowId(A, Value());
        } else if (A == "--fps") {
            O.ShowFps = true;
        } else if (A == "--delay") {
            O.DelayMicroseconds = Number<int64_t>(A, Value(), 0, 10000000);
        } else if (A == "--max-fps") {
            O.MaxFps = Number<int>(A, Value(), 0, 1000);
        } else {
            throw EGlimmoraError("Unknown argument \"" + A + "\" (see --help)");
        }
    }
    return O;
}

std::string LinuxUsageText()
{
    return "Glimmora 3D - an underwater screen saver\n"
           "\n"
           "usage: glimmora3d [options]                       show the scene in a window (Escape ends it)\n"
           "       glimmora3d --fullscreen [options]          the saver: the whole display, any input ends it\n"
           "       glimmora3d --root | --window-id ID         draw into another window (XScreenSaver;\n"
           "                                                  also $XSCREENSAVER_WINDOW)\n"
           "       glimmora3d --snapshot FILE.png [options]   render one picture without a display\n"
           "       glimmora3d --bench [options]               measure frames per second without a display\n"
           "\n"
           "options:\n"
           "  --theme N      0 Immersion, 1 Fountain, 2 Fishes (default 0)\n"
           "  --size WxH     picture size in pixels (default 800x600)\n"
           "  --time S       scene seconds to advance before the picture (default 5)\n"
           "  --dollars N    number of dollar bills, 0..100 (default 60)\n"
           "  --bubbles N    number of bubbles, 0..100 (default 100)\n"
           "  --seed N       random seed: the same seed gives the same picture\n"
           "  --ini FILE     tuning file (default: glimmora3d.ini next to the program)\n"
           "  --frames N     frames rendered by --bench (default 300)\n"
           "\n"
           "on a screen (these override ~/.config/glimmora3d/glimmora3d.ini for one run):\n"
           "  --theme auto   the next theme at every run\n"
           "  --sound, --no-sound   the bubble sound (off in another window unless --sound)\n"
           "  --mode WxHxB   full screen in this display mode; the desktop's comes back after\n"
           "  --fps          draw the frame rate in a corner\n"
           "  --delay US     pause after every frame, in microseconds\n"
           "  --max-fps N    at most N frames a second (0: as fast as possible)\n"
           "single-dash spellings (-root, -window-id, -fps, -delay) work too\n";
}
