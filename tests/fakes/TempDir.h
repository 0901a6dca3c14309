// A private temporary folder, removed with everything in it.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

class TTempDir {
public:
    TTempDir()
    {
        std::random_device Rd;
        FPath = std::filesystem::temp_directory_path() / ("glimmora-test-" + std::to_string(Rd()));
        std::filesystem::create_directories(FPath);
    }
    ~TTempDir()
    {
        std::error_code Ec;
        std::filesystem::remove_all(FPath, Ec);
    }
    std::string File(const std::string& Name) const { return (FPath / Name).string(); }
    std::string Write(const std::string& Name, const std::string& Text) const
    {
        std::ofstream(File(Name), std::ios::binary) << Text;
        return File(Name);
    }
    static std::string Read(const std::string& FileName)
    {
        std::ifstream In(FileName, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path FPath;
};
