// Feeds arbitrary command lines to the screen saver's run-mode and parent
// window parsing: the input is split at NUL bytes, the first piece the
// program's path and the rest its arguments. The desktop knows a few
// windows. A clean EGlimmoraError is the expected answer to a bad handle;
// a crash, a sanitizer report, another exception or a mode outside the
// enumeration is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/saver/ScrSaverApp.h"
#include "fakes/CallLog.h"
#include "fakes/FakeDesktop.h"
#include "gl/Errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    std::vector<std::string> Pieces(1);
    for (size_t I = 0; I < Size; ++I) {
        if (Data[I] == 0)
            Pieces.emplace_back();
        else
            Pieces.back() += static_cast<char>(Data[I]);
    }
    const std::string Path = Pieces.front();
    const std::vector<std::string> Args(Pieces.begin() + 1, Pieces.end());
    const TScreenSaverMode Mode = ParseMode(Path, Args);
    if (Mode > smChangePassword)
        std::abort();
    TCallLog Log;
    TFakeDesktop Desktop(Log);
    Desktop.Foreground = 77;
    Desktop.Windows[77] = {};
    Desktop.Windows[123456] = {};
    try {
        (void)ParseParentHandle(Args, Desktop);
    } catch (const EGlimmoraError&) {
    }
    return 0;
}
