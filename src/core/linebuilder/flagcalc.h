#pragma once

// The flag calculator of the Line Builder: many verbs take a numeric argument whose bits have
// meanings, written "flag*" in the reference data. The calculator names the 32 positions of
// that argument after keywords found in the line, lets the user tick positions, and puts the
// value of the ticks in place of "flag*". The window only shows labels and ticks; the tables
// and the value rules are here.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr int FlagBitCount = 32;

// The placeholder of a flag argument in a built line.
constexpr std::string_view FlagPlaceholder = "flag*";

struct TFlagName
{
    int Position;
    const char *Name;
};

// One kind of flag argument: the title shown while it is open, whether it reads a bit mask
// or a single choice, and the names of the positions that mean something to the game.
struct TFlagKind
{
    // The name of the kind's labelling step ("EditActor"), also how tests and tools refer to it.
    const char *Method;
    const char *Title;
    // The value is the number of the one ticked position, not the or of the ticked bits.
    bool SingleChoice;
    // The text after "flag*" is dropped when the value is written: "flag=flag* z" becomes
    // "flag=0x40", as a symbol declaration takes nothing after its value.
    bool DropTail;
    std::vector<TFlagName> Names;
};

struct TFlagKeyword
{
    const char *Keyword;
    const TFlagKind *Kind;
};

// The 26 kinds.
const std::vector<TFlagKind> &FlagKinds();
// The kind labelled by method ("EditDamage"); null when there is none.
const TFlagKind *FindFlagKind(std::string_view method);
// The keywords that choose a kind, in the order they are tried. Matching is case-sensitive and
// anywhere in the line.
const std::vector<TFlagKeyword> &FlagKeywords();

// The kind whose keyword the line holds, or null when it holds none. A verb's name may hold
// several keywords ("SetThingCurLightMode" holds "SetThing" and "LightMode"); the name ends in
// what the verb sets, so the keyword that ends latest decides, and of two ending at the same
// place the later one in keyword order.
const TFlagKind *MatchFlagKind(std::string_view line);
// The kind a double-click on line opens the calculator with: MatchFlagKind, or null when the
// line opens none (no "flag*", a "Get" anywhere, or no keyword).
const TFlagKind *OpenedFlagKind(std::string_view line);

// What value means to the game for kind: the names of its set bits for a bit mask (lowest bit
// first), the name of its one position for a single choice. A bit or position the kind leaves
// unnamed is written as its label ("0x00000100", "0x1F"); a single choice past the 32 positions
// gives nothing.
std::vector<std::string> FlagNamesOf(const TFlagKind &kind, uint32_t value);
// A number as scripts write it: decimal, or hexadecimal after "0x"/"0X". False for anything
// else or a value past 32 bits.
bool ParseFlagNumber(std::string_view text, uint32_t &value);

// The labels before a kind names them: "0x00000001" ... "0x80000000" for bit masks (the bit
// ticking adds), "0x00" ... "0x1F" for single choices (the value ticking chooses).
std::string BitMaskLabel(int position);
std::string SingleChoiceLabel(int position);

// A hexadecimal digit string in the written form: "0x" and the digits without leading zeros,
// "0x0" for zero. "00000240" gives "0x240", "0A" gives "0xA".
std::string TrimHex(std::string_view digits);

// line with its first "flag*" replaced by value; the text after the placeholder stays unless
// dropTail. A line without the placeholder comes back unchanged.
std::string CompleteFlagLine(std::string_view line, std::string_view value, bool dropTail);

enum class TFlagOutcome
{
    // The completed line is in FlagLine.
    Written,
    // Nothing was ticked.
    NothingChosen,
    // A single-choice kind had more than one tick; the ticks were cleared.
    MoreThanOne
};

// The message the user sees for an outcome; empty for Written.
const char *FlagOutcomeMessage(TFlagOutcome outcome);

// The state of one calculator: its 32 labels and ticks, title and mode, the line being
// completed. Ticks survive an opening, so ticks left by a calculator that was closed without
// writing count at the next write; reading them for a write clears them.
class TFlagCalc
{
  public:
    TFlagCalc();

    std::array<std::string, FlagBitCount> Labels;
    std::array<bool, FlagBitCount> Ticks{};
    std::string Title;
    // The line being completed.
    std::string FlagLine;
    // "0x..." from the last reading of the ticks; empty when nothing was ticked.
    std::string FlagValue;
    bool SingleChoiceMode = false;
    bool DropTail = false;
    bool IsOpen = false;

    // Labels every position for a bit mask or a single choice.
    void ClearNames();
    void ClearBits();
    void SetName(int position, std::string_view name);
    // Labels, names, title and mode of kind.
    void Edit(const TFlagKind &kind);

    // Opens the calculator for FlagLine on the kind its keywords choose. Returns false,
    // changing nothing, for a line without "flag*" or with "Get" in it: reading a flag value
    // needs no value.
    bool SortFlag();
    // SortFlag for line; FlagLine becomes line only when the calculator opens.
    bool Open(std::string_view line);

    // The "Flags" button: reads the ticks and, when they give a value, completes FlagLine and
    // closes the calculator.
    TFlagOutcome FlagOKClick();

    // Reads and clears the ticks as a bit mask into FlagValue.
    void GetFlags();
    // Reads and clears the ticks as a single choice into FlagValue; returns how many positions
    // were ticked (FlagValue stays empty unless exactly one).
    int GetBits();
    // Puts FlagValue in place of the first "flag*" of FlagLine; turns DropTail off.
    void NewLine();
};
