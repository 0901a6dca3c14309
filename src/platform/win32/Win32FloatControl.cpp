#include "platform/FloatControlCpu.h"

void ResetFloatControlState() { FloatControlCpu::Reset(); }
TFloatControlState ReadFloatControlState() { return FloatControlCpu::Read(); }
void DisturbFloatControlState() { FloatControlCpu::Disturb(); }
