// The options table of the Linux program, and the files written for its
// users against it: the manual page and the XScreenSaver settings.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "app/linux/LinuxCommandLine.h"
#include "app/options/CommandLineOptions.h"
#include "gl/Errors.h"

#ifndef GLIMMORA_PACKAGING_DIR
#error "GLIMMORA_PACKAGING_DIR names the packaging folder (cmake/Tests.cmake)"
#endif

namespace {

std::string ReadText(const std::string& Name)
{
    std::ifstream File(std::string(GLIMMORA_PACKAGING_DIR) + "/" + Name, std::ios::binary);
    std::ostringstream Text;
    Text << File.rdbuf();
    EXPECT_TRUE(File.good() || File.eof()) << Name;
    return Text.str();
}

std::string RangeOf(const TCommandLineRow& Row) { return std::to_string(Row.Min) + " to " + std::to_string(Row.Max); }

// The arguments of a roff request line, quotes honoured.
std::vector<std::string> RoffArguments(const std::string& Rest)
{
    std::vector<std::string> Args;
    std::size_t i = 0;
    while (i < Rest.size()) {
        if (Rest[i] == ' ') {
            ++i;
        } else if (Rest[i] == '"') {
            const std::size_t End = Rest.find('"', i + 1);
            Args.push_back(Rest.substr(i + 1, End - i - 1));
            i = End == std::string::npos ? Rest.size() : End + 1;
        } else {
            const std::size_t End = std::min(Rest.find(' ', i), Rest.size());
            Args.push_back(Rest.substr(i, End - i));
            i = End;
        }
    }
    return Args;
}

// A line of the manual page as a reader sees its words: font requests
// joined (.BR, .BI alternate fonts without blanks; .B, .I with them),
// other requests dropped, escapes resolved.
std::string RoffText(const std::string& Line)
{
    std::string Text;
    if (!Line.empty() && Line[0] == '.') {
        const std::size_t Space = Line.find(' ');
        const std::string Request = Line.substr(1, Space == std::string::npos ? std::string::npos : Space - 1);
        const std::vector<std::string> Args =
            RoffArguments(Space == std::string::npos ? "" : Line.substr(Space + 1));
        if (Request == "B" || Request == "I") {
            for (const std::string& A : Args)
                Text += (Text.empty() ? "" : " ") + A;
        } else if (Request.size() == 2 && std::string("BIR").find(Request[0]) != std::string::npos &&
                   std::string("BIR").find(Request[1]) != std::string::npos) {
            for (const std::string& A : Args)
                Text += A;
        }
    } else {
        Text = Line;
    }
    std::string Out;
    for (std::size_t i = 0; i < Text.size(); ++i) {
        if (Text[i] == '\\' && i + 1 < Text.size()) {
            if (Text[i + 1] == 'f' && i + 2 < Text.size()) {
                i += 2;   // \fB, \fI, \fR, \fP
            } else if (Text[i + 1] == '&') {
                ++i;
            } else {
                Out += Text[++i];   // \- and the like
            }
        } else {
            Out += Text[i];
        }
    }
    return Out;
}

// The manual's option entries (.TP, a tag line, then the text), under
// OPTIONS, and the section's text before its entries.
struct TManualOption {
    std::string Tag, Body;
    std::vector<std::string> Flags;   // the --flags of the tag
};
struct TManual {
    std::string Introduction;
    std::vector<TManualOption> Options;
};

TManual ReadManual(const std::string& Text)
{
    TManual M;
    std::istringstream Lines(Text);
    bool InOptions = false, Tag = false;
    for (std::string Line; std::getline(Lines, Line);) {
        if (Line.rfind(".SH", 0) == 0) {
            InOptions = Line == ".SH OPTIONS";
            continue;
        }
        if (!InOptions)
            continue;
        if (Line == ".TP") {
            M.Options.emplace_back();
            Tag = true;
            continue;
        }
        if (Line.rfind(".SS", 0) == 0 || Line == ".PP") {
            Tag = false;
            if (!M.Options.empty())
                M.Options.emplace_back();   // text after it belongs to no entry
            continue;
        }
        const std::string Words = RoffText(Line);
        if (M.Options.empty()) {
            M.Introduction += Words + " ";
        } else if (Tag) {
            M.Options.back().Tag = Words;
            Tag = false;
        } else if (!Words.empty()) {
            M.Options.back().Body += (M.Options.back().Body.empty() ? "" : " ") + Words;
        }
    }
    std::erase_if(M.Options, [](const TManualOption& O) { return O.Tag.empty(); });
    const std::regex FlagPattern("(^|[ ,|])(--[a-z][a-z-]*)");
    for (TManualOption& O : M.Options)
        for (std::sregex_iterator I(O.Tag.begin(), O.Tag.end(), FlagPattern), End; I != End; ++I)
            O.Flags.push_back((*I)[2]);
    return M;
}

// The elements of the XScreenSaver settings with their attributes.
struct TXmlElement {
    std::string Name;
    std::map<std::string, std::string> Attributes;
};

std::vector<TXmlElement> ReadXmlElements(const std::string& Text)
{
    std::vector<TXmlElement> Elements;
    const std::regex ElementPattern("<([a-z_-]+)((?:\\s+[a-z_-]+=\"[^\"]*\")*)\\s*/?>");
    const std::regex AttributePattern("([a-z_-]+)=\"([^\"]*)\"");
    for (std::sregex_iterator I(Text.begin(), Text.end(), ElementPattern), End; I != End; ++I) {
        TXmlElement E{(*I)[1], {}};
        const std::string Attributes = (*I)[2];
        for (std::sregex_iterator A(Attributes.begin(), Attributes.end(), AttributePattern); A != End; ++A)
            E.Attributes[(*A)[1]] = (*A)[2];
        Elements.push_back(E);
    }
    return Elements;
}

std::vector<std::string> Words(const std::string& Text)
{
    std::istringstream In(Text);
    std::vector<std::string> Out;
    for (std::string W; In >> W;)
        Out.push_back(W);
    return Out;
}

} // namespace

TEST(CommandLineOptions, RowsAreInFlagOrderWithOneSpellingEach)
{
    std::set<std::string_view> Spellings;
    for (std::size_t i = 0; i < CommandLineRows().size(); ++i) {
        const TCommandLineRow& Row = CommandLineRows()[i];
        SCOPED_TRACE(std::string(Row.Name));
        EXPECT_EQ(static_cast<std::size_t>(Row.Flag), i);
        EXPECT_EQ(&CommandLineRow(Row.Flag), &Row);
        EXPECT_TRUE(Spellings.insert(Row.Name).second);
        if (!Row.Alias.empty()) {
            EXPECT_TRUE(Spellings.insert(Row.Alias).second);
        }
        EXPECT_EQ(Row.Name.rfind("--", 0), 0u);
        EXPECT_FALSE(Row.Help.empty());
        // A switch takes no value; everything else names what it takes.
        EXPECT_EQ(Row.Syntax == fsSwitch, Row.ValueName.empty());
        // A default the parser starts from reads as a value of the flag.
        if (Row.DefaultFrom == fdValue) {
            EXPECT_NO_THROW(ParseFlagValue(Row, std::string(Row.Default)));
        }
        EXPECT_EQ(Row.DefaultFrom == fdSaverOption, Row.Saver.has_value() && Row.Syntax != fsSwitch);
    }
}

TEST(CommandLineOptions, SpellingsFindTheirRows)
{
    const std::pair<std::string, const TCommandLineRow*> Cases[] = {
        {"--root", &CommandLineRow(cfRoot)},
        {"-root", &CommandLineRow(cfRoot)},
        {"-h", &CommandLineRow(cfHelp)},
        {"--window-id", &CommandLineRow(cfWindowId)},
        {"-window-id", &CommandLineRow(cfWindowId)},
        {"---root", nullptr},
        {"root", nullptr},
        {"--h", nullptr},
        {"", nullptr},
    };
    for (const auto& [Spelling, Row] : Cases)
        EXPECT_EQ(FindCommandLineRow(Spelling), Row) << Spelling;
}

TEST(CommandLineOptions, ValuesReadByTheirSyntax)
{
    const TFlagValue Mode = ParseFlagValue(CommandLineRow(cfMode), "1024X768x16");
    EXPECT_EQ((std::vector<int>{Mode.Width, Mode.Height, Mode.Bits}), (std::vector<int>{1024, 768, 16}));
    EXPECT_TRUE(ParseFlagValue(CommandLineRow(cfTheme), "auto").Auto);
    EXPECT_EQ(ParseFlagValue(CommandLineRow(cfTheme), "2").Integer, 2);
    EXPECT_EQ(ParseFlagValue(CommandLineRow(cfWindowId), "0x2A").Integer, 42);
    EXPECT_EQ(ParseFlagValue(CommandLineRow(cfTime), "0.25").Number, 0.25);
    EXPECT_EQ(ParseFlagValue(CommandLineRow(cfSeed), "4294967295").Integer, 4294967295);
    EXPECT_EQ(ParseFlagValue(CommandLineRow(cfIni), "").Text, "");
    EXPECT_THROW(ParseFlagValue(CommandLineRow(cfSnapshot), ""), EGlimmoraError);
    EXPECT_THROW(ParseFlagValue(CommandLineRow(cfTime), "inf"), EGlimmoraError);
    // The counts' limits are the saver's.
    EXPECT_EQ(CommandLineRow(cfDollars).Max, MaxOptionCount);
    EXPECT_EQ(CommandLineRow(cfBubbles).Max, MaxOptionCount);
}

// --help shows every row in its section, with its help line and default.
TEST(CommandLineOptions, TheHelpShowsEveryRow)
{
    const std::string Help = LinuxUsageText();
    // The entries, wrapped lines joined.
    std::map<std::string, std::string> Entries;
    std::string Flag;
    std::istringstream Lines(Help);
    for (std::string Line; std::getline(Lines, Line);) {
        if (Line.rfind("  --", 0) == 0) {
            Flag = Line.substr(2, Line.find(' ', 2) - 2);
            EXPECT_EQ(Entries.count(Flag), 0u) << Flag;
            Entries[Flag] = Words(Line).size() > 0 ? Line.substr(2) : "";
        } else if (!Flag.empty() && Line.rfind("    ", 0) == 0) {
            Entries[Flag] += " " + Line.substr(Line.find_first_not_of(' '));
        } else {
            Flag.clear();
        }
        EXPECT_LE(Line.size(), 79u) << Line;
    }
    EXPECT_EQ(Entries.size(), CommandLineRows().size());
    for (const TCommandLineRow& Row : CommandLineRows()) {
        SCOPED_TRACE(std::string(Row.Name));
        ASSERT_EQ(Entries.count(std::string(Row.Name)), 1u);
        // Blanks collapsed, as wrapping and the flag column leave them.
        std::string Entry;
        for (const std::string& W : Words(Entries[std::string(Row.Name)]))
            Entry += (Entry.empty() ? "" : " ") + W;
        const std::string Default = FlagDefaultText(Row);
        const std::string Expected = std::string(Row.Name) + (Row.ValueName.empty() ? "" : " ") +
                                     std::string(Row.ValueName) + " " + FlagHelpText(Row) +
                                     (Default.empty() ? "" : " (" + Default + ")");
        EXPECT_EQ(Entry, Expected);
    }
}

// Every option the manual page documents is a row, and every row is
// documented there with its value, its range and its default.
TEST(CommandLineOptions, TheManualPageDocumentsTheTable)
{
    const TManual Manual = ReadManual(ReadText("glimmora3d.6.in"));
    ASSERT_FALSE(Manual.Options.empty());
    std::map<std::string, const TManualOption*> ByFlag;
    for (const TManualOption& O : Manual.Options) {
        EXPECT_FALSE(O.Flags.empty()) << O.Tag;
        for (const std::string& F : O.Flags) {
            const TCommandLineRow* Row = FindCommandLineRow(F);
            EXPECT_TRUE(Row != nullptr && Row->Name == F) << "the manual's " << F << " is no option";
            ByFlag[F] = &O;
        }
    }
    std::string HackSpellings;
    for (const TCommandLineRow& Row : CommandLineRows()) {
        SCOPED_TRACE(std::string(Row.Name));
        if (Row.HackSpelling)
            HackSpellings += (HackSpellings.empty() ? "" : ", ") + std::string(Row.Name.substr(1));
        const auto Entry = ByFlag.find(std::string(Row.Name));
        ASSERT_NE(Entry, ByFlag.end()) << "not in the manual page";
        const TManualOption& O = *Entry->second;
        if (!Row.ValueName.empty()) {
            EXPECT_NE(O.Tag.find(std::string(Row.Name) + " " + std::string(Row.ValueName)), std::string::npos)
                << O.Tag;
        }
        if (const std::string Default = FlagDefaultText(Row); !Default.empty()) {
            EXPECT_NE(O.Body.find("(" + Default + ")"), std::string::npos) << O.Body;
        }
        if (Row.Help.find("{range}") != std::string_view::npos) {
            EXPECT_NE(O.Body.find(RangeOf(Row)), std::string::npos) << O.Body;
        }
    }
    // The single-dash spellings it lists are the hack spellings of the table.
    EXPECT_NE(Manual.Introduction.find("single dash (" + HackSpellings + ")"), std::string::npos)
        << Manual.Introduction;
}

// Every flag the XScreenSaver settings pass is a row, with a value the
// program takes; a slider spans no more than the row's range (a count's
// slider is the saver's whole range) and starts at the row's default.
TEST(CommandLineOptions, TheXScreenSaverSettingsPassOnlyOptionsOfTheTable)
{
    const std::vector<TXmlElement> Elements = ReadXmlElements(ReadText("glimmora3d.xml"));
    int Arguments = 0, Sliders = 0;
    for (const TXmlElement& E : Elements) {
        for (const char* Attribute : {"arg", "arg-set"}) {
            const auto A = E.Attributes.find(Attribute);
            if (A == E.Attributes.end())
                continue;
            SCOPED_TRACE(A->second);
            ++Arguments;
            const std::vector<std::string> Parts = Words(A->second);
            ASSERT_FALSE(Parts.empty());
            const TCommandLineRow* Row = FindCommandLineRow(Parts[0]);
            ASSERT_TRUE(Row != nullptr && Row->Name == Parts[0]) << "no such option";
            ASSERT_EQ(Parts.size(), Row->Syntax == fsSwitch ? 1u : 2u);
            if (E.Name != "number") {
                if (Parts.size() == 2) {
                    EXPECT_NO_THROW(ParseFlagValue(*Row, Parts[1]));
                }
                continue;
            }
            ++Sliders;
            EXPECT_EQ(Parts[1], "%");
            const int64_t Low = std::stoll(E.Attributes.at("low")), High = std::stoll(E.Attributes.at("high"));
            const std::string Default = E.Attributes.at("default");
            EXPECT_NO_THROW(ParseFlagValue(*Row, E.Attributes.at("low")));
            EXPECT_NO_THROW(ParseFlagValue(*Row, E.Attributes.at("high")));
            EXPECT_LT(Low, High);
            if (Row->Saver) {
                EXPECT_EQ(Low, Row->Min);
                EXPECT_EQ(High, Row->Max);
                EXPECT_EQ(Default, std::to_string(OptionRow(*Row->Saver).DefaultValue));
            } else {
                ASSERT_EQ(Row->DefaultFrom, fdValue);
                EXPECT_EQ(Default, Row->Default);
            }
        }
    }
    EXPECT_GE(Sliders, 3);
    EXPECT_GE(Arguments, 8);
}
