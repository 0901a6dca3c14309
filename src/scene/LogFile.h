// The program's log file: lines end in CR LF and are followed by zero
// padding, grown in blocks of 16384 bytes, so the file always reads as the
// lines written so far and then zeros. Nothing is written, and no file is
// created, while logging is off.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
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

    // Where the log goes when FileName cannot be created: Folder (made when
    // missing) under the same file name. When that fails too, or when the
    // log cannot be written (a full disk), the run goes on without a log,
    // and Notice (if any) is told once.
    void SetFallback(std::string Folder, std::function<void(const std::string&)> Notice = nullptr);

    bool LogFile() const { return FEnabled; }
    // Switching logging off closes the file; the next line after switching
    // it on again starts a new file.
    void SetLogFile(bool Value);

    // Appends Text + CR LF when logging is on and the log could be created;
    // never throws: a log that cannot be written is given up.
    void WriteLog(std::string_view Text);

private:
    void Open();
    void Close();
    bool Pad(long At, long Bytes);
    void GiveUp();

    std::string FFileName;
    std::string FFallbackFolder;
    std::function<void(const std::string&)> FNotice;
    bool FEnabled = false;
    bool FUnavailable = false;   // neither place could hold the log
    std::FILE* FStream = nullptr;
    long FPosition = 0;
    long FSize = 0;
};

// The Linux user's folder for state such as the log: $XDG_STATE_HOME/glimmora3d
// when that is an absolute path, else $HOME/.local/state/glimmora3d; "" when
// neither is known. GetEnv gives null for a variable that is not set.
std::string XdgStateFolder(const std::function<const char*(const char*)>& GetEnv);
