#include "app/LinuxCommandLine.h"

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

TLinuxRunOptions ParseLinuxCommandLine(const std::vector<std::string>& Args)
{
    TLinuxRunOptions O;
    bool KindGiven = false;
    const auto SetKind = [&](TLinuxRunKind K) {
        if (KindGiven && O.Kind != K)
            throw EGlimmoraError("--snapshot and --bench cannot be combined");
        O.Kind = K;
        KindGiven = true;
    };
    for (std::size_t i = 0; i < Args.size(); ++i) {
        const std::string& A = Args[i];
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
            O.Theme = Number<int>(A, Value(), 0, 2);
        } else if (A == "--size") {
            const std::string& V = Value();
            const std::size_t X = V.find_first_of("xX");
            if (X == std::string::npos)
                throw EGlimmoraError("Bad value \"" + V + "\" for --size (expected WIDTHxHEIGHT)");
            O.Width = Number<int>(A, V.substr(0, X), 1, 8192);
            O.Height = Number<int>(A, V.substr(X + 1), 1, 8192);
        } else if (A == "--time") {
            O.SceneTime = Number<double>(A, Value(), 0.0, 86400.0);
        } else if (A == "--dollars") {
            O.DollarCount = Number<int>(A, Value(), 0, 100);
        } else if (A == "--bubbles") {
            O.BubbleCount = Number<int>(A, Value(), 0, 100);
        } else if (A == "--seed") {
            O.Seed = Number<uint32_t>(A, Value(), 0, UINT32_MAX);
        } else if (A == "--ini") {
            O.TuningFile = Value();
        } else if (A == "--frames") {
            O.Frames = Number<int>(A, Value(), 1, 1000000);
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
           "usage: glimmora3d --snapshot FILE.png [options]   render one picture without a display\n"
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
           "  --frames N     frames rendered by --bench (default 300)\n";
}
