// Lines of one source gathered to be converted together, and the messages about them: what the
// reading of a source hands to the writing of its rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Catalogue.h"
#include "Selection.h"
#include "Texts.h"

// A message for the user about a line, which goes out in the order of the lines.
struct LineMessage {
    std::uint64_t line = 0;  // kAfterLines for what follows every line, as a stream's damage
    std::string text;
    static constexpr std::uint64_t kAfterLines = std::uint64_t(-1);
};

// Lines of one source gathered to be converted together: their text, and where each line
// lies in it.
struct SourceBatch {
    struct Line {
        std::uint64_t number = 0;
        std::size_t begin = 0;
        std::size_t end = 0;
        bool narrow = false;  // in `bytes`, not in `text`
    };
    std::string quotedName;  // the source, as the first column of a row
    std::u16string name;     // the source, for messages
    SourceForm form = SourceForm::Tagged;
    std::shared_ptr<const TableLayout> table;
    const Texts* texts = nullptr;
    const Selection* selection = nullptr;
    std::u16string text;
    // A catalogue's records of ASCII alone, as the bytes they are, so that the most common
    // lines of the largest sources need no decoding.
    std::string bytes;
    std::vector<Line> lines;
    // What reading the lines found wrong with those that give no row, in their order.
    std::vector<LineMessage> notes;
};
