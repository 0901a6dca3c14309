// A render window shape set by the test.
#pragma once

#include "effects/AspectSource.h"

class TFakeAspect : public IAspectSource {
public:
    float Value = 1.0f;
    float Aspect() const override { return Value; }
};
