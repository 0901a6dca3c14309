#include "gl/FloatControl.h"

#include <cfenv>

namespace {

#if defined(__i386__) || defined(__x86_64__)
constexpr unsigned short X87Masks = 0x003F;       // IM DM ZM OM UM PM
constexpr unsigned short X87Precision = 0x0300;   // PC = 11: 64-bit mantissa
constexpr unsigned short X87Rounding = 0x0C00;
constexpr unsigned SseMasks = 0x1F80;
constexpr unsigned SseRounding = 0x6000;

inline unsigned short ReadX87() { unsigned short Cw; __asm__ volatile("fnstcw %0" : "=m"(Cw)); return Cw; }
inline void WriteX87(unsigned short Cw) { __asm__ volatile("fldcw %0" : : "m"(Cw)); }
inline unsigned ReadSse() { unsigned Csr; __asm__ volatile("stmxcsr %0" : "=m"(Csr)); return Csr; }
inline void WriteSse(unsigned Csr) { __asm__ volatile("ldmxcsr %0" : : "m"(Csr)); }

inline void Reset()
{
    std::feclearexcept(FE_ALL_EXCEPT);
    WriteX87(static_cast<unsigned short>((ReadX87() & ~X87Rounding) | X87Masks | X87Precision));
    WriteSse((ReadSse() & ~SseRounding) | SseMasks);
}

inline TFloatControlState Read()
{
    const unsigned short Cw = ReadX87();
    const unsigned Csr = ReadSse();
    TFloatControlState S;
    S.RoundToNearest = (Cw & X87Rounding) == 0 && (Csr & SseRounding) == 0;
    S.AllMasked = (Cw & X87Masks) == X87Masks && (Csr & SseMasks) == SseMasks;
    S.ExtendedPrecision = (Cw & X87Precision) == X87Precision;
    return S;
}

inline void Disturb()
{
    WriteX87(static_cast<unsigned short>((ReadX87() & ~0x0004) | X87Rounding));   // unmask ZM
    WriteSse((ReadSse() & ~0x0200u) | SseRounding);
}
#else
// Without x87 the standard environment is all there is: the default
// environment rounds to nearest with no traps.
inline void Reset() { std::fesetenv(FE_DFL_ENV); }
inline TFloatControlState Read()
{
    TFloatControlState S;
    S.RoundToNearest = std::fegetround() == FE_TONEAREST;
    S.AllMasked = true;
    S.ExtendedPrecision = true;
    return S;
}
inline void Disturb() { std::fesetround(FE_TOWARDZERO); }
#endif

} // namespace

void ResetFloatControlState() { Reset(); }
TFloatControlState ReadFloatControlState() { return Read(); }
void DisturbFloatControlState() { Disturb(); }
