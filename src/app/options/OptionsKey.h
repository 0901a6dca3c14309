// The application's options key: "Software\<Company>\<Title>" (or
// "Software\<Title>" without a company) under the current user, or under
// the local machine when asked. The key is opened on first use and kept
// open until CloseRegistry; the next use opens it again with the flags then
// in force. A key that cannot be opened reads as empty and fails every
// write.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"

class TOptionsKey {
public:
    explicit TOptionsKey(TRegistryOpener Opener = {});
    ~TOptionsKey();
    TOptionsKey(const TOptionsKey&) = delete;
    TOptionsKey& operator=(const TOptionsKey&) = delete;

    // Replaces how keys are opened; closes the cached key.
    void SetOpener(TRegistryOpener Opener);

    // The key's name parts. The path is taken at the next open.
    const std::string& Title() const { return FTitle; }
    void SetTitle(std::string Value) { FTitle = std::move(Value); }
    const std::string& Company() const { return FCompany; }
    void SetCompany(std::string Value) { FCompany = std::move(Value); }
    std::string KeyPath() const;

    // Read-only: KEY_READ and never created. Otherwise read and write,
    // created when missing. Setting a different value closes the key.
    bool ReadOnlyRegistry() const { return FReadOnly; }
    void SetReadOnlyRegistry(bool Value);
    // HKEY_LOCAL_MACHINE instead of HKEY_CURRENT_USER. Setting a different
    // value closes the key.
    bool UseLocalMachine() const { return FLocalMachine; }
    void SetUseLocalMachine(bool Value);

    // The cached key, opened on first use. A failed open is cached too (as
    // an empty key), so it is tried once until the next CloseRegistry.
    IRegistryKey& Registry();
    void CloseRegistry();
    // True while an open key (or a failed open) is cached.
    bool RegistryCached() const { return FCached; }

    // What a value of another type or size reads as. Off (the start): the
    // read raises "Invalid data type for 'Name'". On: it gives nothing, as
    // an absent value does, and the value's name is kept for
    // TakeSkippedValues, so one bad value cannot stop a run or the dialog
    // that would overwrite it.
    bool SkipUnreadable() const { return FSkipUnreadable; }
    void SetSkipUnreadable(bool Value) { FSkipUnreadable = Value; }
    // The names of the values skipped since the last call, in reading
    // order, each once; the list is emptied.
    std::vector<std::string> TakeSkippedValues();

    // Reads through Registry(). An absent value gives nothing; a value of
    // another type or size: see SkipUnreadable.
    bool ValueExists(const std::string& Name);
    std::optional<int32_t> ReadInteger(const std::string& Name);
    std::optional<std::string> ReadString(const std::string& Name);
    // Raises "Failed to set data for 'Name'" when the write fails.
    void WriteInteger(const std::string& Name, int32_t Value);

private:
    // A value of another type or size: raises, or is noted (SkipUnreadable).
    void Unreadable(const std::string& Name);

    TRegistryOpener FOpener;
    std::string FTitle, FCompany;
    bool FReadOnly = false;
    bool FLocalMachine = false;
    bool FCached = false;
    bool FSkipUnreadable = false;
    std::vector<std::string> FSkipped;
    std::unique_ptr<IRegistryKey> FKey;
};
