// The known variable stars of lists such as VSX and the GCVS, kept by position so that each star
// of a catalogue finds at once whether a listed variable lies within the matching radius.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "SkyGeometry.h"

class KnownVariables {
public:
    // A listed variable this close to a star's position makes it a known variable; both
    // positions are J2000. Tycho-2 resolves pairs down to about 0.8″, and lists give positions
    // to about a second of arc: 10″ takes the star and not its neighbours.
    static constexpr double kMatchArcsec = 10.0;
    // A label is kept to this many bytes, cut at a character's start.
    static constexpr std::size_t kLongestLabel = 255;

    // Adds a variable at `position` called `label`, its name and type as the list gives them
    // ("del Cep DCEP"), in UTF-8.
    void Add(const SkyPosition& position, std::string_view label);
    // Makes what was added since the last call ready for Match.
    void Seal();
    std::size_t Size() const { return entries_.size(); }

    // The label of the nearest listed variable within kMatchArcsec of `star`; nothing where none
    // is. Only what was sealed is matched; from any thread, once no more are added.
    std::optional<std::string_view> Match(const SkyPosition& star) const;

private:
    // A position in milliarcseconds, 0 ≤ ra < 1,296,000,000 and |dec| ≤ 324,000,000, within
    // 0.5 mas of the list's; the label by where it begins in the labels' blocks.
    struct Entry {
        std::int32_t decMas;
        std::uint32_t raMas;
        std::uint32_t label;
    };
    // Zones of declination, each sorted by right ascension.
    static constexpr std::int32_t kZoneMas = 60 * 1000;
    static constexpr std::size_t kZones = 180 * 60 + 1;
    static std::size_t ZoneOf(std::int32_t decMas);
    std::string_view LabelAt(std::uint32_t at) const;

    // What was added is kept in blocks, so that a list of millions grows, and is sorted, without
    // ever being copied whole: one copy would take as much memory again.
    static constexpr std::size_t kBlockBytes = std::size_t(1) << 20;
    std::deque<Entry> entries_;
    std::size_t sealed_ = 0;  // the entries that Match looks in
    std::vector<std::unique_ptr<char[]>> labelBlocks_;
    std::size_t labelUsed_ = kBlockBytes;    // in the last block: none yet
    std::vector<std::uint32_t> zoneStarts_;  // kZones + 1 once sealed
};
