// An in-memory registry: keys by root and path, values as a type code and
// raw bytes, names compared without regard to case as the system does.
// Values are read through the same decoding as the real backend, so a
// value of any type and size can be planted. Records every open, value
// read and write; can refuse opens and writes.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/RegistryData.h"

class TFakeRegistry {
public:
    struct TValue {
        uint32_t Type = rtInteger;
        std::vector<uint8_t> Data;
    };
    struct TOpen {
        TRegistryRoot Root;
        std::string Path;
        TRegistryAccess Access;
    };

    std::vector<TOpen> Opens;          // every call of the opener, refused ones too
    std::vector<std::string> Reads;    // value names read (integer or string), in order
    std::vector<std::string> Writes;   // value names written, in order
    int OpenKeys = 0;                  // key objects alive now
    bool RefuseOpen = false;           // every open fails
    bool RefuseWrites = false;         // every write fails

    static TValue Integer(int32_t V)
    {
        const auto U = static_cast<uint32_t>(V);
        return {rtInteger, {uint8_t(U), uint8_t(U >> 8), uint8_t(U >> 16), uint8_t(U >> 24)}};
    }
    // REG_SZ with its terminating NUL; each byte of Text is one UTF-16 unit
    // (enough for the ASCII texts of the tests).
    static TValue String(const std::string& Text, uint32_t Type = rtString)
    {
        TValue V{Type, {}};
        for (const char C : Text) {
            V.Data.push_back(static_cast<uint8_t>(C));
            V.Data.push_back(0);
        }
        V.Data.insert(V.Data.end(), {0, 0});
        return V;
    }

    void Set(TRegistryRoot Root, const std::string& Path, const std::string& Name, TValue Value)
    {
        FKeys[KeyId(Root, Path)][Lower(Name)] = std::move(Value);
    }
    void CreateKey(TRegistryRoot Root, const std::string& Path) { FKeys[KeyId(Root, Path)]; }
    bool KeyExists(TRegistryRoot Root, const std::string& Path) const { return FKeys.count(KeyId(Root, Path)) != 0; }
    const TValue* Find(TRegistryRoot Root, const std::string& Path, const std::string& Name) const
    {
        const auto K = FKeys.find(KeyId(Root, Path));
        if (K == FKeys.end())
            return nullptr;
        const auto V = K->second.find(Lower(Name));
        return V == K->second.end() ? nullptr : &V->second;
    }
    std::optional<int32_t> IntegerAt(TRegistryRoot Root, const std::string& Path, const std::string& Name) const
    {
        const TValue* V = Find(Root, Path, Name);
        if (!V)
            return std::nullopt;
        const auto R = RegistryIntegerOf(V->Type, V->Data);
        return R.Present() ? std::optional<int32_t>(R.Value) : std::nullopt;
    }

    TRegistryOpener Opener()
    {
        return [this](TRegistryRoot Root, const std::string& Path, TRegistryAccess Access) -> std::unique_ptr<IRegistryKey> {
            Opens.push_back({Root, Path, Access});
            if (RefuseOpen)
                return nullptr;
            const std::string Id = KeyId(Root, Path);
            if (Access == kaRead && !FKeys.count(Id))
                return nullptr;
            FKeys[Id];
            return std::make_unique<TKey>(*this, Id, Access == kaReadWrite);
        };
    }

private:
    class TKey final : public IRegistryKey {
    public:
        TKey(TFakeRegistry& Store, std::string Id, bool Writable) : FStore(Store), FId(std::move(Id)), FWritable(Writable)
        {
            ++FStore.OpenKeys;
        }
        ~TKey() override { --FStore.OpenKeys; }
        bool ValueExists(const std::string& Name) override { return Value(Name) != nullptr; }
        TRegistryValue<int32_t> ReadInteger(const std::string& Name) override
        {
            FStore.Reads.push_back(Name);
            const TValue* V = Value(Name);
            return V ? RegistryIntegerOf(V->Type, V->Data) : TRegistryValue<int32_t>{};
        }
        TRegistryValue<std::string> ReadString(const std::string& Name) override
        {
            FStore.Reads.push_back(Name);
            const TValue* V = Value(Name);
            return V ? RegistryStringOf(V->Type, V->Data) : TRegistryValue<std::string>{};
        }
        bool WriteInteger(const std::string& Name, int32_t V) override
        {
            if (!FWritable || FStore.RefuseWrites)
                return false;
            FStore.Writes.push_back(Name);
            FStore.FKeys[FId][Lower(Name)] = Integer(V);
            return true;
        }

    private:
        const TValue* Value(const std::string& Name) const
        {
            const auto& Values = FStore.FKeys[FId];
            const auto V = Values.find(Lower(Name));
            return V == Values.end() ? nullptr : &V->second;
        }
        TFakeRegistry& FStore;
        std::string FId;
        bool FWritable;
    };

    static std::string Lower(std::string S)
    {
        for (char& C : S)
            if (C >= 'A' && C <= 'Z')
                C = static_cast<char>(C - 'A' + 'a');
        return S;
    }
    static std::string KeyId(TRegistryRoot Root, const std::string& Path)
    {
        return (Root == hkLocalMachine ? "HKLM\\" : "HKCU\\") + Lower(Path);
    }

    std::map<std::string, std::map<std::string, TValue>> FKeys;
};
