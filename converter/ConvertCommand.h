// "--convert": the converter as a command, over what the platform gives to read and write files.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ConvertStreams.h"
#include "CsvConverter.h"
#include "Texts.h"

// Converts the sources in turn, standard input when there are none, and writes the table to
// standard output. Returns the exit status: 0 when every source was read and decoded, also when
// the reader of the output went away early; 1 when anything could not be read, decoded or written.
int RunConvert(const std::vector<std::string>& sources, CsvConverter::Options options,
               const Texts& texts, ConvertStreams& streams);
