// What a source says of a star that rules it out as a comparison star: a neighbour or companion,
// or variability, read from the flags of Tycho-2's and Hipparcos' files and tables.
#pragma once

#include <string_view>

// A star's flags as their cells stand, without their padding blanks; empty where the source has
// no such flag.
template <typename Char>
struct FlagCells {
    using View = std::basic_string_view<Char>;
    View prox;      // Tycho-2: distance to the nearest neighbour, in 0.1 arcsec
    View posflg;    // Tycho-2: D or P where the position is a double's
    View pflag;     // Tycho-2: P where the mean position is a photocentre of two
    View ccdm;      // both: the star's component in the CCDM catalogue of doubles
    View proxy;     // Hipparcos: H or T where another star is within 10 arcsec
    View multFlag;  // Hipparcos: any of C, G, O, V, X for a double or multiple solution
    View varFlag;   // Hipparcos: 2 or 3 for variability above 0.06 mag
    View hvarType;  // Hipparcos: D for a duplicity-induced variable; M, P, U for variables
};

struct StarFlags {
    bool companion = false;  // "double"
    bool variable = false;
    bool Any() const { return companion || variable; }
};

// A neighbour within 10 arcsec (prox below 100), a double's position (posflg D or P), a
// photocentre (pflag P), a CCDM component, a Hipparcos proximity flag (H or T), a multiple
// solution or a duplicity-induced variable make a double; a variability flag of 2 or 3 or a
// variability type of M, P or U a variable.
template <typename Char>
StarFlags FlagsOf(const FlagCells<Char>& cells);
