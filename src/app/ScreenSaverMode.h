// The run modes of the screen-saver protocol, in their stored order.
#pragma once

#include <cstdint>

enum TScreenSaverMode : std::uint8_t {
    smProgram = 0,         // the .exe twin started without arguments
    smSaver = 1,           // /s: full screen
    smPreview = 2,         // /p or /l: the still picture inside another window
    smConfig = 3,          // /c, no argument as .scr, any other switch
    smChangePassword = 4,  // /a: the system's password-change dialog
};
