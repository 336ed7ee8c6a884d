// The variables of a list, read from its cells: where each lies and what it is called, with the
// messages about positions that are none; under --near only those that can lie at a star of
// the field.
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "FieldPlacement.h"
#include "KnownVariables.h"
#include "StarRows.h"
#include "Utf.h"

namespace {

// Whether a list's line of ASCII without quotes lies, beyond doubt, farther north or south than
// `reach` of the field's centre, as PlaceInField would find on its rough reading: such a variable
// is only counted, as reading its cells would count it.
bool FarOutsideList(const TableLayout& layout, std::string_view line, const NearField& reach,
                    GroupRows& group) {
    const char separator = static_cast<char>(layout.separator);
    std::string_view dec, ra, flag;
    std::size_t lastColumn = std::max(layout.dec, layout.ra);
    if (layout.varFlag != TableLayout::kNone) lastColumn = std::max(lastColumn, layout.varFlag);
    for (std::size_t column = 0, begin = 0;; ++column) {
        const std::size_t end = std::min(line.find(separator, begin), line.size());
        if (column == layout.dec) dec = Trimmed(line.substr(begin, end - begin));
        if (column == layout.ra) ra = Trimmed(line.substr(begin, end - begin));
        if (column == layout.varFlag) flag = Trimmed(line.substr(begin, end - begin));
        if (end == line.size() || column == lastColumn) break;
        begin = end + 1;
    }
    const std::optional<double> rough = RoughDegrees(dec);
    if (!rough || std::fabs(*rough) > 90.0 ||
        std::fabs(*rough - reach.centre.dec) <= reach.radius + 1e-9) {
        return false;
    }
    if (flag != "2") {
        ++group.stars;
        if (!ra.empty()) ++group.positioned;
    }
    return true;
}

}  // namespace

void ListRows(const SourceBatch& batch, std::size_t firstLine, std::size_t lastLine,
              GroupRows& group) {
    const TableLayout& layout = *batch.table;
    const std::u16string_view raName = layout.names[layout.ra], decName = layout.names[layout.dec];
    // A variable just outside the field still marks a star just inside it.
    std::optional<NearField> reach = batch.selection->field;
    if (reach) reach->radius += KnownVariables::kMatchArcsec / 3600.0;
    std::vector<Cell> cells;
    std::u16string storage[4], widened, label;
    const std::u16string_view text = batch.text;
    for (std::size_t i = firstLine; i < lastLine; ++i) {
        const SourceBatch::Line& line = batch.lines[i];
        std::u16string_view row;
        if (!line.narrow) {
            row = text.substr(line.begin, line.end - line.begin);
        } else {
            // A line of ASCII alone, most often far outside the field: told from its bytes.
            const std::string_view bytes =
                std::string_view(batch.bytes).substr(line.begin, line.end - line.begin);
            if (reach && FarOutsideList(layout, bytes, *reach, group)) continue;
            widened.assign(bytes.begin(), bytes.end());
            row = widened;
        }
        SplitCells(row, layout, cells);
        const auto cell = [&](std::size_t column, std::u16string& kept) {
            if (column >= cells.size()) return std::u16string_view();
            if (!cells[column].quoted) return cells[column].text;
            kept = CellText(cells[column]);
            return std::u16string_view(kept);
        };
        const std::u16string_view ra = cell(layout.ra, storage[0]);
        const std::u16string_view dec = cell(layout.dec, storage[1]);
        // What VSX lists as constant or non-existent is no known variable.
        if (cell(layout.varFlag, storage[2]) == u"2") continue;
        ++group.stars;
        const auto complain = [&](std::u16string_view column, std::u16string_view value) {
            group.messages.push_back(
                {line.number,
                 Utf8FromUtf16(Substitute(batch.texts->invalidPosition,
                                          {batch.name, Decimal(line.number), column, value}))});
            group.invalid = true;
        };
        SkyPosition position;
        if (reach) {
            const std::optional<InField> placed =
                PlaceInField(*reach, ra, dec, raName, decName, group.positioned, complain);
            if (!placed) continue;
            position = placed->position;
        } else {
            if (ra.empty() && dec.empty()) continue;
            const std::optional<double> raDegrees = ReadCellRightAscension(ra);
            const std::optional<double> decDegrees = ReadCellDeclination(dec);
            if (!raDegrees) complain(raName, ra);
            if (!decDegrees) complain(decName, dec);
            if (!raDegrees || !decDegrees) continue;
            ++group.positioned;
            position = {*raDegrees, *decDegrees};
        }
        label = cell(layout.name, storage[2]);
        const std::u16string_view type = cell(layout.type, storage[3]);
        if (!type.empty()) {
            if (!label.empty()) label += u' ';
            label += type;
        }
        const std::size_t begin = group.labels.size();
        group.labels += Utf8FromUtf16(label);
        group.listed.push_back({position, begin, group.labels.size()});
    }
}
