// Platform seam: one open key of the system registry.
//
// Windows: a key handle from RegOpenKeyExW (read-only, never created) or
// RegCreateKeyExW (read and write, created when missing), read with
// RegQueryValueExW, written with RegSetValueExW, closed with RegCloseKey
// when the object is destroyed. Names and paths are UTF-8 here and UTF-16
// in the system; the system compares them without regard to case.
//
// A value may hold any type and size, whoever wrote it. A read asks for
// one kind of value and reports a value of another type or of the wrong
// size as unreadable; it never reinterprets the bytes (the decoding rules
// are in platform/RegistryData.h, shared by every backend and fake).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

enum TRegistryRoot {
    hkCurrentUser,    // HKEY_CURRENT_USER
    hkLocalMachine,   // HKEY_LOCAL_MACHINE
};

enum TRegistryAccess {
    kaRead,        // KEY_READ; a missing key is not created
    kaReadWrite,   // KEY_READ | KEY_WRITE; a missing key is created
};

enum TRegistryValueState {
    rvAbsent,       // no value of that name
    rvPresent,      // a value of the asked type and size
    rvUnreadable,   // a value of another type or size, or the read failed
};

template <class T>
struct TRegistryValue {
    TRegistryValueState State = rvAbsent;
    T Value{};
    bool Present() const { return State == rvPresent; }
};

class IRegistryKey {
public:
    virtual ~IRegistryKey() = default;
    // True when a value of that name exists, of any type.
    virtual bool ValueExists(const std::string& Name) = 0;
    // A REG_DWORD of exactly 4 bytes.
    virtual TRegistryValue<int32_t> ReadInteger(const std::string& Name) = 0;
    // A REG_SZ or REG_EXPAND_SZ (not expanded), cut at its first NUL.
    virtual TRegistryValue<std::string> ReadString(const std::string& Name) = 0;
    // Stores a REG_DWORD, replacing a value of any type; false on failure.
    virtual bool WriteInteger(const std::string& Name, int32_t Value) = 0;
};

// Opens Path (backslash-separated, relative to Root) with the given
// access; null when the key cannot be opened (with kaRead, also when it
// does not exist). The program passes the system's opener in; tests pass
// a fake one.
using TRegistryOpener =
    std::function<std::unique_ptr<IRegistryKey>(TRegistryRoot Root, const std::string& Path, TRegistryAccess Access)>;
