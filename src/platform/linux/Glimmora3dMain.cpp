// glimmora3d: the Linux program.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "app/TimePro.h"
#include "platform/Clock.h"

namespace {

int RunClockCheck()
{
    auto Clock = CreateSystemClock();
    TTimerPro Timer(*Clock);
    Timer.Start();
    for (int i = 0; i < 5; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const TTime& T = Timer.Elapsed();
        std::printf("frame timer: %u ms (%u d %u h %u min %u s %u ms)\n", T.Milliseconds, T.DayPart,
                    T.HourPart, T.MinPart, T.SecPart, T.MSecPart);
    }
    Timer.Stop();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("Glimmora 3D 1.0 (Tarnwick Software)\n");
        return 0;
    }
    std::printf("Glimmora 3D\n");
    return RunClockCheck();
}
