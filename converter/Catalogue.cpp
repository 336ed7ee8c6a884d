#include "Catalogue.h"

#include "ShortCopy.h"
#include "tychobvr/conversion.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <type_traits>

namespace {

// A field by its first and last byte as the ReadMe counts them, from 1.
constexpr Field Bytes(std::size_t first, std::size_t last) { return {first - 1, last - first + 1}; }

std::vector<std::size_t> Separators(std::initializer_list<std::size_t> bytes) {
    std::vector<std::size_t> separators;
    for (const std::size_t byte : bytes) separators.push_back(byte - 1);
    return separators;
}

// Tycho-2's ReadMe (I/259), the catalogue and its two supplements, and the Hipparcos main
// catalogue's (I/239).
const RecordLayout kTycho2{
    .form = SourceForm::Tycho2,
    .shortest = 177,
    .longest = 206,
    .separators =
        Separators({13,  15,  28,  41,  49,  57,  61,  65,  70,  75,  83,  91,  94,  98,  102, 106,
                    110, 117, 123, 130, 136, 140, 142, 152, 165, 178, 183, 188, 194, 200, 202}),
    .BT = Bytes(111, 116),
    .errorBT = Bytes(118, 122),
    .VT = Bytes(124, 129),
    .errorVT = Bytes(131, 135),
    .tycho = {Bytes(1, 4), Bytes(6, 10), Bytes(12, 12)},
    .hip = {},
    .ra = Bytes(16, 27),
    .dec = Bytes(29, 40),
    .ra2 = Bytes(153, 164),
    .dec2 = Bytes(166, 177),
    .hpFlag = {},
    .prox = Bytes(137, 139),
    .posflg = Bytes(201, 201),
    .pflag = Bytes(14, 14),
    .ccdm = Bytes(149, 151),
    .proxy = {},
    .multFlag = {},
    .varFlag = {},
    .hvarType = {},
    .pmRA = Bytes(42, 48),
    .pmDE = Bytes(50, 56),
    .positionEpoch = 2000.0,
};

const RecordLayout kTycho2Supplement{
    .form = SourceForm::Tycho2Supplement,
    .shortest = 108,
    .longest = 122,
    .separators =
        Separators({13, 15, 28, 41, 49, 57, 63, 69, 75, 81, 83, 90, 96, 103, 109, 113, 115}),
    .BT = Bytes(84, 89),
    .errorBT = Bytes(91, 95),
    .VT = Bytes(97, 102),
    .errorVT = Bytes(104, 108),
    .tycho = {Bytes(1, 4), Bytes(6, 10), Bytes(12, 12)},
    .hip = {},
    .ra = Bytes(16, 27),
    .dec = Bytes(29, 40),
    .ra2 = {},
    .dec2 = {},
    .hpFlag = Bytes(82, 82),
    .prox = Bytes(110, 112),
    .posflg = {},
    .pflag = {},
    .ccdm = Bytes(122, 122),
    .proxy = {},
    .multFlag = {},
    .varFlag = {},
    .hvarType = {},
    .pmRA = Bytes(42, 48),
    .pmDE = Bytes(50, 56),
    .positionEpoch = 1991.25,
};

const RecordLayout kHipparcos{
    .form = SourceForm::Hipparcos,
    .shortest = 242,
    .longest = 450,
    // The separators around the fields a row needs and those before them.
    .separators = Separators({2, 15, 17, 29, 41, 47, 49, 51, 64, 77, 217, 224, 230, 237, 243}),
    .BT = Bytes(218, 223),
    .errorBT = Bytes(225, 229),
    .VT = Bytes(231, 236),
    .errorVT = Bytes(238, 242),
    .tycho = {},
    .hip = Bytes(9, 14),
    .ra = Bytes(52, 63),
    .dec = Bytes(65, 76),
    .ra2 = {},
    .dec2 = {},
    .hpFlag = {},
    .prox = {},
    .posflg = {},
    .pflag = {},
    .ccdm = Bytes(328, 337),
    .proxy = Bytes(16, 16),
    .multFlag = Bytes(347, 347),
    .varFlag = Bytes(48, 48),
    .hvarType = Bytes(322, 322),
    .pmRA = Bytes(88, 95),
    .pmDE = Bytes(97, 104),
    .positionEpoch = 1991.25,
};

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; }

bool SameName(std::u16string_view name, std::string_view wanted) {
    return name.size() == wanted.size() &&
           std::equal(name.begin(), name.end(), wanted.begin(), [](char16_t a, char b) {
               return Lower(a) == Lower(static_cast<char16_t>(b));
           });
}

// The first column named any of the names, in the order given.
std::size_t ColumnNamed(const std::vector<std::u16string>& names,
                        std::initializer_list<std::string_view> wanted) {
    for (const std::string_view name : wanted) {
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (SameName(names[i], name)) return i;
        }
    }
    return TableLayout::kNone;
}

}  // namespace

std::optional<SourceForm> FormNamed(std::string_view name) {
    struct Named {
        std::string_view name;
        SourceForm form;
    };
    static constexpr Named kNames[] = {{"auto", SourceForm::Automatic},
                                       {"text", SourceForm::Tagged},
                                       {"table", SourceForm::Table},
                                       {"tyc2", SourceForm::Tycho2},
                                       {"suppl", SourceForm::Tycho2Supplement},
                                       {"hip", SourceForm::Hipparcos},
                                       {"variables", SourceForm::Variables}};
    for (const Named& named : kNames) {
        if (named.name.size() == name.size() &&
            std::equal(name.begin(), name.end(), named.name.begin(),
                       [](char a, char b) { return Lower(char16_t(a)) == char16_t(b); })) {
            return named.form;
        }
    }
    return std::nullopt;
}

const RecordLayout& LayoutOf(SourceForm form) {
    switch (form) {
        case SourceForm::Tycho2Supplement:
            return kTycho2Supplement;
        case SourceForm::Hipparcos:
            return kHipparcos;
        default:
            return kTycho2;
    }
}

std::optional<SourceForm> RecordFormOf(std::u16string_view line) {
    for (const RecordLayout* layout : {&kTycho2, &kTycho2Supplement, &kHipparcos}) {
        if (line.size() < layout->shortest || line.size() > layout->longest) continue;
        if (layout->form == SourceForm::Hipparcos && line.front() != u'H') continue;
        if (std::all_of(layout->separators.begin(), layout->separators.end(),
                        [line](std::size_t at) { return at >= line.size() || line[at] == u'|'; })) {
            return layout->form;
        }
    }
    return std::nullopt;
}

bool EndsInsideQuotes(std::u16string_view row) {
    return std::count(row.begin(), row.end(), u'"') % 2 != 0;
}

void SplitCells(std::u16string_view row, const TableLayout& layout, std::vector<Cell>& cells) {
    cells.clear();
    std::size_t at = 0;
    for (;;) {
        // Blanks pad a cell; a tab that separates is not one of them.
        while (at < row.size() && row[at] == u' ') ++at;
        Cell cell;
        std::size_t end = at;
        if (layout.quoted && at < row.size() && row[at] == u'"') {
            const std::size_t begin = at + 1;
            end = begin;
            while (end < row.size() &&
                   !(row[end] == u'"' && (end + 1 >= row.size() || row[end + 1] != u'"'))) {
                end += row[end] == u'"' ? 2u : 1u;
            }
            cell = {row.substr(begin, end - begin), true};
            end = row.find(layout.separator, std::min(end, row.size()));
        } else {
            end = row.find(layout.separator, at);
            cell.text = row.substr(at, end == std::u16string_view::npos ? end : end - at);
            while (!cell.text.empty() && IsBlank(cell.text.back())) cell.text.remove_suffix(1);
            if (layout.separator != u'\t') cell.text = Trimmed(cell.text);
        }
        cells.push_back(cell);
        if (end == std::u16string_view::npos) return;
        at = end + 1;
    }
}

std::u16string CellText(const Cell& cell) {
    std::u16string text(cell.text);
    if (cell.quoted) {
        for (std::size_t at = text.find(u"\"\""); at != std::u16string::npos;
             at = text.find(u"\"\"", at + 1)) {
            text.erase(at, 1);
        }
    }
    return text;
}

namespace {

// The position's columns, by the first pair of names that the header has.
void FindPosition(TableLayout& layout) {
    static constexpr std::string_view kPositions[][2] = {
        {"_RAJ2000", "_DEJ2000"}, {"RAJ2000", "DEJ2000"}, {"RA_ICRS", "DE_ICRS"},
        {"RAmdeg", "DEmdeg"},     {"RAdeg", "DEdeg"},     {"ra", "dec"}};
    for (const auto& [ra, dec] : kPositions) {
        const std::size_t raColumn = ColumnNamed(layout.names, {ra});
        const std::size_t decColumn = ColumnNamed(layout.names, {dec});
        if (raColumn != TableLayout::kNone && decColumn != TableLayout::kNone) {
            layout.ra = raColumn;
            layout.dec = decColumn;
            return;
        }
    }
}

// The header's layout under the first separator that the line has for which `named` finds
// the columns it needs.
template <typename Named>
std::optional<TableLayout> HeaderOf(std::u16string_view line, Named named) {
    std::vector<Cell> cells;
    for (const char16_t separator : {u'\t', u';', u'|', u','}) {
        if (line.find(separator) == std::u16string_view::npos) continue;
        TableLayout layout;
        layout.separator = separator;
        layout.quoted = separator == u',' || separator == u';';
        SplitCells(line, layout, cells);
        for (const Cell& cell : cells) layout.names.push_back(CellText(cell));
        if (named(layout)) return layout;
    }
    return std::nullopt;
}

}  // namespace

std::optional<TableLayout> TableHeaderOf(std::u16string_view line) {
    return HeaderOf(line, [](TableLayout& layout) {
        const auto& names = layout.names;
        layout.BT = ColumnNamed(names, {"BTmag", "BT"});
        layout.VT = ColumnNamed(names, {"VTmag", "VT"});
        if (layout.BT == TableLayout::kNone || layout.VT == TableLayout::kNone) return false;
        layout.errorBT = ColumnNamed(names, {"e_BTmag", "e_BT"});
        layout.errorVT = ColumnNamed(names, {"e_VTmag", "e_VT"});
        const std::size_t tycho[3] = {ColumnNamed(names, {"TYC1"}), ColumnNamed(names, {"TYC2"}),
                                      ColumnNamed(names, {"TYC3"})};
        // All three make the identifier, or none does; a column "TYC" is Tycho-2's flag.
        if (std::none_of(std::begin(tycho), std::end(tycho),
                         [](std::size_t column) { return column == TableLayout::kNone; })) {
            std::copy(std::begin(tycho), std::end(tycho), layout.tycho);
        } else {
            layout.hip = ColumnNamed(names, {"HIP"});
            if (layout.hip == TableLayout::kNone) {
                layout.name = ColumnNamed(names, {"Name", "ID", "MAIN_ID", "Star"});
            }
        }
        FindPosition(layout);
        layout.prox = ColumnNamed(names, {"prox"});
        layout.posflg = ColumnNamed(names, {"posflg"});
        layout.pflag = ColumnNamed(names, {"pflag"});
        layout.ccdm = ColumnNamed(names, {"CCDM"});
        layout.proxy = ColumnNamed(names, {"Proxy"});
        layout.multFlag = ColumnNamed(names, {"MultFlag"});
        layout.varFlag = ColumnNamed(names, {"VarFlag"});
        layout.hvarType = ColumnNamed(names, {"HvarType"});
        layout.pmRA = ColumnNamed(names, {"pmRA"});
        layout.pmDE = ColumnNamed(names, {"pmDE"});
        return true;
    });
}

std::optional<TableLayout> VariableListHeaderOf(std::u16string_view line) {
    return HeaderOf(line, [](TableLayout& layout) {
        const auto& names = layout.names;
        if (ColumnNamed(names, {"BTmag", "BT", "VTmag", "VT"}) != TableLayout::kNone) return false;
        layout.name = ColumnNamed(names, {"Name", "GCVS", "VarName", "MAIN_ID"});
        layout.type = ColumnNamed(names, {"Type", "VarType"});
        // VSX's own flag: 2 where the star was found constant or does not exist.
        layout.varFlag = ColumnNamed(names, {"V"});
        FindPosition(layout);
        return layout.name != TableLayout::kNone && layout.type != TableLayout::kNone &&
               layout.ra != TableLayout::kNone;
    });
}

bool IsUnitsOrDashes(std::u16string_view line, const TableLayout& layout) {
    const bool dashes = line.find(u'-') != std::u16string_view::npos &&
                        std::all_of(line.begin(), line.end(), [&layout](char16_t c) {
                            return c == u'-' || IsBlank(c) || c == layout.separator;
                        });
    if (dashes) return true;
    std::vector<Cell> cells;
    SplitCells(line, layout, cells);
    const auto unit = [&cells](std::size_t column) {
        return column < cells.size() && !cells[column].text.empty() &&
               !ReadCellNumber(cells[column].text);
    };
    if (layout.BT != TableLayout::kNone) return unit(layout.BT) && unit(layout.VT);
    // A list's position has no numbers to tell its units from a position that is none: its
    // units are words ("deg", "h:m:s", "d:m:s").
    const auto positionUnit = [&cells](std::size_t column) {
        if (column >= cells.size()) return false;
        const std::u16string_view cell = cells[column].text;
        const bool digits = std::any_of(cell.begin(), cell.end(),
                                        [](char16_t c) { return c >= u'0' && c <= u'9'; });
        return !digits && (cell.find(u"deg") != std::u16string_view::npos ||
                           cell.find(u"m:s") != std::u16string_view::npos ||
                           cell.find(u"ms") != std::u16string_view::npos);
    };
    return positionUnit(layout.ra) && positionUnit(layout.dec);
}

namespace {

// The cell read as from_chars reads it, for the cells the quick reading leaves.
// Kept out of line: its buffer would cost every quick reading a guarded stack frame.
template <typename Char>
[[gnu::noinline]] std::optional<double> ReadCellGenerally(std::basic_string_view<Char> cell) {
    std::array<char, 64> ascii;
    if (cell.empty() || cell.size() > ascii.size()) return std::nullopt;
    std::size_t at = 0;
    const auto digits = [&cell, &at] {
        const std::size_t from = at;
        while (at < cell.size() && cell[at] >= Char('0') && cell[at] <= Char('9')) ++at;
        return at - from;
    };
    if (cell[at] == Char('+') || cell[at] == Char('-')) ++at;
    std::size_t mantissa = digits();
    if (at < cell.size() && cell[at] == Char('.')) {
        ++at;
        mantissa += digits();
    }
    if (mantissa == 0) return std::nullopt;
    if (at < cell.size() && (cell[at] == Char('e') || cell[at] == Char('E'))) {
        ++at;
        if (at < cell.size() && (cell[at] == Char('+') || cell[at] == Char('-'))) ++at;
        if (digits() == 0) return std::nullopt;
    }
    if (at != cell.size()) return std::nullopt;
    // from_chars takes no '+'.
    const std::size_t from = cell.front() == Char('+') ? 1 : 0;
    std::size_t size = 0;
    for (std::size_t i = from; i < cell.size(); ++i) ascii[size++] = static_cast<char>(cell[i]);
    return conversion::ReadDecimal(std::string_view(ascii.data(), size));
}

template <typename Char>
bool ReadCell(std::basic_string_view<Char> cell, double& number, ShortestText& shortest) {
    // Up to 15 digits without an exponent, as catalogues write magnitudes: the digits as a whole
    // number and the power of ten are both exact doubles, so one division rounds as from_chars
    // would. Those digits, without the zeros that lead or trail, are the value's shortest form
    // where it needs no exponent, between 0.01 and 1000.
    static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    shortest.size = 0;
    const Char* p = cell.data();
    const Char* const end = p + cell.size();
    const bool negative = p != end && *p == Char('-');
    if (p != end && (*p == Char('-') || *p == Char('+'))) ++p;
    // Units beyond ASCII, and bytes with their high bit set, are no digits.
    const auto digit = [](Char c) {
        return static_cast<unsigned>(static_cast<std::make_unsigned_t<Char>>(c)) - unsigned{'0'};
    };
    std::uint64_t whole = 0;  // wraps for more digits than are read here, which go on anyway
    const Char* const integer = p;
    for (; p != end && digit(*p) < 10; ++p) whole = whole * 10 + digit(*p);
    const Char* const point = p;
    if (p != end && *p == Char('.')) {
        for (++p; p != end && digit(*p) < 10; ++p) whole = whole * 10 + digit(*p);
    }
    const auto integerDigits = static_cast<std::size_t>(point - integer);
    const std::size_t decimals = p == point ? 0 : static_cast<std::size_t>(p - point) - 1;
    if (p != end || integerDigits + decimals > 15) {
        const std::optional<double> general = ReadCellGenerally(cell);
        if (!general) return false;
        number = *general;
        return true;
    }
    if (integerDigits + decimals == 0) return false;
    const double value = static_cast<double>(whole) / kPowers[decimals];
    // Whether the value lies from 0.01 up to 1000, judged on the digits: so that the division is
    // not waited for. The same as judging the quotient, for no decimal of 15 digits is close
    // enough to either bound to be rounded onto it.
    static constexpr auto kWholePowers = [] {
        std::array<std::uint64_t, std::size(kPowers)> powers{};
        std::uint64_t power = 1;
        for (std::uint64_t& each : powers) {
            each = power;
            power *= 10;
        }
        return powers;
    }();
    const std::uint64_t power = kWholePowers[decimals];
    if (whole * 100 >= power && whole < 1000 * power) {
        char* to = shortest.chars.data();
        if (negative) *to++ = '-';
        // Leading zeros go, but for the one before the point; trailing zeros of the fraction go,
        // and the point with them when nothing is left.
        const Char* from = integer;
        while (point - from > 1 && *from == Char('0')) ++from;
        if (from == point) *to++ = '0';
        const Char* last = end;
        if (p != point) {
            while (last - point > 1 && last[-1] == Char('0')) --last;
            if (last - point == 1) last = point;
        }
        // What is left between them is the shortest form's own digits and point.
        if constexpr (sizeof(Char) == 1) {
            CopyChars(to, from, static_cast<std::size_t>(last - from));
            to += last - from;
        } else {
            for (; from != last; ++from) *to++ = static_cast<char>(*from);
        }
        shortest.size = static_cast<std::size_t>(to - shortest.chars.data());
    }
    number = negative ? -value : value;
    return true;
}

}  // namespace

std::optional<double> ReadCellNumber(std::u16string_view cell) {
    ShortestText unused;
    return ReadCellNumber(cell, unused);
}

bool ReadCellNumber(std::u16string_view cell, double& number, ShortestText& shortest) {
    return ReadCell(cell, number, shortest);
}

bool ReadCellNumber(std::string_view cell, double& number, ShortestText& shortest) {
    return ReadCell(cell, number, shortest);
}
