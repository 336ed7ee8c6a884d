// A field read by Tycho-2's own index: where the index is, which records of which sources the
// field needs by it, and those records read and checked against it before any row is made.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ConvertStreams.h"
#include "Selection.h"
#include "Texts.h"

struct IndexedSources {
    // The sources that are the index itself, which give no rows.
    std::vector<bool> isIndex;
    // A run of a source's records as read, after the lines before it.
    struct Run {
        std::uint64_t linesBefore = 0;
        std::string bytes;
    };
    // For each source read by the index, its runs in order, none where the field needs nothing
    // of it; nothing for a source read whole.
    std::vector<std::optional<std::vector<Run>>> runs;
    // What to tell of the index, in UTF-8: how much of the catalogue it spares, why it was not
    // used, or nothing where there is none.
    std::string note;
};

// Under --near, finds the index among the sources or beside Tycho-2's files, and reads what the
// field needs of each file it counts. Where the index or a file does not bear out the other, no
// source is read by it, and the note says why. Standard input is never looked at.
IndexedSources ReadByIndex(const std::vector<std::string>& sources, const std::vector<bool>& isList,
                           const Selection& selection, const Texts& texts, ConvertStreams& streams);
