// One ordered record of the calls several fakes receive, so a test can
// check the order of steps across seams ("Desktop.ShowCursor(0)" before
// "Form.SetPlainSurface").
#pragma once

#include <algorithm>
#include <string>
#include <vector>

class TCallLog {
public:
    std::vector<std::string> Calls;

    void Add(std::string Call) { Calls.push_back(std::move(Call)); }
    bool Has(const std::string& Call) const { return std::find(Calls.begin(), Calls.end(), Call) != Calls.end(); }
    // The calls that start with one of the prefixes, in order.
    std::vector<std::string> Only(const std::vector<std::string>& Prefixes) const
    {
        std::vector<std::string> Out;
        for (const std::string& C : Calls) {
            for (const std::string& P : Prefixes) {
                if (C.rfind(P, 0) == 0) {
                    Out.push_back(C);
                    break;
                }
            }
        }
        return Out;
    }
};
