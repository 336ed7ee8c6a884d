#include "CsvConverter.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <cmath>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "RelationScatter.h"
#include "RowText.h"
#include "ShownValues.h"
#include "SkyPosition.h"
#include "StarFlags.h"
#include "Utf.h"
#include "tychobvr/conversion.h"

namespace {

// The first fourteen columns stay as they were before tables and catalogues were read, so that
// what users wrote for them keeps working; the rest are empty for tagged text.
constexpr std::string_view kHeader =
    "source,line,BT,VT,B,V,R,BT_VT,extrapolated,faint,bessell_V,bessell_B_V,henden_R,henden_I,"
    "id,ra,dec,e_BT,e_VT,e_B,e_V,e_R,e_B_V,u_B,u_V,u_R,u_B_V,sep,pa,usable,why\n";
// From id to u_B_V, and sep and pa.
constexpr std::string_view kNoStarColumns = ",,,,,,,,,,,,,,,";
constexpr std::string_view kNoShownColumns = ",,,,,,,,,,";
constexpr std::string_view kNoErrorColumns = ",,,,";

// The words of `why`, in their order.
enum Doubt : unsigned {
    kNoBtVt = 1u << 0,
    kExtrapolated = 1u << 1,
    kFaint = 1u << 2,
    kUncertain = 1u << 3,
    kDouble = 1u << 4,
    kVariable = 1u << 5,
};
constexpr std::string_view kDoubtWords[] = {"no-bt-vt",  "extrapolated", "faint",
                                            "uncertain", "double",       "variable"};

// Writes the usable and why columns.
void WriteJudgement(RowWriter& out, unsigned doubts) {
    out.Text(doubts == 0 ? ",1," : ",0,");
    bool first = true;
    for (std::size_t word = 0; word < std::size(kDoubtWords); ++word) {
        if ((doubts & (1u << word)) == 0) continue;
        if (!first) out.Char(' ');
        out.Text(kDoubtWords[word]);
        first = false;
    }
}

// What ShownValues say against a star as a comparison star, beside its flags.
unsigned DoubtsOf(const ShownValues& shown) {
    return (shown.extrapolated ? kExtrapolated : 0u) | (shown.faint ? kFaint : 0u);
}

// The page's build runs on the browser's one thread.
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
constexpr bool kThreads = false;
#else
constexpr bool kThreads = true;
#endif

// Lines are converted this many at a time, or as many as make this many units.
constexpr std::size_t kLinesAtOnce = 16384;
constexpr std::size_t kUnitsAtOnce = std::size_t(1) << 20;

// A compacted line is at most two tags with their fields and two more units, with separators:
// the limit must leave room for it to grow again.
constexpr std::size_t kTagAndField = 3 + 6;
constexpr std::size_t kSmallestLineLimit = 4 * kTagAndField;

// Shortens a line that is still growing to a text that gives the same result, however the line
// goes on: the last "BT=" and the last "VT=" with their value fields, which may go on into what
// is still to come, and the last two units, which may begin a tag. The pieces keep their order;
// where two touch they stay one, and elsewhere a separator keeps them apart, so that no tag is made
// or lost between them.
void Compact(std::u16string& line) {
    std::vector<std::pair<std::size_t, std::size_t>> pieces;
    for (std::u16string_view tag : {u"BT=", u"VT="}) {
        const std::size_t at = line.rfind(tag);
        if (at != std::u16string::npos) {
            pieces.emplace_back(at, std::min(at + kTagAndField, line.size()));
        }
    }
    // A tag cut by the end of the line so far has at most its first two units there.
    const std::size_t tail = 2;
    pieces.emplace_back(line.size() - std::min(tail, line.size()), line.size());
    std::sort(pieces.begin(), pieces.end());
    std::u16string compact;
    std::size_t end = 0;
    for (const auto& [begin, pieceEnd] : pieces) {
        if (!compact.empty() && begin > end) compact += u'|';
        const std::size_t from = compact.empty() ? begin : std::max(begin, end);
        if (pieceEnd > from) compact.append(line, from, pieceEnd - from);
        end = std::max(end, pieceEnd);
    }
    line = std::move(compact);
}

std::u16string Ascii(std::string_view text) { return std::u16string(text.begin(), text.end()); }

std::u16string Decimal(std::uint64_t number) {
    std::array<char, 20> digits;
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), number);
    return Ascii(
        std::string_view(digits.data(), static_cast<std::size_t>(result.ptr - digits.data())));
}

// A row kept under --near, to be written nearest first: its separation as shown, in thousandths
// of an arcminute, and where its text lies.
struct HeldRow {
    std::uint64_t key = 0;
    std::size_t begin = 0;
    std::size_t end = 0;
};

// What a group of a batch's lines gives: its rows, its messages in order, and what it counted.
struct GroupRows {
    RowText rows;
    std::vector<CsvConverter::Message> messages;
    std::uint64_t stars = 0;
    std::uint64_t lacking = 0;  // stars without BT or without VT
    bool tagFound = false;
    bool invalid = false;
    // Under --near: the rows kept, where they lie in `rows`, and what was counted of the field.
    std::vector<HeldRow> held;
    std::uint64_t positioned = 0;  // stars with a position
    std::uint64_t within = 0;      // of them, those within the radius and the ranges
    std::uint64_t usable = 0;      // of those, the usable ones
};

// Appends the columns from B to henden_I for the shown values.
void AppendShown(RowWriter& out, const ShownValues& shown) {
    for (const double number : {shown.line.B, shown.line.V, shown.line.R, shown.colourIndex}) {
        out.Char(',');
        out.Fixed(number);
    }
    out.Text(shown.extrapolated ? ",1" : ",0");
    out.Text(shown.faint ? ",1" : ",0");
    out.Char(',');
    if (shown.bessell) out.Fixed(shown.bessell->V);
    out.Char(',');
    if (shown.bessell) out.Fixed(shown.bessell->BMinusV);
    out.Char(',');
    out.Fixed(shown.henden.R);
    out.Char(',');
    out.Fixed(shown.henden.I);
}

bool AllFinite(const ShownValues& shown) {
    return std::isfinite(shown.line.B) && std::isfinite(shown.line.V) &&
           std::isfinite(shown.line.R) && std::isfinite(shown.colourIndex) &&
           std::isfinite(shown.henden.R) && std::isfinite(shown.henden.I) &&
           (!shown.bessell ||
            (std::isfinite(shown.bessell->V) && std::isfinite(shown.bessell->BMinusV)));
}

void TaggedRows(const CsvConverter::Batch& batch, std::size_t firstLine, std::size_t lastLine,
                GroupRows& group) {
    const std::u16string_view text = batch.text;
    // Tagged text has no positions: under --near it gives no row.
    const bool aroundPosition = batch.selection->field.has_value();
    RowWriter out(group.rows);
    for (auto first = batch.lines.begin() + static_cast<std::ptrdiff_t>(firstLine),
              last = batch.lines.begin() + static_cast<std::ptrdiff_t>(lastLine);
         first != last; ++first) {
        const std::u16string_view line = text.substr(first->begin, first->end - first->begin);
        const conversion::TaggedValues values = conversion::ScanTaggedValues(line);
        if (conversion::ResultKindOf(values) != conversion::ResultKind::Magnitudes) {
            if (!group.tagFound && (line.find(u"BT=") != std::u16string_view::npos ||
                                    line.find(u"VT=") != std::u16string_view::npos)) {
                group.tagFound = true;
            }
            continue;
        }
        group.tagFound = true;
        ++group.stars;
        if (aroundPosition) continue;
        const ShownValues shown = ValuesFor(values);
        out.Text(batch.quotedName);
        out.Char(',');
        out.Unsigned(first->number);
        out.Char(',');
        out.Shortest(values.BT);
        out.Char(',');
        out.Shortest(values.VT);
        AppendShown(out, shown);
        out.Text(kNoStarColumns);
        WriteJudgement(out, DoubtsOf(shown));
        out.Char('\n');
    }
}

// The names of a star's columns, for messages: the catalogue's own in its files, and those of a
// table's header.
struct ColumnNames {
    std::u16string_view BT = u"BTmag", VT = u"VTmag", errorBT = u"e_BTmag", errorVT = u"e_VTmag",
                        hip = u"HIP", ra = u"RA", dec = u"Dec";
    std::u16string_view tycho[3] = {u"TYC1", u"TYC2", u"TYC3"};
};
constexpr ColumnNames kRecordColumns;

ColumnNames ColumnsOf(const TableLayout& layout) {
    ColumnNames names;
    names.BT = layout.names[layout.BT];
    names.VT = layout.names[layout.VT];
    if (layout.errorBT != TableLayout::kNone) names.errorBT = layout.names[layout.errorBT];
    if (layout.errorVT != TableLayout::kNone) names.errorVT = layout.names[layout.errorVT];
    if (layout.hip != TableLayout::kNone) names.hip = layout.names[layout.hip];
    if (layout.ra != TableLayout::kNone) names.ra = layout.names[layout.ra];
    if (layout.dec != TableLayout::kNone) names.dec = layout.names[layout.dec];
    for (std::size_t part = 0; part < 3; ++part) {
        if (layout.tycho[part] != TableLayout::kNone) {
            names.tycho[part] = layout.names[layout.tycho[part]];
        }
    }
    return names;
}

// The cells of one star, as they stand in its table row or catalogue record, in UTF-16 or, for a
// record of ASCII alone, in its bytes; blank ones empty.
template <typename Char>
struct StarCells {
    using View = std::basic_string_view<Char>;
    View BT, VT, errorBT, errorVT;
    View tycho[3];
    View hip;
    View name, ra, dec;
    FlagCells<Char> flags;
    bool hp = false;  // the VT cell holds Hp: the star has no Tycho magnitudes
    const ColumnNames* names = &kRecordColumns;
};

std::u16string_view Units(std::u16string_view text) { return text; }
std::u16string Units(std::string_view ascii) { return Ascii(ascii); }

// Writes a whole number read from a cell of digits alone as its digits, without the zeros that
// lead, as its value would be written: "0008" as "8".
template <typename Char>
void WriteDigits(RowWriter& out, std::basic_string_view<Char> digits) {
    while (digits.size() > 1 && digits.front() == Char('0')) digits.remove_prefix(1);
    if constexpr (sizeof(Char) == 1) {
        out.Text(digits);
    } else {
        for (const Char c : digits) out.Char(static_cast<char>(c));
    }
}

// Where a star lies against the field of --near: nothing when it lies outside or has no
// position, which is decided before anything else of the star is read.
struct InField {
    double separation = 0.0;  // arcminutes
    double angle = 0.0;       // degrees east of north
};

// A cell of decimal degrees such as " -5.39111111", near enough its value to tell a star far
// outside a field at once: digits as a whole number, scaled once. Nothing for any other cell,
// which is then read exactly.
template <typename Char>
std::optional<double> RoughDegrees(std::basic_string_view<Char> cell) {
    std::size_t at = 0;
    while (at < cell.size() && cell[at] == Char(' ')) ++at;
    const bool negative = at < cell.size() && cell[at] == Char('-');
    if (at < cell.size() && (cell[at] == Char('-') || cell[at] == Char('+'))) ++at;
    std::uint64_t digits = 0;
    int count = 0, decimals = -1;
    for (; at < cell.size() && count < 15; ++at) {
        const Char c = cell[at];
        if (c >= Char('0') && c <= Char('9')) {
            digits = digits * 10 + static_cast<std::uint64_t>(c - Char('0'));
            ++count;
            if (decimals >= 0) ++decimals;
        } else if (c == Char('.') && decimals < 0) {
            decimals = 0;
        } else {
            break;
        }
    }
    while (at < cell.size() && cell[at] == Char(' ')) ++at;
    if (count == 0 || at != cell.size()) return std::nullopt;
    static constexpr double kTens[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const double value = static_cast<double>(digits) / kTens[decimals < 0 ? 0 : decimals];
    return negative ? -value : value;
}

// Whether a catalogue record's star lies, beyond doubt, farther north or south of the field than
// its radius, as PlaceInField would find: such a star is only counted, as a row's star would be.
[[gnu::always_inline]] inline std::string_view CellAt(std::string_view record, const Field& at) {
    return at.size == 0 || at.begin >= record.size() ? std::string_view()
                                                     : Trimmed(record.substr(at.begin, at.size));
}

bool FarOutsideField(const RecordLayout& layout, std::string_view record, const NearField& field,
                     bool& lacking, bool& positioned) {
    const auto cell = [record](const Field& at) { return CellAt(record, at); };
    std::string_view ra = cell(layout.ra), dec = cell(layout.dec);
    if ((ra.empty() || dec.empty()) && layout.ra2.size != 0) {
        ra = cell(layout.ra2);
        dec = cell(layout.dec2);
    }
    // The whole degrees alone bound the declination: "-45.3" lies from -46 to -45.
    std::size_t at = dec.size() > 0 && (dec[0] == '-' || dec[0] == '+') ? 1 : 0;
    int whole = 0, digits = 0;
    for (; at < dec.size() && dec[at] >= '0' && dec[at] <= '9' && digits < 3; ++at, ++digits) {
        whole = whole * 10 + (dec[at] - '0');
    }
    if (digits == 0 || at == dec.size() || dec[at] != '.' || whole >= 90) return false;
    const double low = dec[0] == '-' ? -(whole + 1.0) : whole;
    const double high = low + 1.0;
    if (high >= field.centre.dec - field.radius && low <= field.centre.dec + field.radius) {
        return false;
    }
    const std::string_view hp = layout.hpFlag.size != 0 ? cell(layout.hpFlag) : std::string_view();
    lacking = hp == "H" || cell(layout.BT).empty() || cell(layout.VT).empty();
    positioned = !ra.empty();
    return true;
}

template <typename Char, typename Complain>
std::optional<InField> PlaceInField(const NearField& field, const StarCells<Char>& cells,
                                    GroupRows& group, Complain complain) {
    // Declination first: a star farther north or south than the radius is out at once. The rough
    // reading is off by far less than the margin.
    if (const std::optional<double> rough = RoughDegrees(cells.dec);
        rough && std::fabs(*rough) <= 90.0 &&
        std::fabs(*rough - field.centre.dec) > field.radius + 1e-9) {
        if (!cells.ra.empty()) ++group.positioned;
        return std::nullopt;
    }
    const std::optional<double> dec = ReadCellDeclination(cells.dec);
    if (!dec) {
        if (!cells.dec.empty()) complain(cells.names->dec, cells.dec);
        return std::nullopt;
    }
    if (std::fabs(*dec - field.centre.dec) > field.radius) {
        if (!cells.ra.empty()) ++group.positioned;
        return std::nullopt;
    }
    const std::optional<double> ra = ReadCellRightAscension(cells.ra);
    if (!ra) {
        if (!cells.ra.empty()) complain(cells.names->ra, cells.ra);
        return std::nullopt;
    }
    ++group.positioned;
    const SkyPosition star{*ra, *dec};
    const double separation = SeparationDegrees(field.centre, star);
    if (separation > field.radius) return std::nullopt;
    InField placed{separation * 60.0, PositionAngleDegrees(field.centre, star)};
    // 359.96° is shown as 360.0, which is north again.
    if (ShownUnits(placed.angle, 1) == 3600) placed.angle = 0.0;
    return placed;
}

// Counts a star, of which only its BT, VT, Hp flag and position need be known yet, and under
// --near places it in the field: false when it gives no row.
template <typename Char>
bool CountAndPlace(const CsvConverter::Batch& batch, std::uint64_t lineNumber,
                   const StarCells<Char>& cells, GroupRows& group, std::optional<InField>& placed) {
    ++group.stars;
    if (cells.hp || cells.BT.empty() || cells.VT.empty()) ++group.lacking;
    const Selection& selection = *batch.selection;
    if (!selection.field) return true;
    placed = PlaceInField(
        *selection.field, cells, group,
        [&](std::u16string_view column, std::basic_string_view<Char> cell) {
            group.messages.push_back(
                {lineNumber, Utf8FromUtf16(Substitute(
                                 batch.texts->invalidPosition,
                                 {batch.name, Decimal(lineNumber), column, Units(cell)}))});
            group.invalid = true;
        });
    return placed.has_value();
}

// Writes a star's row; its cells that are neither blank nor numbers are named in messages.
template <typename Char>
void StarRow(const CsvConverter::Batch& batch, std::uint64_t lineNumber,
             const StarCells<Char>& cells, const std::optional<InField>& placed, GroupRows& group,
             RowWriter& out) {
    using View = std::basic_string_view<Char>;
    const Texts& texts = *batch.texts;
    const Selection& selection = *batch.selection;
    bool invalid = false;
    const auto complain = [&](std::u16string_view text, std::u16string_view column, View cell) {
        group.messages.push_back(
            {lineNumber, Utf8FromUtf16(Substitute(
                             text, {batch.name, Decimal(lineNumber), column, Units(cell)}))});
        invalid = true;
    };
    const auto number = [&](View cell, std::u16string_view column, ShortestText& shortest) {
        if (cell.empty()) return std::optional<double>();
        const std::optional<double> value = ReadCellNumber(cell, shortest);
        if (!value) complain(texts.invalidCell, column, cell);
        return value;
    };
    const auto integer = [&](View cell, std::u16string_view column) {
        if (cell.empty()) return std::optional<unsigned long>();
        const std::optional<unsigned long> value = ReadCellInteger(cell);
        if (!value) complain(texts.invalidCell, column, cell);
        return value;
    };
    std::optional<double> BT, VT, errorBT, errorVT;
    ShortestText BTText, VTText, errorBTText, errorVTText;
    if (!cells.hp) {
        BT = number(cells.BT, cells.names->BT, BTText);
        VT = number(cells.VT, cells.names->VT, VTText);
        errorBT = number(cells.errorBT, cells.names->errorBT, errorBTText);
        errorVT = number(cells.errorVT, cells.names->errorVT, errorVTText);
    }
    std::optional<unsigned long> tycho[3], hip;
    const bool hasTycho =
        !cells.tycho[0].empty() || !cells.tycho[1].empty() || !cells.tycho[2].empty();
    if (hasTycho) {
        for (std::size_t i = 0; i < 3; ++i)
            tycho[i] = integer(cells.tycho[i], cells.names->tycho[i]);
    } else if (!cells.hip.empty()) {
        hip = integer(cells.hip, cells.names->hip);
    }

    std::optional<ShownValues> shown;
    if (BT && VT && !invalid) {
        const ShownValues values = ValuesFor({*BT, *VT});
        if (AllFinite(values)) {
            shown = values;
        } else {
            group.messages.push_back(
                {lineNumber,
                 Utf8FromUtf16(Substitute(texts.outOfRange, {batch.name, Decimal(lineNumber)}))});
            invalid = true;
        }
    }
    if (invalid) group.invalid = true;
    const StarFlags flags = FlagsOf(cells.flags);
    std::optional<conversion::MagnitudeErrors> errors;
    std::optional<Uncertainties> uncertainties;
    if (shown && errorBT && errorVT) {
        const conversion::MagnitudeErrors propagated =
            conversion::PropagateErrors(*errorBT, *errorVT);
        if (std::isfinite(propagated.B) && std::isfinite(propagated.V) &&
            std::isfinite(propagated.R) && std::isfinite(propagated.BMinusV)) {
            errors = propagated;
            uncertainties = TotalUncertainties(propagated, *shown, flags.Any());
        }
    }
    unsigned doubts = 0;
    if (!shown) {
        doubts |= kNoBtVt;
    } else {
        doubts |= DoubtsOf(*shown);
        if (uncertainties && ShownUnits(uncertainties->V) > ShownUnits(selection.largestError)) {
            doubts |= kUncertain;
        }
    }
    if (flags.companion) doubts |= kDouble;
    if (flags.variable) doubts |= kVariable;

    if (selection.field) {
        const bool inRanges =
            (!selection.V.Limits() ||
             (shown && selection.V.Holds(static_cast<double>(ShownUnits(shown->line.V)) / 1000))) &&
            (!selection.BMinusV.Limits() ||
             (shown && selection.BMinusV.Holds(
                           static_cast<double>(ShownUnits(shown->line.B - shown->line.V)) / 1000)));
        if (!inRanges) return;
        ++group.within;
        if (doubts == 0) ++group.usable;
        if (selection.usableOnly && doubts != 0) return;
        group.held.push_back(
            {static_cast<std::uint64_t>(ShownUnits(placed->separation)), out.Size(), 0});
    }

    const auto shortest = [&out](const std::optional<double>& value, const ShortestText& text) {
        if (!value) return;
        if (text.size != 0) {
            out.Prefix(text.chars, text.size);
        } else {
            out.Shortest(*value);
        }
    };
    out.Text(batch.quotedName);
    out.Char(',');
    out.Unsigned(lineNumber);
    out.Char(',');
    shortest(BT, BTText);
    out.Char(',');
    shortest(VT, VTText);
    if (shown) {
        AppendShown(out, *shown);
    } else {
        out.Text(kNoShownColumns);
    }
    out.Char(',');
    if (hasTycho) {
        if (tycho[0] && tycho[1] && tycho[2]) {
            out.Text("TYC ");
            WriteDigits(out, cells.tycho[0]);
            out.Char('-');
            WriteDigits(out, cells.tycho[1]);
            out.Char('-');
            WriteDigits(out, cells.tycho[2]);
        }
    } else if (hip) {
        out.Text("HIP ");
        WriteDigits(out, cells.hip);
    } else if (cells.hip.empty()) {
        out.Field(cells.name);
    }
    out.Char(',');
    out.Field(cells.ra);
    out.Char(',');
    out.Field(cells.dec);
    out.Char(',');
    shortest(errorBT, errorBTText);
    out.Char(',');
    shortest(errorVT, errorVTText);
    if (errors) {
        for (const double error : {errors->B, errors->V, errors->R, errors->BMinusV}) {
            out.Char(',');
            out.Fixed(error);
        }
        for (const double total :
             {uncertainties->B, uncertainties->V, uncertainties->R, uncertainties->BMinusV}) {
            out.Char(',');
            out.Fixed(total);
        }
    } else {
        out.Text(kNoErrorColumns);
        out.Text(kNoErrorColumns);
    }
    out.Char(',');
    if (placed) {
        out.Fixed(placed->separation);
        out.Char(',');
        out.Fixed(placed->angle, 1);
    } else {
        out.Char(',');
    }
    WriteJudgement(out, doubts);
    out.Char('\n');
    if (placed) group.held.back().end = out.Size();
}

void TableRows(const CsvConverter::Batch& batch, std::size_t firstLine, std::size_t lastLine,
               GroupRows& group) {
    const TableLayout& layout = *batch.table;
    const ColumnNames names = ColumnsOf(layout);
    const std::u16string_view text = batch.text;
    std::vector<Cell> cells;
    std::u16string name, ra, dec;
    const auto cell = [&cells](std::size_t column) {
        return column < cells.size() ? cells[column] : Cell{};
    };
    const auto view = [&cell](std::size_t column) { return cell(column).text; };
    RowWriter out(group.rows);
    for (std::size_t i = firstLine; i < lastLine; ++i) {
        const CsvConverter::Batch::Line& line = batch.lines[i];
        SplitCells(text.substr(line.begin, line.end - line.begin), layout, cells);
        StarCells<char16_t> star;
        star.BT = view(layout.BT);
        star.VT = view(layout.VT);
        star.errorBT = view(layout.errorBT);
        star.errorVT = view(layout.errorVT);
        for (std::size_t part = 0; part < 3; ++part) star.tycho[part] = view(layout.tycho[part]);
        star.hip = view(layout.hip);
        // Quoted cells are undoubled into storage of the loop's own.
        const auto unquoted = [&cell](std::size_t column, std::u16string& storage) {
            const Cell found = cell(column);
            if (!found.quoted) return found.text;
            storage = CellText(found);
            return std::u16string_view(storage);
        };
        star.flags = {view(layout.prox),    view(layout.posflg),  view(layout.pflag),
                      view(layout.ccdm),    view(layout.proxy),   view(layout.multFlag),
                      view(layout.varFlag), view(layout.hvarType)};
        star.name = unquoted(layout.name, name);
        star.ra = unquoted(layout.ra, ra);
        star.dec = unquoted(layout.dec, dec);
        star.names = &names;
        std::optional<InField> placed;
        if (CountAndPlace(batch, line.number, star, group, placed)) {
            StarRow(batch, line.number, star, placed, group, out);
        }
    }
}

template <typename Char>
void RecordRow(const CsvConverter::Batch& batch, const RecordLayout& layout,
               std::uint64_t lineNumber, std::basic_string_view<Char> record, GroupRows& group,
               RowWriter& out) {
    const auto field = [record](const Field& at) {
        return at.size == 0 || at.begin >= record.size()
                   ? std::basic_string_view<Char>()
                   : Trimmed(record.substr(at.begin, at.size));
    };
    // What counting and placing the star need first: most stars lie outside a field of --near,
    // and nothing more of them is read.
    StarCells<Char> star;
    star.BT = field(layout.BT);
    star.VT = field(layout.VT);
    if (layout.hpFlag.size != 0) {
        const auto flag = field(layout.hpFlag);
        star.hp = flag.size() == 1 && flag.front() == Char('H');
    }
    star.ra = field(layout.ra);
    star.dec = field(layout.dec);
    // tyc2.dat has no mean position for some stars: then the observed one.
    if ((star.ra.empty() || star.dec.empty()) && layout.ra2.size != 0) {
        star.ra = field(layout.ra2);
        star.dec = field(layout.dec2);
    }
    std::optional<InField> placed;
    if (!CountAndPlace(batch, lineNumber, star, group, placed)) return;
    star.errorBT = field(layout.errorBT);
    star.errorVT = field(layout.errorVT);
    for (std::size_t part = 0; part < layout.tycho.size(); ++part) {
        star.tycho[part] = field(layout.tycho[part]);
    }
    star.hip = field(layout.hip);
    star.flags = {field(layout.prox),    field(layout.posflg),  field(layout.pflag),
                  field(layout.ccdm),    field(layout.proxy),   field(layout.multFlag),
                  field(layout.varFlag), field(layout.hvarType)};
    StarRow(batch, lineNumber, star, placed, group, out);
}

void RecordRows(const CsvConverter::Batch& batch, std::size_t firstLine, std::size_t lastLine,
                GroupRows& group) {
    const RecordLayout& layout = LayoutOf(batch.form);
    const std::u16string_view text = batch.text;
    const std::string_view bytes = batch.bytes;
    RowWriter out(group.rows);
    for (std::size_t i = firstLine; i < lastLine; ++i) {
        const CsvConverter::Batch::Line& line = batch.lines[i];
        if (line.narrow) {
            RecordRow(batch, layout, line.number, bytes.substr(line.begin, line.end - line.begin),
                      group, out);
        } else {
            RecordRow(batch, layout, line.number, text.substr(line.begin, line.end - line.begin),
                      group, out);
        }
    }
}

// The rows for the lines of a batch from `first` to `last`, into a group whose storage may be
// that of a group before.
void Rows(const CsvConverter::Batch& batch, std::size_t firstLine, std::size_t lastLine,
          GroupRows& group) {
    RowText rows = std::move(group.rows);
    rows.Clear();
    group = GroupRows{};
    group.rows = std::move(rows);
    // Room for rows of every column, so that appending never moves them.
    group.rows.Reserve((lastLine - firstLine) * (batch.quotedName.size() + 320));
    switch (batch.form) {
        case SourceForm::Automatic:
        case SourceForm::Tagged:
            TaggedRows(batch, firstLine, lastLine, group);
            break;
        case SourceForm::Table:
            TableRows(batch, firstLine, lastLine, group);
            break;
        case SourceForm::Tycho2:
        case SourceForm::Tycho2Supplement:
        case SourceForm::Hipparcos:
            RecordRows(batch, firstLine, lastLine, group);
            break;
    }
}

template <typename Char>
bool IsCommentOrBlank(std::basic_string_view<Char> line) {
    const auto text = Trimmed(line);
    return text.empty() || text.front() == Char('#');
}

}  // namespace

CsvConverter::CsvConverter(Options options, const Texts& texts, Write write, Report report,
                           std::size_t lineLimit)
    : options_(options),
      texts_(texts),
      write_(std::move(write)),
      report_(std::move(report)),
      lineLimit_(std::max(lineLimit, kSmallestLineLimit)) {
    batch_.text.reserve(kUnitsAtOnce + 4096);
}

CsvConverter::~CsvConverter() = default;

void CsvConverter::WriteHeader() { Emit(kHeader); }

void CsvConverter::BeginSource(std::string_view name) {
    decoder_ = LineDecoder(options_.encoding);
    batch_.quotedName = CsvField(name);
    batch_.name = Utf16FromUtf8(name);
    batch_.texts = &texts_;
    batch_.selection = &options_.selection;
    positioned_ = 0;
    lineNumber_ = 0;
    lineStart_ = recordStart_ = batch_.text.size();
    overlong_ = false;
    form_ = batch_.form = options_.form;
    table_.reset();
    batch_.table.reset();
    unitsLines_ = 0;
    stars_ = lacking_ = 0;
    tagFound_ = false;
    inflater_.reset();
    compressionKnown_ = false;
    untaken_.clear();
}

void CsvConverter::Complain(std::uint64_t line, std::u16string_view text,
                            std::initializer_list<std::u16string_view> values) {
    inputFailed_ = true;
    batch_.notes.push_back({line, Utf8FromUtf16(Substitute(text, values))});
}

void CsvConverter::Feed(std::string_view bytes) {
    if (outputFailed_) return;
    std::string held;  // the first bytes of the source, held back until its form is known
    if (!compressionKnown_) {
        // A gzip stream begins with its two magic bytes, which may come one piece at a time.
        held = untaken_ + std::string(bytes);
        if (held.size() < 2 && GzipInflater::MayBegin(held)) {
            untaken_ = std::move(held);
            return;
        }
        untaken_.clear();
        compressionKnown_ = true;
        if (GzipInflater::Begins(held)) {
            // Without zlib the inflater has failed from the start, and the source gives nothing.
            inflater_ = std::make_unique<GzipInflater>();
            if (!GzipInflater::kAvailable)
                Complain(kAfterLines, texts_.gzipUnsupported, {batch_.name});
        }
        bytes = held;
    }
    if (inflater_) {
        if (inflater_->Failed()) return;
        inflater_->Inflate(bytes, [this](std::string_view out) { FeedDecoded(out); });
        if (inflater_->Failed()) {
            Complain(kAfterLines, texts_.notGzip,
                     {batch_.name, Utf16FromUtf8(inflater_->Reason())});
        }
        return;
    }
    FeedDecoded(bytes);
}

void CsvConverter::FeedDecoded(std::string_view bytes) {
    if (outputFailed_) return;
    std::string joined;
    if (!untaken_.empty()) {
        joined = untaken_;
        joined += bytes;
        bytes = joined;
    }
    // The line being decoded goes straight to the end of the batch's text.
    std::u16string& text = batch_.text;
    for (;;) {
        if (IsRecordForm(form_)) {
            bytes = TakeAsciiRecords(bytes);
            if (outputFailed_) return;
        }
        const LineDecoder::Step step = decoder_.Decode(bytes, text, lineStart_ + lineLimit_);
        bytes.remove_prefix(step.taken);
        if (step.lineEnded) {
            EndLine();
            if (outputFailed_) return;
        } else if (text.size() - lineStart_ >= lineLimit_) {
            if (form_ == SourceForm::Automatic || form_ == SourceForm::Tagged) {
                std::u16string line = text.substr(lineStart_);
                Compact(line);
                text.replace(lineStart_, std::u16string::npos, line);
            } else {
                // A table's row or a record is never this long: it is dropped with a word.
                overlong_ = true;
                text.resize(lineStart_);
            }
        } else {
            break;  // what is left is the start of a character still to come, or nothing
        }
    }
    untaken_.assign(bytes);
}

std::string_view CsvConverter::TakeAsciiRecords(std::string_view bytes) {
    // The records go into the batch as one run of bytes, line ends and comments included, copied
    // when the batch is full and at the end: where each copy is a call, as in WebAssembly, a copy
    // for each record took a twentieth of the conversion.
    const char* run = bytes.data();
    const auto inRun = [&run](const char* at) { return static_cast<std::size_t>(at - run); };
    const auto copyRun = [&] { batch_.bytes.append(run, inRun(bytes.data())); };
    // Only where no line is being decoded.
    while (!outputFailed_ && batch_.text.size() == lineStart_ && recordStart_ == lineStart_ &&
           !overlong_ && !decoder_.LineInvalid()) {
        const std::optional<std::size_t> length = decoder_.AsciiLine(bytes, lineLimit_);
        if (!length) break;
        std::string_view record = bytes.substr(0, *length);
        const std::size_t begin = batch_.bytes.size() + inRun(record.data());
        bytes.remove_prefix(*length + 1);
        recordNumber_ = ++lineNumber_;
        if (!record.empty() && record.back() == '\r') record.remove_suffix(1);
        if (IsCommentOrBlank(record)) continue;
        // Under --near, most records lie far outside the field: they are counted here and go no
        // further, and the run of bytes to copy goes on after them.
        bool lacking = false, positioned = false;
        if (options_.selection.field &&
            FarOutsideField(LayoutOf(form_), record, *options_.selection.field, lacking,
                            positioned)) {
            ++stars_;
            ++read_;
            if (lacking) ++lacking_;
            if (positioned) ++positioned_;
            if (record.data() != run) batch_.bytes.append(run, inRun(record.data()));
            run = bytes.data();
            continue;
        }
        batch_.lines.push_back({recordNumber_, begin, begin + record.size(), true});
        if (BatchFull(inRun(bytes.data()))) {
            copyRun();
            run = bytes.data();
            WriteRows();
        }
        lineStart_ = recordStart_ = batch_.text.size();
    }
    copyRun();
    return bytes;
}

std::optional<CsvConverter::Split> CsvConverter::SplitHere() {
    if (outputFailed_ || options_.selection.field || !IsRecordForm(form_) || !compressionKnown_ ||
        inflater_ || !untaken_.empty() || batch_.text.size() != lineStart_ ||
        recordStart_ != lineStart_ || overlong_ || decoder_.LineInvalid() ||
        !decoder_.AsciiCompatible()) {
        return std::nullopt;
    }
    if (BatchHasWork()) WriteRows();
    CollectRows();
    if (outputFailed_) return std::nullopt;
    return Split{form_, lineNumber_};
}

void CsvConverter::BeginPart(std::string_view name, SourceForm form, std::uint64_t linesBefore) {
    BeginSource(name);
    decoder_ = LineDecoder::GoingOn(options_.encoding);
    compressionKnown_ = true;
    form_ = batch_.form = form;
    lineNumber_ = linesBefore;
}

CsvConverter::Stars CsvConverter::EndPart() {
    FinishSource(true);
    return {stars_, lacking_, inputFailed_};
}

void CsvConverter::AddPart(const Stars& part) {
    stars_ += part.stars;
    lacking_ += part.lacking;
    read_ += part.stars;
    if (part.inputFailed) inputFailed_ = true;
}

void CsvConverter::EndSource(bool complete) {
    if (outputFailed_) return;
    FinishSource(complete);
    const bool noStars = form_ == SourceForm::Tagged || (form_ == SourceForm::Table && !table_);
    // A stream that was damaged or cut short has said so: what it lacks is the rest of it.
    const bool streamCut = inflater_ && !inflater_->Ended();
    if (noStars && !tagFound_ && !streamCut) {
        report_(Utf8FromUtf16(Substitute(texts_.nothingFound, {batch_.name})));
    } else if (!noStars) {
        report_(Utf8FromUtf16(Substitute(stars_ == 1 ? texts_.starSummary : texts_.starsSummary,
                                         {batch_.name, Decimal(stars_), Decimal(lacking_)})));
    }
    if (options_.selection.field && positioned_ == 0 && (tagFound_ || !noStars)) {
        report_(Utf8FromUtf16(
            Substitute(texts_.noPositions, {batch_.name, options_.selection.field->centreText})));
    }
}

namespace {

// A count as the summary gives it, its thousands grouped: "2,539,913".
std::u16string Grouped(std::uint64_t count) {
    const std::u16string digits = Decimal(count);
    std::u16string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (digits.size() - i) % 3 == 0) grouped += u',';
        grouped += digits[i];
    }
    return grouped;
}

}  // namespace

void CsvConverter::Finish() {
    const std::optional<NearField>& field = options_.selection.field;
    if (outputFailed_ || !field) return;
    // Nearest first; rows of one separation in the order they were read.
    std::stable_sort(held_.begin(), held_.end(),
                     [](const Held& a, const Held& b) { return a.key < b.key; });
    std::string rows;
    constexpr std::size_t kWriteAtOnce = std::size_t(1) << 16;
    for (const Held& row : held_) {
        rows.append(heldText_, row.begin, row.end - row.begin);
        if (rows.size() >= kWriteAtOnce) {
            Emit(rows);
            rows.clear();
        }
    }
    Emit(rows);
    held_.clear();
    heldText_.clear();
    if (outputFailed_) return;
    const bool ranges = options_.selection.V.Limits() || options_.selection.BMinusV.Limits();
    report_(Utf8FromUtf16(
        Substitute(within_ == 1 ? texts_.nearSummaryOne : texts_.nearSummary,
                   {Grouped(within_), field->radiusText, field->centreText, Grouped(usable_),
                    Grouped(read_), ranges ? texts_.nearRanges : std::u16string_view()})));
}

void CsvConverter::FinishSource(bool complete) {
    if (outputFailed_) return;
    if (!compressionKnown_) {
        // Fewer bytes than a gzip stream's magic: plain text.
        compressionKnown_ = true;
        std::string head = std::move(untaken_);
        untaken_.clear();
        FeedDecoded(head);
    }
    if (inflater_ && complete && !inflater_->Failed() && !inflater_->Ended()) {
        Complain(kAfterLines, texts_.notGzip, {batch_.name, u"unexpected end of file"});
    }
    // A gzip stream that is damaged or cut short stops inside its text: the line it cuts gives no
    // row, which would look complete, as where reading the source fails.
    if (inflater_ && !inflater_->Ended()) complete = false;
    if (complete) {
        decoder_.Finish(untaken_);
        if (batch_.text.size() > lineStart_ || decoder_.LineInvalid() ||
            recordStart_ != lineStart_) {
            EndLine(true);
        }
    }
    batch_.text.resize(recordStart_);
    untaken_.clear();
    // Only comments and blank lines: tagged text without a tag.
    if (form_ == SourceForm::Automatic) form_ = batch_.form = SourceForm::Tagged;
    if (BatchHasWork()) WriteRows();
    CollectRows();
}

void CsvConverter::Decide(std::u16string_view line) {
    if (const std::optional<SourceForm> record = RecordFormOf(line)) {
        form_ = *record;
    } else if (auto table = TableHeaderOf(line)) {
        form_ = SourceForm::Table;
        table_ = std::make_shared<const TableLayout>(std::move(*table));
    } else {
        form_ = SourceForm::Tagged;
    }
}

void CsvConverter::EndLine(bool last) {
    ++lineNumber_;
    std::u16string& text = batch_.text;
    // A CR right before the LF belongs to the line end.
    if (text.size() > lineStart_ && text.back() == u'\r') text.pop_back();
    if (recordStart_ == lineStart_) recordNumber_ = lineNumber_;
    const auto nextLine = [this] {
        lineStart_ = recordStart_ = batch_.text.size();
        overlong_ = false;
        decoder_.StartLine();
    };
    if (decoder_.LineInvalid() || overlong_) {
        Complain(lineNumber_, decoder_.LineInvalid() ? texts_.invalidBytes : texts_.lineTooLong,
                 {batch_.name, Decimal(lineNumber_)});
        text.resize(recordStart_);
        return nextLine();
    }
    const std::u16string_view line(text.data() + lineStart_, text.size() - lineStart_);
    if (form_ == SourceForm::Automatic && !IsCommentOrBlank(line)) {
        Decide(line);
        batch_.form = form_;
        batch_.table = table_;
        if (form_ != SourceForm::Tagged) {
            // What came before was comments and blank lines, and a header is no star.
            text.erase(0, lineStart_);
            batch_.lines.clear();
            lineStart_ = recordStart_ = 0;
            if (form_ == SourceForm::Table) {
                unitsLines_ = 2;
                text.clear();
                return nextLine();
            }
        }
    } else if (form_ == SourceForm::Table && !table_) {
        // A table named by the user: its header is its first line that is no comment.
        if (!IsCommentOrBlank(line)) {
            if (auto table = TableHeaderOf(line)) {
                table_ = std::make_shared<const TableLayout>(std::move(*table));
                batch_.table = table_;
                unitsLines_ = 2;
            }
        }
        text.resize(recordStart_);
        return nextLine();
    }
    if (form_ == SourceForm::Table) {
        if (table_->quoted && !last &&
            EndsInsideQuotes(std::u16string_view(text).substr(recordStart_))) {
            // A quoted cell goes on in the next line, with the line break in it.
            text += u'\n';
            lineStart_ = text.size();
            decoder_.StartLine();
            return;
        }
    }
    TakeRecord(recordStart_, text.size());
    nextLine();
}

void CsvConverter::TakeRecord(std::size_t begin, std::size_t end) {
    std::u16string& text = batch_.text;
    const std::u16string_view record(text.data() + begin, end - begin);
    if (form_ != SourceForm::Automatic && form_ != SourceForm::Tagged) {
        bool star = !IsCommentOrBlank(record);
        if (star && form_ == SourceForm::Table && unitsLines_ > 0) {
            if (IsUnitsOrDashes(record, *table_)) {
                --unitsLines_;
                star = false;
            } else {
                unitsLines_ = 0;
            }
        }
        if (!star) {
            text.resize(begin);
            return;
        }
    }
    batch_.lines.push_back({recordNumber_, begin, end});
    // Until its form is known, a source's lines wait in the batch: the form decides what they are.
    if (form_ == SourceForm::Automatic &&
        (batch_.lines.size() == kLinesAtOnce || text.size() >= kUnitsAtOnce)) {
        form_ = batch_.form = SourceForm::Tagged;
    }
    if (form_ != SourceForm::Automatic && BatchFull()) WriteRows();
}

bool CsvConverter::BatchFull(std::size_t pendingBytes) const {
    return batch_.lines.size() == kLinesAtOnce ||
           batch_.text.size() + batch_.bytes.size() + pendingBytes >= kUnitsAtOnce;
}

// A batch that two threads convert at once: each takes the next group of lines that is left,
// and the rows keep the batch's order.
struct CsvConverter::Converting {
    static constexpr std::size_t kGroup = 256;

    // Takes the lines to convert, and gives back the storage of those before, for new lines to
    // go into: memory that is used again needs no new pages from the system.
    Batch Take(Batch lines) {
        std::swap(batch, lines);
        rows.resize((batch.lines.size() + kGroup - 1) / kGroup);
        next = 0;
        lines.text.clear();
        lines.bytes.clear();
        lines.lines.clear();
        lines.notes.clear();
        return lines;
    }

    void Work() {
        for (std::size_t group = next++; group < rows.size(); group = next++) {
            Rows(batch, group * kGroup, std::min((group + 1) * kGroup, batch.lines.size()),
                 rows[group]);
        }
    }

    Batch batch;
    std::vector<GroupRows> rows;  // a group's each
    std::atomic<std::size_t> next{0};
};

// A thread that helps with each batch, from the first to the converter's end: one thread for
// all of them, not one for each.
class CsvConverter::Helper {
public:
    Helper() : thread_([this] { Run(); }) {}
    ~Helper() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }
    Helper(const Helper&) = delete;
    Helper& operator=(const Helper&) = delete;

    void Start(std::shared_ptr<Converting> work) {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            work_ = std::move(work);
            taken_ = false;
        }
        wake_.notify_one();
    }
    // Once the caller has done what was left: work that the thread has not begun is taken back,
    // and work it has begun is waited for. What it threw is thrown here.
    void Finish() {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!taken_) work_.reset();
        done_.wait(lock, [this] { return !work_; });
        if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
    }

private:
    void Run() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stopping_ || (work_ && !taken_); });
            if (stopping_) return;
            taken_ = true;
            const std::shared_ptr<Converting> work = work_;
            lock.unlock();
            try {
                work->Work();
            } catch (...) {
                lock.lock();
                failure_ = std::current_exception();
                lock.unlock();
            }
            lock.lock();
            work_.reset();
            done_.notify_one();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_, done_;
    std::shared_ptr<Converting> work_;  // until it is done
    bool taken_ = false;                // the thread has begun the work
    bool stopping_ = false;
    std::exception_ptr failure_;
    std::thread thread_;  // last: it starts once the rest is there
};

void CsvConverter::WriteRows() {
    const std::shared_ptr<Converting> before = FinishConverting();
    converting_ = spare_ ? std::move(spare_) : std::make_shared<Converting>();
    Batch storage = converting_->Take(std::move(batch_));
    const Batch& sent = converting_->batch;
    batch_ = Batch{sent.quotedName,
                   sent.name,
                   sent.form,
                   sent.table,
                   sent.texts,
                   sent.selection,
                   std::move(storage.text),
                   std::move(storage.bytes),
                   std::move(storage.lines),
                   std::move(storage.notes)};
    // Room for a batch and the line that ends it, so that decoding never moves the text.
    batch_.text.reserve(kUnitsAtOnce + 4096);
    batch_.bytes.reserve(kUnitsAtOnce);
    // Another thread starts on it while this one writes the rows before and decodes the next
    // lines, then helps.
    if (kThreads && std::thread::hardware_concurrency() > 1) {
        if (!helper_) helper_ = std::make_unique<Helper>();
        helper_->Start(converting_);
    }
    if (before) {
        Deliver(*before);
        spare_ = before;
    }
}

void CsvConverter::CollectRows() {
    if (const std::shared_ptr<Converting> before = FinishConverting()) {
        Deliver(*before);
        spare_ = before;
    }
}

std::shared_ptr<CsvConverter::Converting> CsvConverter::FinishConverting() {
    if (!converting_) return nullptr;
    converting_->Work();
    if (helper_) helper_->Finish();
    return std::move(converting_);
}

void CsvConverter::Deliver(const Converting& converted) {
    // The rows' messages and the reading's notes, merged by line.
    const std::vector<Message>& notes = converted.batch.notes;
    auto note = notes.begin();
    const auto notesUpTo = [&](std::uint64_t line) {
        for (; note != notes.end() && note->line <= line; ++note) report_(note->text);
    };
    for (const GroupRows& group : converted.rows) {
        for (const Message& message : group.messages) {
            notesUpTo(message.line);
            report_(message.text);
        }
        if (group.invalid) inputFailed_ = true;
        stars_ += group.stars;
        lacking_ += group.lacking;
        tagFound_ = tagFound_ || group.tagFound;
        read_ += group.stars;
        positioned_ += group.positioned;
        within_ += group.within;
        usable_ += group.usable;
        if (options_.selection.field) {
            // Held until every source is read, when they are sorted.
            const std::string_view text = group.rows.View();
            for (const HeldRow& row : group.held) {
                held_.push_back(
                    {row.key, heldText_.size() + row.begin, heldText_.size() + row.end});
            }
            heldText_.append(text.substr(0, group.held.empty() ? 0 : group.held.back().end));
        } else {
            Emit(group.rows.View());
        }
    }
    notesUpTo(kAfterLines);
}

void CsvConverter::Emit(std::string_view text) {
    if (!outputFailed_ && !text.empty() && !write_(text)) outputFailed_ = true;
}
