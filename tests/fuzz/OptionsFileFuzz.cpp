// The Linux options file: arbitrary bytes are read as the file, every
// option (and the path) is read, one option is written, which saves the
// whole file, and the saved text is read again. The saved text must read
// without an error, the written option must read back as written and every
// other value must read as it did before the save. A clean EGlimmoraError
// is the expected answer to a file that is not an options file; a crash, a
// sanitizer report, another exception or a value the save changed is a
// finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/options/Options.h"
#include "app/options/OptionsFile.h"
#include "gl/Errors.h"

namespace {

struct TReading {
    TRegistryValue<int32_t> Integer;
    TRegistryValue<std::string> Text;
    bool Exists;
};

bool operator==(const TReading& A, const TReading& B)
{
    return A.Exists == B.Exists && A.Integer.State == B.Integer.State && A.Integer.Value == B.Integer.Value &&
           A.Text.State == B.Text.State && A.Text.Value == B.Text.Value;
}

std::vector<std::string> Names()
{
    std::vector<std::string> All;
    for (const TOptionRow& Row : OptionRows())
        All.push_back(Row.Name());
    All.push_back(ProgramPathValueName);
    return All;
}

TReading Read(TOptionsFileKey& Key, const std::string& Name)
{
    return {Key.ReadInteger(Name), Key.ReadString(Name), Key.ValueExists(Name)};
}

}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    static const std::vector<std::string> All = Names();
    if (Size < 1)
        return 0;
    // The first byte picks the option written and its value's sign.
    const std::string& Written = All[Data[0] % (All.size() - 1)];
    const int32_t Value = (Data[0] & 0x80) ? -3 - Data[0] : Data[0];
    const std::string Text(reinterpret_cast<const char*>(Data + 1), Size - 1);

    std::vector<std::string> Saved;
    const auto Save = [&Saved](const std::string& New) {
        Saved.push_back(New);
        return true;
    };
    std::vector<TReading> Before;
    try {
        TOptionsFileKey Key(Text, Save);
        for (const std::string& Name : All)
            Before.push_back(Read(Key, Name));
        if (!Key.WriteInteger(Written, Value) || Saved.size() != 1 || Saved[0] != Key.Text())
            std::abort();
    } catch (const EGlimmoraError&) {
        return 0;
    }
    // What was saved reads again, with the same values.
    try {
        TOptionsFileKey Again(Saved[0], nullptr);
        for (std::size_t I = 0; I < All.size(); ++I) {
            const TReading After = Read(Again, All[I]);
            if (All[I] == Written) {
                if (After.Integer.State != rvPresent || After.Integer.Value != Value)
                    std::abort();
            } else if (!(After == Before[I])) {
                std::abort();
            }
        }
        // A second save of an unchanged file gives the same text.
        if (Again.Text() != Saved[0])
            std::abort();
    } catch (const EGlimmoraError&) {
        std::abort();
    }
    return 0;
}
