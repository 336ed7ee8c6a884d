// Every column of a star's row, from tagged text, a table's cells or a catalogue's record, with
// the messages about cells that are no numbers and, under --near, the stars in the field alone.
#include "StarRows.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>

#include "FieldPlacement.h"
#include "ProperMotion.h"
#include "RelationScatter.h"
#include "ShownValues.h"
#include "StarFlags.h"
#include "Utf.h"
#include "tychobvr/conversion.h"

namespace {

// The first fourteen columns stay as they were before tables and catalogues were read, so that
// what users wrote for them keeps working; the rest are empty for tagged text.
constexpr std::string_view kHeader =
    "source,line,BT,VT,B,V,R,BT_VT,extrapolated,faint,bessell_V,bessell_B_V,henden_R,henden_I,"
    "id,ra,dec,e_BT,e_VT,e_B,e_V,e_R,e_B_V,u_B,u_V,u_R,u_B_V,sep,pa,usable,why,known_variable\n";
// From id to u_B_V, and sep and pa.
constexpr std::string_view kNoStarColumns = ",,,,,,,,,,,,,,,";
constexpr std::string_view kNoShownColumns = ",,,,,,,,,,";
constexpr std::string_view kNoErrorColumns = ",,,,";

// The words of `why`, in their order.
enum Doubt : unsigned {
    kTarget = 1u << 0,
    kNoBtVt = 1u << 1,
    kExtrapolated = 1u << 2,
    kFaint = 1u << 3,
    kUncertain = 1u << 4,
    kDouble = 1u << 5,
    kVariable = 1u << 6,
};
constexpr std::string_view kDoubtWords[] = {"target",    "no-bt-vt", "extrapolated", "faint",
                                            "uncertain", "double",   "variable"};

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

std::u16string Ascii(std::string_view text) { return std::u16string(text.begin(), text.end()); }

}  // namespace

std::u16string Decimal(std::uint64_t number) {
    std::array<char, 20> digits;
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), number);
    return Ascii(
        std::string_view(digits.data(), static_cast<std::size_t>(result.ptr - digits.data())));
}

namespace {

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

void TaggedRows(const SourceBatch& batch, std::size_t firstLine, std::size_t lastLine,
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
        out.Text(",\n");
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
    View pmRA, pmDE;  // mas a year, of the position at positionEpoch
    double positionEpoch = 2000.0;
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

// The star's position moved by its proper motion to the epoch of --epoch; nothing where it has
// no proper motion, and keeps the position it has.
template <typename Char>
std::optional<SkyPosition> MovedToEpoch(const Selection& selection, const StarCells<Char>& cells,
                                        const SkyPosition& position) {
    if (!selection.epoch || cells.pmRA.empty() || cells.pmDE.empty()) return std::nullopt;
    ShortestText unused;
    const std::optional<double> pmRA = ReadCellNumber(cells.pmRA, unused);
    const std::optional<double> pmDE = ReadCellNumber(cells.pmDE, unused);
    if (!pmRA || !pmDE) return std::nullopt;
    return AtEpoch(position, {*pmRA, *pmDE, cells.positionEpoch}, *selection.epoch);
}

// Counts a star, of which only its BT, VT, Hp flag and position need be known yet, and under
// --near places it in the field: false when it gives no row.
template <typename Char>
bool CountAndPlace(const SourceBatch& batch, std::uint64_t lineNumber, const StarCells<Char>& cells,
                   GroupRows& group, std::optional<InField>& placed) {
    ++group.stars;
    if (cells.hp || cells.BT.empty() || cells.VT.empty()) ++group.lacking;
    const Selection& selection = *batch.selection;
    if (!selection.field) return true;
    placed = PlaceInField(
        *selection.field, cells.ra, cells.dec, cells.names->ra, cells.names->dec, group.positioned,
        [&](std::u16string_view column, std::basic_string_view<Char> cell) {
            group.messages.push_back(
                {lineNumber, Utf8FromUtf16(Substitute(
                                 batch.texts->invalidPosition,
                                 {batch.name, Decimal(lineNumber), column, Units(cell)}))});
            group.invalid = true;
        },
        selection.Reach(cells.positionEpoch),
        [&](const SkyPosition& position) { return MovedToEpoch(selection, cells, position); });
    return placed.has_value();
}

// A field as RFC 4180 quotes it, unquoted.
std::string UnquotedField(std::string_view field) {
    if (field.size() < 2 || field.front() != '"') return std::string(field);
    std::string text;
    for (std::size_t i = 1; i + 1 < field.size(); ++i) {
        text += field[i];
        if (field[i] == '"') ++i;
    }
    return text;
}

// The label of the listed variable at the star's position, where lists were given: the
// position as placed in the field, or else as its cells give it.
template <typename Char>
std::optional<std::string_view> KnownVariableAt(const Selection& selection,
                                                const StarCells<Char>& cells,
                                                const std::optional<InField>& placed) {
    if (!selection.variables) return std::nullopt;
    if (placed) return selection.variables->Match(placed->catalogue);
    const std::optional<double> ra = ReadCellRightAscension(cells.ra);
    const std::optional<double> dec = ReadCellDeclination(cells.dec);
    if (!ra || !dec) return std::nullopt;
    return selection.variables->Match({*ra, *dec});
}

// Writes a star's row; its cells that are neither blank nor numbers are named in messages.
template <typename Char>
void StarRow(const SourceBatch& batch, std::uint64_t lineNumber, const StarCells<Char>& cells,
             const std::optional<InField>& placed, GroupRows& group, RowWriter& out) {
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
        double value;
        if (!ReadCellNumber(cell, value, shortest)) {
            complain(texts.invalidCell, column, cell);
            return std::optional<double>();
        }
        return std::optional<double>(value);
    };
    // Whether a cell holds a whole number; one that holds something else is complained about.
    const auto integer = [&](View cell, std::u16string_view column) {
        if (cell.empty()) return false;
        const bool whole = IsCellInteger(cell);
        if (!whole) complain(texts.invalidCell, column, cell);
        return whole;
    };
    std::optional<double> BT, VT, errorBT, errorVT;
    ShortestText BTText, VTText, errorBTText, errorVTText;
    if (!cells.hp) {
        BT = number(cells.BT, cells.names->BT, BTText);
        VT = number(cells.VT, cells.names->VT, VTText);
        errorBT = number(cells.errorBT, cells.names->errorBT, errorBTText);
        errorVT = number(cells.errorVT, cells.names->errorVT, errorVTText);
    }
    bool tycho[3] = {false, false, false}, hip = false;
    const bool hasTycho =
        !cells.tycho[0].empty() || !cells.tycho[1].empty() || !cells.tycho[2].empty();
    if (hasTycho) {
        for (std::size_t i = 0; i < 3; ++i)
            tycho[i] = integer(cells.tycho[i], cells.names->tycho[i]);
    } else if (!cells.hip.empty()) {
        hip = integer(cells.hip, cells.names->hip);
    }

    // The star's shown values, where it has them: built where they stay, not copied into an
    // optional, which cost a stall for each star.
    ShownValues values;
    const ShownValues* shown = nullptr;
    if (BT && VT && !invalid) {
        values = ValuesFor({*BT, *VT});
        if (AllFinite(values)) {
            shown = &values;
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
    const std::optional<std::string_view> known = KnownVariableAt(selection, cells, placed);
    if (known) doubts |= kVariable;
    // The star at the position is the one to be measured, never a comparison star.
    if (placed && placed->separation <= KnownVariables::kMatchArcsec / 60.0) doubts |= kTarget;

    if (selection.field) {
        const bool inRanges =
            (!selection.V.Limits() ||
             (shown && selection.V.Holds(static_cast<double>(ShownUnits(shown->line.V)) / 1000))) &&
            (!selection.BMinusV.Limits() ||
             (shown && selection.BMinusV.Holds(
                           static_cast<double>(ShownUnits(shown->line.B - shown->line.V)) / 1000)));
        if (!inRanges) return;
        // Every star of the field is held, the unusable ones too: what --like and the lists keep
        // is known only once the target's row is read.
        group.held.push_back(
            {static_cast<std::uint64_t>(ShownUnits(placed->separation)), out.Size(), 0});
        FieldStar star;
        star.position = placed->position;
        if (VT) star.VT = ShownUnits(*VT);
        if (shown) {
            star.V = ShownUnits(shown->line.V);
            star.BMinusV = ShownUnits(shown->line.B - shown->line.V);
        }
        star.usable = doubts == 0;
        star.target = (doubts & kTarget) != 0;
        star.companion = flags.companion;
        if (known) star.variable = *known;
        group.fieldStars.push_back(std::move(star));
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
    const std::size_t idBegin = out.Size();
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
    if (selection.field) group.fieldStars.back().id = UnquotedField(out.Since(idBegin));
    out.Char(',');
    // Where --epoch moved the star, its position at that epoch, in degrees.
    std::optional<SkyPosition> moved;
    if (placed && placed->moved) {
        moved = placed->position;
    } else if (!placed && selection.epoch) {
        const std::optional<double> ra = ReadCellRightAscension(cells.ra);
        const std::optional<double> dec = ReadCellDeclination(cells.dec);
        if (ra && dec) moved = MovedToEpoch(selection, cells, {*ra, *dec});
    }
    if (moved) {
        out.Fixed(moved->ra, 8);
        out.Char(',');
        out.Fixed(moved->dec, 8);
    } else {
        out.Field(cells.ra);
        out.Char(',');
        out.Field(cells.dec);
    }
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
    out.Char(',');
    if (known) out.Field(*known);
    out.Char('\n');
    if (placed) group.held.back().end = out.Size();
}

void TableRows(const SourceBatch& batch, std::size_t firstLine, std::size_t lastLine,
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
        const SourceBatch::Line& line = batch.lines[i];
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
        star.pmRA = view(layout.pmRA);
        star.pmDE = view(layout.pmDE);
        star.names = &names;
        std::optional<InField> placed;
        if (CountAndPlace(batch, line.number, star, group, placed)) {
            StarRow(batch, line.number, star, placed, group, out);
        }
    }
}

// `star` holds the cells of the record before, or none: every cell that the layout has is put
// in again, and those it has not stay empty. One for all the records, as clearing its cells for
// each took more than reading them.
template <typename Char>
void RecordRow(const SourceBatch& batch, const RecordLayout& layout, std::uint64_t lineNumber,
               std::basic_string_view<Char> record, StarCells<Char>& star, GroupRows& group,
               RowWriter& out) {
    const auto field = [record](const Field& at) {
        if (at.size == 0 || at.begin >= record.size()) return std::basic_string_view<Char>();
        const std::basic_string_view<Char> cell = record.substr(at.begin, at.size);
        if constexpr (sizeof(Char) == 1) {
            return TrimmedWithin(cell, record.size() - at.begin);
        } else {
            return Trimmed(cell);
        }
    };
    // What counting and placing the star need first: most stars lie outside a field of --near,
    // and nothing more of them is read.
    star.BT = field(layout.BT);
    star.VT = field(layout.VT);
    if (layout.hpFlag.size != 0) {
        const auto flag = field(layout.hpFlag);
        star.hp = flag.size() == 1 && flag.front() == Char('H');
    }
    star.ra = field(layout.ra);
    star.dec = field(layout.dec);
    // The proper motion moves a star only to the epoch of --epoch.
    if (batch.selection->epoch) {
        star.pmRA = field(layout.pmRA);
        star.pmDE = field(layout.pmDE);
    }
    star.positionEpoch = layout.positionEpoch;
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

void RecordRows(const SourceBatch& batch, std::size_t firstLine, std::size_t lastLine,
                GroupRows& group) {
    const RecordLayout& layout = LayoutOf(batch.form);
    const std::u16string_view text = batch.text;
    const std::string_view bytes = batch.bytes;
    RowWriter out(group.rows);
    StarCells<char> narrow;
    StarCells<char16_t> wide;
    for (std::size_t i = firstLine; i < lastLine; ++i) {
        const SourceBatch::Line& line = batch.lines[i];
        if (line.narrow) {
            RecordRow(batch, layout, line.number, bytes.substr(line.begin, line.end - line.begin),
                      narrow, group, out);
        } else {
            RecordRow(batch, layout, line.number, text.substr(line.begin, line.end - line.begin),
                      wide, group, out);
        }
    }
}

}  // namespace

std::string_view HeaderRow() { return kHeader; }

void Rows(const SourceBatch& batch, std::size_t firstLine, std::size_t lastLine, GroupRows& group) {
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
        case SourceForm::Variables:
            ListRows(batch, firstLine, lastLine, group);
            break;
    }
}
