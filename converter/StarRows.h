// The rows of each form of source, tagged text, tables and catalogue records, written from a
// batch's lines in groups: every column of a star, the messages about its cells, and under --near
// only the stars in the field, with where each row lies so that they can be sorted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FieldStar.h"
#include "RowText.h"
#include "SkyGeometry.h"
#include "SourceBatch.h"

// A row kept under --near, to be written nearest first: its separation as shown, in thousandths
// of an arcminute, and where its text lies.
struct HeldRow {
    std::uint64_t key = 0;
    std::size_t begin = 0;
    std::size_t end = 0;
};

// A variable of a list as read, to be added to the known ones: where it lies, and where its name
// and type, in UTF-8, lie in the group's labels.
struct ListedVariable {
    SkyPosition position;
    std::size_t begin = 0, end = 0;
};

// What a group of a batch's lines gives: its rows, its messages in order, and what it counted.
struct GroupRows {
    RowText rows;
    std::vector<LineMessage> messages;
    std::uint64_t stars = 0;
    std::uint64_t lacking = 0;  // stars without BT or without VT
    bool tagFound = false;
    bool invalid = false;
    // Under --near: the rows kept, where they lie in `rows`, and what was counted of the field.
    std::vector<HeldRow> held;
    std::vector<FieldStar> fieldStars;  // each held row's star
    std::uint64_t positioned = 0;       // stars with a position
    // A list of variables gives no rows but these; under --near, only those near the field.
    std::vector<ListedVariable> listed;
    std::string labels;
};

// The header row, which names every column.
std::string_view HeaderRow();

// The rows for the lines of a batch from `firstLine` to `lastLine`, into a group whose storage may
// be that of a group before.
void Rows(const SourceBatch& batch, std::size_t firstLine, std::size_t lastLine, GroupRows& group);

// The variables of a list in the lines of a batch from `firstLine` to `lastLine`, as Rows gives
// rows.
void ListRows(const SourceBatch& batch, std::size_t firstLine, std::size_t lastLine,
              GroupRows& group);

// A count as messages write it.
std::u16string Decimal(std::uint64_t number);
