// Random numbers handed out from lists the test writes, so spawn values can
// be checked exactly. Running out of numbers is a test failure.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <vector>

#include "effects/Random.h"

class TFakeRandom : public IRandomSource {
public:
    std::deque<double> Values;         // answers to Random()
    std::deque<int32_t> Ints;          // answers to RandomInt()
    std::vector<int32_t> IntRanges;    // the N of every RandomInt(N) asked

    double Random() override
    {
        if (Values.empty()) {
            ADD_FAILURE() << "TFakeRandom: Random() asked once more than expected";
            return 0;
        }
        const double V = Values.front();
        Values.pop_front();
        return V;
    }
    int32_t RandomInt(int32_t N) override
    {
        IntRanges.push_back(N);
        if (Ints.empty()) {
            ADD_FAILURE() << "TFakeRandom: RandomInt() asked once more than expected";
            return 0;
        }
        const int32_t V = Ints.front();
        Ints.pop_front();
        return V;
    }
};
