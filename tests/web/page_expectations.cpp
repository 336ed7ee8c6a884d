// What the windows show for each text, for the page's tests to compare with: reads texts, one a
// line with "\n" for a line break inside, and writes for each a JSON object with the result
// line, the tooltip, the description and whether the line is red.
//   page_expectations SEPARATOR LANGUAGE < texts
#include <iostream>
#include <string>

#include "ResultLine.h"
#include "Texts.h"
#include "Utf.h"

namespace {

std::string Json(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (static_cast<unsigned char>(c) < 0x20) {
            constexpr char kHex[] = "0123456789abcdef";
            out += "\\u00";
            out += kHex[(c >> 4) & 0xF];
            out += kHex[c & 0xF];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::cerr << "usage: page_expectations SEPARATOR LANGUAGE < texts\n";
        return 2;
    }
    const std::u16string separator = Utf16FromUtf8(argv[1]);
    const Texts& texts = TextsFor(argv[2]);
    std::string line;
    while (std::getline(std::cin, line)) {
        std::string text;
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == 'n') {
                text += '\n';
                ++i;
            } else {
                text += line[i];
            }
        }
        const Result result =
            ResultFor(WithCrLfLineEnds(Utf16FromUtf8(text)), separator.front(), texts);
        std::cout << "{\"line\":" << Json(Utf8FromUtf16(result.line))
                  << ",\"toolTip\":" << Json(Utf8FromUtf16(result.toolTip))
                  << ",\"description\":" << Json(Utf8FromUtf16(result.description))
                  << ",\"extrapolated\":" << (result.extrapolated ? "true" : "false") << "}\n";
    }
    return 0;
}
