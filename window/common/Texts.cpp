#include "Texts.h"

namespace {

constexpr Texts kEnglish{
    .extrapolatedFirstLine = u"Extrapolated: BT − VT lies outside the range of the fits,",
    .extrapolatedSecondLine = u"so B and V may be off by a tenth of a magnitude or more.",
    .colourIndex = u"BT − VT = %1",
    .fitsRange = u"The B and V fits hold for %1 ≤ BT − VT ≤ %2.",
    .rApproximation = u"R = V − 0.5 (B − V) is a coarse approximation.",
    .textBoxName = u"Clipboard text",
    .resultDescription = u"Result",
    .extrapolatedDescription = u"Result, extrapolated: BT − VT outside the range of the fits",
    .clipboardInUse = u"Clipboard in use by another program",
    .commandLineDescription =
        u"Shows the text on the clipboard and the B, V and R magnitudes computed from\n"
        u"the Tycho BT and VT it carries, each time OK is pressed.",
    .helpOption = u"Displays help on commandline options.",
    .versionOption = u"Displays version information.",
    .unknownOption = u"Unknown option '%1'.",
    .unexpectedArgument = u"Unexpected argument '%1'.",
};

}  // namespace

const Texts& EnglishTexts() { return kEnglish; }

std::u16string Substitute(std::u16string_view text, std::u16string_view first,
                          std::u16string_view second) {
    std::u16string result;
    result.reserve(text.size() + first.size() + second.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'%' && i + 1 < text.size() &&
            (text[i + 1] == u'1' || text[i + 1] == u'2')) {
            result += text[i + 1] == u'1' ? first : second;
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}
