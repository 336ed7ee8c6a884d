// The rules by which a star's flags make it a double or a variable.
#include "StarFlags.h"

#include <type_traits>

namespace {

template <typename Char>
bool IsOneOf(std::basic_string_view<Char> cell, std::string_view letters) {
    if (cell.size() != 1) return false;
    const auto unit = static_cast<std::make_unsigned_t<Char>>(cell.front());
    return unit < 0x80 && letters.find(static_cast<char>(unit)) != std::string_view::npos;
}

// prox is a whole number of tenths of an arcsecond, 999 where no neighbour is within 99.9".
template <typename Char>
bool NeighbourWithin10Arcsec(std::basic_string_view<Char> prox) {
    if (prox.empty() || prox.size() > 6) return false;
    unsigned tenths = 0;
    for (const Char c : prox) {
        if (c < Char('0') || c > Char('9')) return false;
        tenths = tenths * 10 + static_cast<unsigned>(c - Char('0'));
    }
    return tenths < 100;
}

}  // namespace

template <typename Char>
StarFlags FlagsOf(const FlagCells<Char>& cells) {
    StarFlags flags;
    flags.companion = NeighbourWithin10Arcsec(cells.prox) || IsOneOf(cells.posflg, "DP") ||
                      IsOneOf(cells.pflag, "P") || !cells.ccdm.empty() ||
                      IsOneOf(cells.proxy, "HT") || !cells.multFlag.empty() ||
                      IsOneOf(cells.hvarType, "D");
    flags.variable = IsOneOf(cells.varFlag, "23") || IsOneOf(cells.hvarType, "MPU");
    return flags;
}

template StarFlags FlagsOf(const FlagCells<char>& cells);
template StarFlags FlagsOf(const FlagCells<char16_t>& cells);
