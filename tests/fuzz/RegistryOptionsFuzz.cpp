// Plants registry values of any type and size, chosen by the input, under
// the options key, then loads the saver's options against a display whose
// modes also come from the input. Values are read back through the same
// decoding as the real backend (platform/RegistryData.h). A clean
// EGlimmoraError ("Invalid data type ...") is the expected answer to a
// value of the wrong kind; a crash, a sanitizer report, another exception
// or an option out of its range is a finding.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/options/Options.h"
#include "app/options/OptionsKey.h"
#include "fakes/FakeRegistry.h"
#include "gl/Errors.h"

namespace {

TFakeRegistry::TValue AnyValue(FuzzedDataProvider& In)
{
    static constexpr uint32_t Types[] = {0, rtString, rtExpandString, rtBinary, rtInteger, 5, rtMultiString,
                                         rtInteger64};
    TFakeRegistry::TValue V;
    V.Type = In.ConsumeBool() ? In.ConsumeIntegral<uint32_t>() : In.PickValueInArray(Types);
    V.Data = In.ConsumeBytes<uint8_t>(In.ConsumeIntegralInRange<std::size_t>(0, 80));
    return V;
}

TOptionsMode AnyMode(FuzzedDataProvider& In)
{
    TOptionsMode M;
    M.ColorDepth = In.ConsumeIntegral<int32_t>();
    M.Width = In.ConsumeIntegral<int32_t>();
    M.Height = In.ConsumeIntegral<int32_t>();
    return M;
}

}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    FuzzedDataProvider In(Data, Size);
    TFakeRegistry Registry;
    TOptionsKey Key(Registry.Opener());
    Key.SetTitle("Glimmora 3D");
    Key.SetCompany("Tarnwick Software");
    Registry.CreateKey(hkCurrentUser, Key.KeyPath());
    for (const TOptionRow& Row : OptionRows())
        if (In.ConsumeBool())
            Registry.Set(hkCurrentUser, Key.KeyPath(), Row.Name(), AnyValue(In));
    if (In.ConsumeBool())
        Registry.Set(hkCurrentUser, Key.KeyPath(), ProgramPathValueName, AnyValue(In));

    const TOptionsMode Desktop = AnyMode(In);
    std::vector<TOptionsMode> Modes(In.ConsumeIntegralInRange<std::size_t>(0, 6));
    for (TOptionsMode& M : Modes)
        M = AnyMode(In);

    TSaverOptions Options;
    SetDefaultOptions(Options, Desktop);
    try {
        LoadSaverOptions(Options, Key, Desktop, Modes);
    } catch (const EGlimmoraError&) {
    }
    Key.CloseRegistry();
    if (Options.ThemeIndex < 0 || Options.ThemeIndex > 2)
        std::abort();
    return 0;
}
