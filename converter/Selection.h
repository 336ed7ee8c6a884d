// Which stars a conversion keeps and how it judges them as comparison stars: the field around a
// position, the ranges of V and B − V, only the usable ones, and the largest V uncertainty that
// still serves; read from the options as a user wrote them.
#pragma once

#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "KnownVariables.h"
#include "ProperMotion.h"
#include "SkyPosition.h"
#include "Texts.h"

// An inclusive range, either end of which may be open.
struct Range {
    std::optional<double> low, high;
    bool Limits() const { return low || high; }
    bool Holds(double value) const { return (!low || value >= *low) && (!high || value <= *high); }
};

// The stars within `radius` degrees of a position, and what the summary calls them.
struct NearField {
    SkyPosition centre;
    double radius = 1.0;
    std::u16string centreText;  // as PositionText writes it
    std::u16string radiusText;  // in the unit the user gave: "1°", "30′", "90″"
};

// What standard output holds: the table, or a list that a photometry program reads.
enum class OutputForm { Csv, AstroImageJ, Siril };

// The stars like the target, by V and B − V as the rows show them: within these of the target's.
struct Likeness {
    double V = 0.0;
    double BMinusV = 0.0;
};

struct Selection {
    std::optional<NearField> field;  // --near
    Range V, BMinusV;
    bool usableOnly = false;
    std::optional<Likeness> like;         // --like
    OutputForm output = OutputForm::Csv;  // --to
    // --epoch: the Julian year to which positions are moved by their proper motion, as typed.
    std::optional<double> epoch;
    std::string epochText;
    bool chart = false;  // --chart: a finder chart is drawn of the stars kept

    // How far, in degrees, a star whose position is of `positionEpoch` may have moved by the
    // epoch of --epoch: 0 without it.
    double Reach(double positionEpoch) const {
        return epoch ? std::fabs(*epoch - positionEpoch) * kFastestDegreesPerYear : 0.0;
    }
    // A star whose V is less certain than this is no comparison star.
    double largestError = 0.05;
    // The known variables of the lists given, which are no comparison stars; none where no list
    // was given, when variability goes unchecked.
    std::shared_ptr<const KnownVariables> variables;
};

// The options as the user wrote them, each where it was given.
struct SelectionWords {
    std::optional<std::string> position, radius, V, BMinusV, largestError;  // position: --near
    std::optional<std::string> like, to, epoch, chart;
    bool usable = false;
};

// Reads the options into `selection`; the usage error to show when one is wrong, which names the
// option.
std::optional<std::u16string> ReadSelection(const SelectionWords& words, const Texts& texts,
                                            Selection& selection);
