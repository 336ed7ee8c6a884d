#include "floating_text.h"

#include <array>

#include "tychobvr/conversion.h"

#if defined(__EMSCRIPTEN__)
#include "portable_floating_text.h"
#endif

namespace conversion {

#if defined(__EMSCRIPTEN__)

std::to_chars_result ToCharsFixed(char* first, char* last, double value, int decimals) {
    return portable::ToCharsFixed(first, last, value, decimals);
}

std::from_chars_result FromCharsDecimal(const char* first, const char* last, double& value) {
    return portable::FromCharsDecimal(first, last, value);
}

std::from_chars_result FromCharsHex(const char* first, const char* last, double& value) {
    return portable::FromCharsHex(first, last, value);
}

void AppendShortest(std::string& out, double value) { portable::AppendShortest(out, value); }

#else

std::to_chars_result ToCharsFixed(char* first, char* last, double value, int decimals) {
    return std::to_chars(first, last, value, std::chars_format::fixed, decimals);
}

std::from_chars_result FromCharsDecimal(const char* first, const char* last, double& value) {
    return std::from_chars(first, last, value);
}

std::from_chars_result FromCharsHex(const char* first, const char* last, double& value) {
    return std::from_chars(first, last, value, std::chars_format::hex);
}

void AppendShortest(std::string& out, double value) {
    std::array<char, 32> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    out.append(buffer.data(), result.ptr);
}

#endif

std::optional<double> ReadDecimal(std::string_view text) {
    double value = 0.0;
    const auto result = FromCharsDecimal(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace conversion
