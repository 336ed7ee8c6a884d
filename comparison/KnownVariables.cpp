// Known variables by position: zones of declination one arcminute high, each sorted by right
// ascension, so that a star's match is two binary searches in one or two zones.
#include "KnownVariables.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace {

constexpr double kMasPerDegree = 3600.0 * 1000.0;
constexpr std::int64_t kFullCircleMas = 360LL * 3600 * 1000;
constexpr std::int32_t kPoleMas = 90 * 3600 * 1000;

// The label's bytes, cut at the last character that begins within the limit.
std::string_view Kept(std::string_view label, std::size_t limit) {
    if (label.size() <= limit) return label;
    std::size_t size = limit;
    while (size > 0 && (static_cast<unsigned char>(label[size]) & 0xC0) == 0x80) --size;
    return label.substr(0, size);
}

}  // namespace

std::size_t KnownVariables::ZoneOf(std::int32_t decMas) {
    return static_cast<std::size_t>((decMas + kPoleMas) / kZoneMas);
}

void KnownVariables::Add(const SkyPosition& position, std::string_view label) {
    label = Kept(label, kLongestLabel);
    if (labelUsed_ + 1 + label.size() > kBlockBytes) {
        labelBlocks_.push_back(std::make_unique<char[]>(kBlockBytes));
        labelUsed_ = 0;
    }
    const std::size_t at = (labelBlocks_.size() - 1) * kBlockBytes + labelUsed_;
    char* const block = labelBlocks_.back().get();
    block[labelUsed_] = static_cast<char>(label.size());
    std::memcpy(block + labelUsed_ + 1, label.data(), label.size());
    labelUsed_ += 1 + label.size();

    double ra = std::fmod(position.ra, 360.0);
    if (ra < 0.0) ra += 360.0;
    auto raMas = static_cast<std::int64_t>(std::llround(ra * kMasPerDegree));
    if (raMas >= kFullCircleMas) raMas -= kFullCircleMas;
    const auto decMas = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(std::llround(position.dec * kMasPerDegree), -kPoleMas, kPoleMas));
    entries_.push_back({decMas, static_cast<std::uint32_t>(raMas), static_cast<std::uint32_t>(at)});
}

void KnownVariables::Seal() {
    if (sealed_ == entries_.size() && !zoneStarts_.empty()) return;
    sealed_ = entries_.size();
    std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
        const std::size_t zoneA = ZoneOf(a.decMas), zoneB = ZoneOf(b.decMas);
        return zoneA != zoneB ? zoneA < zoneB : a.raMas < b.raMas;
    });
    zoneStarts_.assign(kZones + 1, 0);
    std::size_t at = 0;
    for (std::size_t zone = 0; zone <= kZones; ++zone) {
        while (at < entries_.size() && ZoneOf(entries_[at].decMas) < zone) ++at;
        zoneStarts_[zone] = static_cast<std::uint32_t>(at);
    }
}

std::string_view KnownVariables::LabelAt(std::uint32_t at) const {
    const char* const bytes = labelBlocks_[at / kBlockBytes].get() + at % kBlockBytes;
    return {bytes + 1, static_cast<unsigned char>(bytes[0])};
}

std::optional<std::string_view> KnownVariables::Match(const SkyPosition& star) const {
    if (sealed_ == 0) return std::nullopt;
    const double radius = kMatchArcsec / 3600.0;
    const double south = std::max(star.dec - radius, -90.0);
    const double north = std::min(star.dec + radius, 90.0);
    // The right ascensions that the circle spans, in the widest of its declinations; all of them
    // where it holds a pole or comes near one.
    const double widest = std::max(std::fabs(south), std::fabs(north));
    const double cosine = std::cos(widest * std::numbers::pi / 180.0);
    const bool allAround = cosine * 180.0 <= radius;
    const auto halfWidthMas =
        allAround ? kFullCircleMas : std::llround(radius / cosine * kMasPerDegree) + 1;
    auto starRa = std::llround(std::fmod(star.ra, 360.0) * kMasPerDegree);
    if (starRa < 0) starRa += kFullCircleMas;

    std::optional<std::string_view> nearest;
    double nearestDegrees = radius;
    const auto look = [&](std::size_t zone, std::int64_t low, std::int64_t high) {
        const auto first = entries_.begin() + static_cast<std::ptrdiff_t>(zoneStarts_[zone]);
        const auto last = entries_.begin() + static_cast<std::ptrdiff_t>(zoneStarts_[zone + 1]);
        auto from = std::lower_bound(first, last, low, [](const Entry& entry, std::int64_t ra) {
            return static_cast<std::int64_t>(entry.raMas) < ra;
        });
        for (; from != last && static_cast<std::int64_t>(from->raMas) <= high; ++from) {
            const SkyPosition listed{from->raMas / kMasPerDegree, from->decMas / kMasPerDegree};
            const double separation = SeparationDegrees(star, listed);
            if (separation <= nearestDegrees) {
                nearestDegrees = separation;
                nearest = LabelAt(from->label);
            }
        }
    };
    const std::size_t firstZone =
        ZoneOf(static_cast<std::int32_t>(std::floor(south * kMasPerDegree)));
    const std::size_t lastZone =
        ZoneOf(static_cast<std::int32_t>(std::ceil(north * kMasPerDegree)));
    for (std::size_t zone = firstZone; zone <= lastZone && zone < kZones; ++zone) {
        if (halfWidthMas * 2 >= kFullCircleMas) {
            look(zone, 0, kFullCircleMas);
            continue;
        }
        const std::int64_t low = starRa - halfWidthMas, high = starRa + halfWidthMas;
        look(zone, std::max<std::int64_t>(low, 0), std::min(high, kFullCircleMas - 1));
        // Across 0h.
        if (low < 0) look(zone, low + kFullCircleMas, kFullCircleMas - 1);
        if (high >= kFullCircleMas) look(zone, 0, high - kFullCircleMas);
    }
    return nearest;
}
