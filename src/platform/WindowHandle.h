// A window handle as it travels through the portable code: the HWND's bits
// in an unsigned integer as wide as a pointer, so a 64-bit handle is never
// cut. 0 means no window.
#pragma once

#include <cstdint>

using TWindowHandle = std::uintptr_t;
