// The comparison-star dialog's fields as a user typed them, in either window: the options of
// "--convert --near" they give, or what is wrong with each, in the converter's own words.
#pragma once

#include <string>
#include <vector>

#include "CsvConverter.h"
#include "Texts.h"

struct ComparisonFields {
    std::u16string position;
    std::u16string radius = u"1";
    std::u16string like;   // ΔV:Δ(B−V); empty for none
    std::u16string epoch;  // a Julian year; empty for the catalogue's
    bool usableOnly = false;
};

// What is wrong with each field; all empty where the options are read.
struct FieldProblems {
    std::u16string position, radius, like, epoch;
    bool Any() const {
        return !position.empty() || !radius.empty() || !like.empty() || !epoch.empty();
    }
};

// The options of "--convert --near POSITION --radius R [--like L] [--epoch E] [--usable]" with a
// finder chart drawn, as the command line reads them; each field judged on its own, so that its
// problem is said beside it.
FieldProblems ReadComparisonFields(const ComparisonFields& fields, const Texts& texts,
                                   CsvConverter::Options& options);
