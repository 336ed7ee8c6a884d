// Reading the options that choose and judge comparison stars, strictly: a mistyped position or
// range is a usage error, never a field somewhere else.
#include "Selection.h"

#include <algorithm>
#include <tuple>
#include <utility>

#include "FinderChart.h"
#include "Utf.h"
#include "tychobvr/conversion.h"

namespace {

std::u16string Said(std::u16string_view text, std::string_view value,
                    std::u16string_view option = {}) {
    const std::u16string typed = Utf16FromUtf8(value);
    return option.empty() ? Substitute(text, {typed}) : Substitute(text, {option, typed});
}

// A decimal with no exponent and nothing around it.
std::optional<double> ReadPlainDecimal(std::string_view text) {
    if (text.starts_with('+')) {
        text.remove_prefix(1);
        if (text.starts_with('-')) return std::nullopt;
    }
    if (text.empty() || text.find_first_of("eE") != std::string_view::npos) return std::nullopt;
    const std::optional<double> value = conversion::ReadDecimal(text);
    if (!value || !std::isfinite(*value)) return std::nullopt;
    return value;
}

// "1", "1.5deg", "30arcmin", "90arcsec": degrees, with the text the summary shows.
std::optional<std::pair<double, std::u16string>> ReadRadius(std::string_view text) {
    struct Unit {
        std::string_view suffix;
        double perDegree;
        std::u16string_view symbol;
    };
    static constexpr Unit kUnits[] = {
        {"arcmin", 60.0, u"′"}, {"arcsec", 3600.0, u"″"}, {"deg", 1.0, u"°"}, {"", 1.0, u"°"}};
    for (const Unit& unit : kUnits) {
        if (!text.ends_with(unit.suffix)) continue;
        const std::string_view number = text.substr(0, text.size() - unit.suffix.size());
        const std::optional<double> value = ReadPlainDecimal(number);
        if (!value) return std::nullopt;
        const double degrees = *value / unit.perDegree;
        if (!(degrees > 0.0 && degrees <= 180.0)) return std::nullopt;
        return std::pair{degrees, Utf16FromUtf8(number) + std::u16string(unit.symbol)};
    }
    return std::nullopt;
}

// "MIN:MAX", either end left out.
std::optional<Range> ReadRange(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || text.find(':', colon + 1) != std::string_view::npos) {
        return std::nullopt;
    }
    Range range;
    for (auto [part, end] : {std::pair{text.substr(0, colon), &range.low},
                             std::pair{text.substr(colon + 1), &range.high}}) {
        if (part.empty()) continue;
        *end = ReadPlainDecimal(part);
        if (!*end) return std::nullopt;
    }
    return range;
}

}  // namespace

std::optional<std::u16string> ReadSelection(const SelectionWords& words, const Texts& texts,
                                            Selection& selection) {
    selection = Selection{};
    if (words.to) {
        static constexpr std::pair<std::string_view, OutputForm> kOutputs[] = {
            {"csv", OutputForm::Csv},
            {"aij", OutputForm::AstroImageJ},
            {"siril", OutputForm::Siril}};
        const auto named =
            std::find_if(std::begin(kOutputs), std::end(kOutputs),
                         [&](const auto& output) { return output.first == *words.to; });
        if (named == std::end(kOutputs)) return Said(texts.unknownOutput, *words.to);
        selection.output = named->second;
    }
    if (!words.position) {
        const std::pair<bool, std::u16string> needing[] = {
            {words.radius.has_value(), u"--radius"},
            {words.V.has_value(), u"--v"},
            {words.BMinusV.has_value(), u"--b-v"},
            {words.usable, u"--usable"},
            {words.like.has_value(), u"--like"},
            {words.chart.has_value(), u"--chart"},
            {selection.output != OutputForm::Csv, u"--to " + Utf16FromUtf8(words.to.value_or(""))}};
        for (const auto& [given, option] : needing) {
            if (given) return Substitute(texts.needsNear, {option});
        }
    } else {
        PositionFault fault = PositionFault::None;
        const std::optional<SkyPosition> centre = ReadTypedPosition(*words.position, fault);
        if (!centre) {
            switch (fault) {
                case PositionFault::RightAscensionRange:
                    return Said(texts.rightAscensionRange, *words.position);
                case PositionFault::DeclinationRange:
                    return Said(texts.declinationRange, *words.position);
                case PositionFault::Sixty:
                    return Said(texts.sixtyOrMore, *words.position);
                default:
                    return Said(texts.notAPosition, *words.position);
            }
        }
        NearField around;
        around.centre = *centre;
        around.centreText = PositionText(*centre);
        around.radiusText = u"1°";
        if (words.radius) {
            const auto radius = ReadRadius(*words.radius);
            if (!radius) return Said(texts.badRadius, *words.radius);
            around.radius = radius->first;
            around.radiusText = radius->second;
        }
        selection.field = std::move(around);
        for (auto [text, option, range] :
             {std::tuple{&words.V, u"--v", &selection.V},
              std::tuple{&words.BMinusV, u"--b-v", &selection.BMinusV}}) {
            if (!*text) continue;
            const std::optional<Range> read = ReadRange(**text);
            if (!read) return Said(texts.badRange, **text, option);
            if (read->low && read->high && *read->low > *read->high) {
                return Said(texts.reversedRange, **text, option);
            }
            *range = *read;
        }
        selection.usableOnly = words.usable;
        if (words.chart) {
            if (selection.field->radius > kLargestChartRadius)
                return Said(texts.chartTooWide, *words.chart);
            selection.chart = true;
        }
        if (words.like) {
            const std::size_t colon = words.like->find(':');
            const std::optional<double> V = ReadPlainDecimal(words.like->substr(0, colon));
            const std::optional<double> BMinusV =
                colon == std::string::npos ? std::nullopt
                                           : ReadPlainDecimal(words.like->substr(colon + 1));
            if (!V || !BMinusV || *V < 0.0 || *BMinusV < 0.0) {
                return Said(texts.badLike, *words.like);
            }
            selection.like = Likeness{*V, *BMinusV};
        }
    }
    if (words.epoch) {
        const std::optional<double> year = ReadPlainDecimal(*words.epoch);
        if (!year || *year < 1000.0 || *year > 3000.0) return Said(texts.badEpoch, *words.epoch);
        selection.epoch = *year;
        selection.epochText = *words.epoch;
    }
    if (words.largestError) {
        const std::optional<double> largest = ReadPlainDecimal(*words.largestError);
        if (!largest || !(*largest > 0.0)) return Said(texts.badLargestError, *words.largestError);
        selection.largestError = *largest;
    }
    return std::nullopt;
}
