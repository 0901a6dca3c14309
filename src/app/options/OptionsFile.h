// The saver's options in a text file (Linux: ~/.config/glimmora3d/
// glimmora3d.ini), read and written through the registry-key seam so the
// options table, its value names and its load and save rules apply as they
// are. The file holds "Name=Value" lines under an optional "[Section]"
// line; blank lines and lines starting with ';' or '#' are comments. It is
// read as UTF-8 (a byte-order mark skipped), or as UTF-16 or UTF-32 after
// their byte-order mark, with lines ended by CR LF, LF or CR; it is saved as
// UTF-8 with LF line ends.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Registry.h"

class TOptionsFileKey final : public IRegistryKey {
public:
    // Parses Text; a line that is neither a comment, a section nor
    // "Name=Value" raises EGlimmoraError naming its number. Save receives
    // the whole new text at every write and reports success.
    TOptionsFileKey(const std::string& Text, std::function<bool(const std::string&)> Save);

    bool ValueExists(const std::string& Name) override;
    // A decimal integer (with an optional sign) that fits 32 bits; anything
    // else is unreadable.
    TRegistryValue<int32_t> ReadInteger(const std::string& Name) override;
    TRegistryValue<std::string> ReadString(const std::string& Name) override;
    // Replaces the value in place (or adds it at the end) and saves.
    bool WriteInteger(const std::string& Name, int32_t Value) override;

    // The file as it would be saved now: comments and order kept.
    std::string Text() const;

private:
    struct TLine {
        std::string Raw;    // comments, sections, blank lines
        std::string Name;   // empty for those
        std::string Value;
    };
    const TLine* Find(const std::string& Name) const;

    std::vector<TLine> FLines;
    std::function<bool(const std::string&)> FSave;
};

// The name the file is kept under: $XDG_CONFIG_HOME/glimmora3d/glimmora3d.ini,
// or $HOME/.config/... when XDG_CONFIG_HOME is unset, empty or not absolute;
// empty when neither is usable.
std::string OptionsFilePath(const std::string& XdgConfigHome, const std::string& Home);
