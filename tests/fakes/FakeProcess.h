// Records the priority classes the program asks for.
#pragma once

#include <vector>

#include "platform/Process.h"

class TFakeProcessControl : public IProcessControl {
public:
    std::vector<TPriorityClass> Classes;
    void SetPriorityClass(TPriorityClass Class) override { Classes.push_back(Class); }
};
