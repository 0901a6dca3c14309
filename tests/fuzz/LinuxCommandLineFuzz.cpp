// Feeds arbitrary arguments to the Linux program's command line: the input
// is split at NUL bytes, one argument a piece. A clean EGlimmoraError is the
// expected answer to bad arguments; what parses must lie in the ranges the
// runs rely on. A crash, a sanitizer report, another exception or a value
// out of range is a finding.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/linux/LinuxCommandLine.h"
#include "gl/Errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    std::vector<std::string> Args(1);
    for (size_t I = 0; I < Size; ++I) {
        if (Data[I] == 0)
            Args.emplace_back();
        else
            Args.back() += static_cast<char>(Data[I]);
    }
    TLinuxRunOptions O;
    try {
        O = ParseLinuxCommandLine(Args);
    } catch (const EGlimmoraError&) {
        return 0;
    }
    const int Theme = O.ThemeIndexOrDefault(), Dollars = O.DollarCountOrDefault(), Bubbles = O.BubbleCountOrDefault();
    const bool Sound = Theme >= 0 && Theme <= 2 && O.Width >= 1 && O.Width <= 8192 && O.Height >= 1 &&
                       O.Height <= 8192 && std::isfinite(O.SceneTime) && O.SceneTime >= 0 &&
                       O.SceneTime <= 86400 && Dollars >= 0 && Dollars <= 100 && Bubbles >= 0 && Bubbles <= 100 &&
                       O.Frames >= 1 && O.Frames <= 1000000 && (O.Kind != lkSnapshot || !O.OutputFile.empty());
    if (!Sound)
        std::abort();
    return 0;
}
