// The program's log file: lines end in CR LF and are followed by zero
// padding, grown in blocks of 16384 bytes, so the file always reads as the
// lines written so far and then zeros. Nothing is written, and no file is
// created, while logging is off.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

class TLogFile {
public:
    static constexpr long BlockSize = 16384;

    explicit TLogFile(std::string FileName = {}) : FFileName(std::move(FileName)) {}
    ~TLogFile();
    TLogFile(const TLogFile&) = delete;
    TLogFile& operator=(const TLogFile&) = delete;

    const std::string& FileName() const { return FFileName; }
    void SetFileName(std::string FileName) { FFileName = std::move(FileName); }

    bool LogFile() const { return FEnabled; }
    // Switching logging off closes the file; the next line after switching
    // it on again starts a new file.
    void SetLogFile(bool Value);

    // Appends Text + CR LF when logging is on.
    void WriteLog(std::string_view Text);

private:
    void Open();
    void Close();
    void Pad(long At, long Bytes);

    std::string FFileName;
    bool FEnabled = false;
    std::FILE* FStream = nullptr;
    long FPosition = 0;
    long FSize = 0;
};
