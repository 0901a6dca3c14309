// Where the effects read the render window's shape at spawn time.
#pragma once

class IAspectSource {
public:
    virtual ~IAspectSource() = default;
    // Width divided by height of the render window; a window of height 0
    // counts as height 1.
    virtual float Aspect() const = 0;
};
