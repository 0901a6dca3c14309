#include "app/options/OptionsKey.h"

#include <algorithm>

#include "gl/Errors.h"

namespace {

// What a key that could not be opened reads as.
class TUnopenedKey final : public IRegistryKey {
public:
    bool ValueExists(const std::string&) override { return false; }
    TRegistryValue<int32_t> ReadInteger(const std::string&) override { return {}; }
    TRegistryValue<std::string> ReadString(const std::string&) override { return {}; }
    bool WriteInteger(const std::string&, int32_t) override { return false; }
};

TUnopenedKey UnopenedKey;

[[noreturn]] void InvalidDataType(const std::string& Name)
{
    throw EGlimmoraError("Invalid data type for '" + Name + "'");
}

} // namespace

void TOptionsKey::Unreadable(const std::string& Name)
{
    if (!FSkipUnreadable)
        InvalidDataType(Name);
    if (std::find(FSkipped.begin(), FSkipped.end(), Name) == FSkipped.end())
        FSkipped.push_back(Name);
}

std::vector<std::string> TOptionsKey::TakeSkippedValues()
{
    std::vector<std::string> Names;
    Names.swap(FSkipped);
    return Names;
}

TOptionsKey::TOptionsKey(TRegistryOpener Opener) : FOpener(std::move(Opener)) {}

TOptionsKey::~TOptionsKey() { CloseRegistry(); }

void TOptionsKey::SetOpener(TRegistryOpener Opener)
{
    CloseRegistry();
    FOpener = std::move(Opener);
}

std::string TOptionsKey::KeyPath() const
{
    if (FCompany.empty())
        return "Software\\" + FTitle;
    return "Software\\" + FCompany + "\\" + FTitle;
}

void TOptionsKey::SetReadOnlyRegistry(bool Value)
{
    if (Value == FReadOnly)
        return;
    FReadOnly = Value;
    CloseRegistry();
}

void TOptionsKey::SetUseLocalMachine(bool Value)
{
    if (Value == FLocalMachine)
        return;
    FLocalMachine = Value;
    CloseRegistry();
}

IRegistryKey& TOptionsKey::Registry()
{
    if (!FCached) {
        FCached = true;
        if (FOpener)
            FKey = FOpener(FLocalMachine ? hkLocalMachine : hkCurrentUser, KeyPath(), FReadOnly ? kaRead : kaReadWrite);
    }
    if (!FKey)
        return UnopenedKey;
    return *FKey;
}

void TOptionsKey::CloseRegistry()
{
    FKey.reset();
    FCached = false;
}

bool TOptionsKey::ValueExists(const std::string& Name) { return Registry().ValueExists(Name); }

std::optional<int32_t> TOptionsKey::ReadInteger(const std::string& Name)
{
    auto Value = Registry().ReadInteger(Name);
    if (Value.State == rvUnreadable)
        Unreadable(Name);
    if (!Value.Present())
        return std::nullopt;
    return Value.Value;
}

std::optional<std::string> TOptionsKey::ReadString(const std::string& Name)
{
    auto Value = Registry().ReadString(Name);
    if (Value.State == rvUnreadable)
        Unreadable(Name);
    if (!Value.Present())
        return std::nullopt;
    return std::move(Value.Value);
}

void TOptionsKey::WriteInteger(const std::string& Name, int32_t Value)
{
    if (!Registry().WriteInteger(Name, Value))
        throw EGlimmoraError("Failed to set data for '" + Name + "'");
}
