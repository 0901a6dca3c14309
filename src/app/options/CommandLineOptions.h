// The Linux program's command-line options: one table, one row a flag
// (its spelling, the value it takes and its range, the saver option it
// overrides, its default, its help line), the way screen-saver hacks keep
// their options. The parser, --help, the manual page's test and the
// XScreenSaver settings' test all walk it. Portable: the program's own
// record of a run (app/linux) maps each flag to its field.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/options/Options.h"

// In the table's order.
enum TCommandLineFlag {
    cfFullScreen,
    cfMode,
    cfRoot,
    cfWindowId,
    cfSnapshot,
    cfBench,
    cfHelp,
    cfVersion,
    cfTheme,
    cfDollars,
    cfBubbles,
    cfSound,
    cfNoSound,
    cfIni,
    cfFps,
    cfDelay,
    cfMaxFps,
    cfSize,
    cfTime,
    cfSeed,
    cfFrames,
};

// How a flag's value is written.
enum TFlagSyntax {
    fsSwitch,     // no value
    fsInteger,    // a decimal integer in Min..Max
    fsNumber,     // a decimal number in Min..Max
    fsFileName,   // any text but the empty one
    fsText,       // any text
    fsTheme,      // a theme index in Min..Max, or "auto"
    fsSize,       // WIDTHxHEIGHT, each in Min..Max
    fsMode,       // WIDTHxHEIGHTxBITS: width and height in Min..Max, bits in 8..32
    fsWindowId,   // an X window id: decimal, or hexadecimal after 0x
};

// Where the default of a flag's value comes from.
enum TFlagDefault {
    fdNone,          // a switch, or nothing is assumed
    fdValue,         // Default, a value the parser starts from
    fdDescribed,     // Default describes what the program does without it
    fdSaverOption,   // the options file on a screen; else the saver option's default
};

// The help's sections, in the order they are shown (and the manual's).
enum TFlagSection {
    fgRun,        // what to run
    fgScene,      // the scene
    fgPace,       // pace and display
    fgPictures,   // pictures and benchmarks
};

struct TCommandLineRow {
    TCommandLineFlag Flag;
    std::string_view Name;        // "--theme"
    std::string_view Alias;       // another spelling ("-h"), or ""
    bool HackSpelling;            // documented with one dash (-root), as XScreenSaver passes it
    std::string_view ValueName;   // "N", "WxH"; "" for a switch
    TFlagSyntax Syntax;
    int64_t Min, Max;             // the range of a number, or of each part of a size or mode
    std::optional<TOptionRole> Saver;   // the stored option it overrides on a screen
    TFlagDefault DefaultFrom;
    std::string_view Default;     // for fdValue and fdDescribed
    std::string_view Help;        // "{range}" stands for "Min to Max"
    TFlagSection Section;
};

// Every row, in the order --help lists them within their sections.
std::span<const TCommandLineRow> CommandLineRows();
const TCommandLineRow& CommandLineRow(TCommandLineFlag Flag);
// The row of a spelling as given: its Name, its Alias, or its Name with
// one dash less ("-root"); null for none.
const TCommandLineRow* FindCommandLineRow(std::string_view Spelling);

// What a flag's value reads as; the fields of its syntax are set.
struct TFlagValue {
    int64_t Integer = 0;   // fsInteger, fsTheme (not automatic), fsWindowId
    double Number = 0;     // fsNumber
    std::string Text;      // fsFileName, fsText
    bool Auto = false;     // fsTheme "auto"
    int Width = 0, Height = 0, Bits = 0;   // fsSize, fsMode
};

// Reads Text as the value of Row. Throws EGlimmoraError naming the flag,
// the text and what was expected.
TFlagValue ParseFlagValue(const TCommandLineRow& Row, const std::string& Text);

// A window id as X prints it: decimal, or hexadecimal after 0x, 1 to
// 0xffffffff. Throws EGlimmoraError naming Option and the text.
uint64_t ParseWindowId(const std::string& Option, const std::string& Text);

// Row's help line with its range written out.
std::string FlagHelpText(const TCommandLineRow& Row);

// "default 800x600", "default: as in the options file, else 60", ...;
// "" for a row without a default. --help and the manual page show it in
// parentheses after the help line.
std::string FlagDefaultText(const TCommandLineRow& Row);
