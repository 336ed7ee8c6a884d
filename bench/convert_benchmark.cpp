// The converter on catalogue-like lines in memory, in bytes of input per second: UTF-8 and
// Shift_JIS, and one line too long to hold.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "CsvConverter.h"

namespace {

// One star a line, about 80 bytes, as a catalogue extract has them.
constexpr std::string_view kCatalogueLine =
    "TYC 4426-1357-1  RA=123.45678 DE=+45.12345  BT=10.523 VT= 9.876  HIP=012345 q=2\n";

std::string Repeated(std::string_view line, std::size_t bytes) {
    std::string text;
    text.reserve(bytes + line.size());
    while (text.size() < bytes) text += line;
    text.resize(bytes);
    return text;
}

void Convert(benchmark::State& state, const std::string& input, InputEncoding encoding) {
    std::size_t written = 0;
    for (auto _ : state) {
        CsvConverter converter(
            CsvConverter::Options{encoding, SourceForm::Automatic, {}}, EnglishTexts(),
            [&written](std::string_view bytes) {
                written += bytes.size();
                return true;
            },
            [](std::string_view) {});
        converter.WriteHeader();
        converter.BeginSource("stars.txt");
        constexpr std::size_t kPiece = 256 * 1024;
        for (std::size_t at = 0; at < input.size(); at += kPiece) {
            converter.Feed(std::string_view(input).substr(at, kPiece));
        }
        converter.EndSource();
    }
    benchmark::DoNotOptimize(written);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(input.size()));
}

constexpr std::size_t kMiB = 1024 * 1024;

void BM_CatalogueLines(benchmark::State& state) {
    static const std::string input = Repeated(kCatalogueLine, 64 * kMiB);
    Convert(state, input, InputEncoding::Utf8);
}

void BM_ShiftJisLines(benchmark::State& state) {
    // "織女星" in code page 932 before each star.
    static const std::string input =
        Repeated("\x90\x44\x8f\x97\x90\xaf " + std::string(kCatalogueLine), 64 * kMiB);
    Convert(state, input, InputEncoding::ShiftJis);
}

// Tycho-2's records, the same star over and over; the converter does the same work for each.
void BM_Tycho2Records(benchmark::State& state) {
    static const std::string input = Repeated(
        "0001 00008 1| |  2.31750494|  2.23184345|  -16.3|   -9.0| 68| 73| 1.7| 1.8|1958.89|"
        "1951.94| 4|1.0|1.0|0.9|1.0|12.146|0.158|12.146|0.223|999| |         |  2.31754222|  "
        "2.23186444|1.67|1.54| 88.0|100.8| |-0.2\n",
        64 * kMiB);
    Convert(state, input, InputEncoding::Utf8);
}

void BM_OneHugeLine(benchmark::State& state) {
    static const std::string input = "BT=10.5 " + std::string(64 * kMiB, 'x') + " VT=10\n";
    Convert(state, input, InputEncoding::Utf8);
}

}  // namespace

BENCHMARK(BM_CatalogueLines)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ShiftJisLines)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Tycho2Records)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OneHugeLine)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
