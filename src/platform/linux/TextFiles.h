// Small text files of the Linux program (its options): read whole, and
// replaced whole so that a crash, a kill or a full disk leaves either the
// old file or the new one, never a part of it.
#pragma once

#include <optional>
#include <string>

// The file's bytes; nothing with Error empty when the file does not exist,
// nothing with Error set when it cannot be read (or is larger than 1 MiB).
// A FIFO, a device or a folder is refused without being opened.
std::optional<std::string> ReadTextFile(const std::string& Path, std::string& Error);

// Writes Text to a new file in the same folder (made when missing), flushes
// it to the disk, and renames it over Path. A symbolic link stays: the file
// it names is replaced. The file keeps its mode; a FIFO, a device or a
// folder at Path is refused. Temporary files that a killed save left are
// removed first. On failure the temporary file is removed, Path is left as
// it was, Error gives the system's reason and the result is false.
bool ReplaceFileAtomically(const std::string& Path, const std::string& Text, std::string& Error);
