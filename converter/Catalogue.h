// The forms a source of stars comes in besides tagged text: tables with named columns, as VizieR
// and other tools write them, and the fixed-width records of Tycho-2's and Hipparcos' own files.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class SourceForm {
    Automatic,  // recognised from the source's first line that is neither blank nor a comment
    Tagged,
    Table,
    Tycho2,            // tyc2.dat
    Tycho2Supplement,  // suppl_1.dat and suppl_2.dat
    Hipparcos,         // hip_main.dat
    Variables,         // a list of known variable stars, which gives no rows
};

// Whether the form is one of a catalogue's own files, with a record to a line.
constexpr bool IsRecordForm(SourceForm form) {
    return form == SourceForm::Tycho2 || form == SourceForm::Tycho2Supplement ||
           form == SourceForm::Hipparcos;
}

// The form a user names: "text", "table", "tyc2", "suppl", "hip" or "variables"; nothing for
// another name.
std::optional<SourceForm> FormNamed(std::string_view name);

// A field of a fixed-width record, by its first byte and its length, counted from 0.
struct Field {
    std::size_t begin = 0;
    std::size_t size = 0;
};

// Where a catalogue file's record keeps what a row needs, from the catalogue's own ReadMe.
struct RecordLayout {
    SourceForm form;
    std::size_t shortest;                 // the last byte that a row needs
    std::size_t longest;                  // the whole record
    std::vector<std::size_t> separators;  // where '|' stands, counted from 0
    Field BT, errorBT, VT, errorVT;
    std::vector<Field> tycho;  // TYC1, TYC2, TYC3: none in Hipparcos
    Field hip;                 // Hipparcos only
    Field ra, dec;
    Field ra2, dec2;  // tyc2.dat's observed position, where the mean one is blank
    Field hpFlag;     // the supplements' mflag, 'H' where the VT field holds Hp
    // What the catalogue says of a star's neighbours and variability, where it says it.
    Field prox, posflg, pflag, ccdm;           // Tycho-2 (prox and CCDM in the supplements too)
    Field proxy, multFlag, varFlag, hvarType;  // Hipparcos, with its own CCDM
    // The proper motion, μα cos δ and μδ in mas a year, and the Julian year of the position.
    Field pmRA, pmDE;
    double positionEpoch = 2000.0;
};

const RecordLayout& LayoutOf(SourceForm form);  // for the three record forms

// The record form whose layout the line has: its length and every separator in place.
std::optional<SourceForm> RecordFormOf(std::u16string_view line);

// A table's columns, found by name in its header.
struct TableLayout {
    char16_t separator = u'\t';
    bool quoted = false;  // RFC 4180 quotes, for ',' and ';'
    std::vector<std::u16string> names;
    static constexpr std::size_t kNone = std::size_t(-1);
    std::size_t BT = kNone, errorBT = kNone, VT = kNone, errorVT = kNone;
    std::size_t tycho[3] = {kNone, kNone, kNone};
    std::size_t hip = kNone, name = kNone;
    std::size_t ra = kNone, dec = kNone;
    std::size_t type = kNone;  // a list of variables' type of variability; varFlag is VSX's V
    std::size_t pmRA = kNone, pmDE = kNone;  // mas a year, the position's epoch J2000
    // The catalogues' flags of doubles and variables, by their own names.
    std::size_t prox = kNone, posflg = kNone, pflag = kNone, ccdm = kNone;
    std::size_t proxy = kNone, multFlag = kNone, varFlag = kNone, hvarType = kNone;
};

// The layout whose header the line is: the first separator of TAB, ';', '|' and ',' under which
// it names a BT and a VT column (BTmag and VTmag, or BT and VT, in any case).
std::optional<TableLayout> TableHeaderOf(std::u16string_view line);
// The layout whose header the line is as a list of known variables, as VizieR writes VSX and the
// GCVS: the first separator under which it names a star's name (Name, GCVS, VarName or MAIN_ID),
// a position and a type of variability (Type or VarType), and no BT or VT.
std::optional<TableLayout> VariableListHeaderOf(std::u16string_view line);

// A cell of a row as it stands between separators, without its padding blanks; a quoted cell's
// text is inside its quotes, with any doubled quote still doubled.
struct Cell {
    std::u16string_view text;
    bool quoted = false;
};
// The cells of a row. A quoted cell runs on over separators and line breaks.
void SplitCells(std::u16string_view row, const TableLayout& layout, std::vector<Cell>& cells);
// Whether a row so far has a quoted cell still open: the row goes on in the next line.
bool EndsInsideQuotes(std::u16string_view row);
// A cell's text, with doubled quotes undoubled.
std::u16string CellText(const Cell& cell);

// The line right after a header that gives the units, or a line of dashes under the header: the
// units of BT and VT, or of a list's position.
bool IsUnitsOrDashes(std::u16string_view line, const TableLayout& layout);

// The blanks that pad a value or field. Records of ASCII alone are read as the bytes they are,
// all others as UTF-16: whatever reads cells takes both.
constexpr bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }
constexpr bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A value or field without the blanks around it.
template <typename Char>
std::basic_string_view<Char> Trimmed(std::basic_string_view<Char> text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// The same for a cell of ASCII bytes of which the `readable` bytes from its start may all be
// read, `readable` at least its size: where eight can be, the blanks that lead are found in one
// word. How many lead varies from star to star (" 9.959", "10.389"), and a loop that ends after
// a count that varies is foreseen wrongly.
inline std::string_view TrimmedWithin(std::string_view text, std::size_t readable) {
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kLow7 = kOnes * 0x7F;
    if constexpr (std::endian::native == std::endian::little) {
        if (readable >= sizeof(std::uint64_t) && !text.empty()) {
            std::uint64_t word;
            std::memcpy(&word, text.data(), sizeof word);
            // A high bit in each byte that differs from the blank, and in each that differs from
            // the tab; exact for every byte, with no carry from one to the next.
            const auto differs = [](std::uint64_t x) { return ((x & kLow7) + kLow7) | x; };
            const std::uint64_t other =
                differs(word ^ (kOnes * ' ')) & differs(word ^ (kOnes * '\t')) & (kOnes * 0x80);
            if (other != 0) {
                const auto blanks = static_cast<std::size_t>(std::countr_zero(other)) / 8;
                text.remove_prefix(std::min(blanks, text.size()));
                while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
                return text;
            }
        }
    }
    return Trimmed(text);
}

// A number written as a whole cell: an optional sign, digits with an optional decimal point, and
// an optional exponent. Nothing for anything else, infinities and NaN included.
std::optional<double> ReadCellNumber(std::u16string_view cell);
// The same, with the shortest decimal that reads back as the value, as std::to_chars writes it,
// where the cell's own digits give it: "9.87" for "09.870". `shortest` is left empty where they
// do not, for a value that needs an exponent or more digits.
struct ShortestText {
    std::array<char, 20> chars{};  // a sign, "0.", and up to 16 digits before the reading gives up
    std::size_t size = 0;
    std::string_view View() const { return {chars.data(), size}; }
};
// The same into `number`, false for a cell that holds none: for each cell of a row, where an
// optional handed back through memory stalled every one.
bool ReadCellNumber(std::u16string_view cell, double& number, ShortestText& shortest);
bool ReadCellNumber(std::string_view cell, double& number, ShortestText& shortest);
inline std::optional<double> ReadCellNumber(std::u16string_view cell, ShortestText& shortest) {
    double number;
    if (!ReadCellNumber(cell, number, shortest)) return std::nullopt;
    return number;
}
inline std::optional<double> ReadCellNumber(std::string_view cell, ShortestText& shortest) {
    double number;
    if (!ReadCellNumber(cell, number, shortest)) return std::nullopt;
    return number;
}
// Whether a cell is a whole number of at most nine digits alone, as catalogue numbers are
// written. Inline, and a plain answer: a number's value is never needed, only whether it is one.
template <typename Char>
bool IsCellInteger(std::basic_string_view<Char> cell) {
    if (cell.empty() || cell.size() > 9) return false;
    bool digits = true;
    for (const Char c : cell) digits &= c >= Char('0') && c <= Char('9');
    return digits;
}
