// The floating-point control state. It belongs to the CPU, not to the
// operating system, so one implementation (FloatControl.cpp) serves every
// target: the x87 control word and the SSE control register on x86,
// <cfenv> elsewhere.
//
// The program runs with every floating-point exception masked, rounding to
// nearest and, where the CPU has the x87 unit, its full 64-bit precision.
// Drivers may change the state behind the program's back, so the OpenGL
// unit resets it after loading the libraries and before every swap.
#pragma once

// Masks all exceptions (invalid, denormal, divide by zero, overflow,
// underflow, precision), selects round to nearest and extended precision.
void ResetFloatControlState();

struct TFloatControlState {
    bool RoundToNearest = false;
    bool AllMasked = false;       // no floating-point exception traps
    bool ExtendedPrecision = false;   // x87 precision control (true where no x87)
};

// The state in force now, for checks.
TFloatControlState ReadFloatControlState();

// Unmasks the divide-by-zero exception and rounds toward zero: a disturbed
// state for tests of ResetFloatControlState. Traps only fire on a later
// faulting operation, so callers reset before computing anything.
void DisturbFloatControlState();
