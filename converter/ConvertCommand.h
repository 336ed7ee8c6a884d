// "--convert": the converter as a command, over what the platform gives to read and write files.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ConvertStreams.h"
#include "CsvConverter.h"
#include "Texts.h"

// What a field's conversion gives beside its table, for the windows: the finder chart, as
// --chart writes it where asked for, and the photometry programs' lists, as --to writes them.
struct FieldOutputs {
    std::string chart, astroImageJ, siril;
};

// Converts the sources in turn, standard input when there are none, and writes the table to
// standard output. Returns the exit status: 0 when every source was read and decoded, also when
// the reader of the output went away early; 1 when anything could not be read, decoded or written;
// 2 when the options asked for what the sources cannot give. Under --near, `outputs` is given the
// field's chart and lists.
int RunConvert(const std::vector<std::string>& sources, CsvConverter::Options options,
               const Texts& texts, ConvertStreams& streams, FieldOutputs* outputs = nullptr);
