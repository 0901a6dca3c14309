// The system's password services as a test arranges them: the registry
// value, the libraries in the system folder with their entries, and the
// answers of the verification dialog.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "fakes/CallLog.h"
#include "platform/PasswordServices.h"

class TFakePasswordServices : public IPasswordServices {
public:
    explicit TFakePasswordServices(TCallLog& Log) : FLog(Log) {}

    std::optional<std::string> UsePassword;                  // the registry value
    std::map<std::string, std::set<std::string>> Libraries;  // full path -> exported entries
    std::deque<std::uint32_t> Answers;                       // results of VerifyScreenSavePwd, in turn
    int LoadedLibraries = 0;                                 // loaded and not yet freed

    std::optional<std::string> UsePasswordValue() override
    {
        FLog.Add("Passwords.UsePasswordValue");
        return UsePassword;
    }
    std::unique_ptr<IDynamicLibrary> LoadServiceLibrary(const std::string& Path) override
    {
        FLog.Add("Passwords.Load(" + Path + ")");
        const auto It = Libraries.find(Path);
        if (It == Libraries.end())
            return nullptr;
        return std::make_unique<TLibrary>(*this, It->second);
    }
    std::uint32_t CallVerifyScreenSavePwd(void* Entry, TWindowHandle Window) override
    {
        FLog.Add("Passwords.Verify(" + EntryName(Entry) + "," + std::to_string(Window) + ")");
        if (Answers.empty())
            return 1;
        const std::uint32_t A = Answers.front();
        Answers.pop_front();
        return A;
    }
    void CallPwdChangePassword(void* Entry, const std::string& Provider, TWindowHandle Window) override
    {
        FLog.Add("Passwords.Change(" + EntryName(Entry) + "," + Provider + "," + std::to_string(Window) + ")");
    }

private:
    // An entry's address is its name's own storage in the library's set.
    class TLibrary : public IDynamicLibrary {
    public:
        TLibrary(TFakePasswordServices& Owner, const std::set<std::string>& Entries) : FOwner(Owner), FEntries(Entries)
        {
            ++FOwner.LoadedLibraries;
        }
        ~TLibrary() override
        {
            --FOwner.LoadedLibraries;
            FOwner.FLog.Add("Passwords.Free");
        }
        void* Symbol(const char* Name) override
        {
            const auto It = FEntries.find(Name);
            return It == FEntries.end() ? nullptr : const_cast<std::string*>(&*It);
        }

    private:
        TFakePasswordServices& FOwner;
        const std::set<std::string>& FEntries;
    };

    static std::string EntryName(void* Entry) { return Entry ? *static_cast<std::string*>(Entry) : "null"; }

    TCallLog& FLog;
};
