// BuildResultText against a plain count of '=' over the same text, in bytes per second.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "tychobvr/conversion.h"

namespace {

// Catalogue-like lines with both tags every ~40 characters and other '=' between them.
constexpr std::u16string_view kCatalogueLine = u"TYC 1234-5678-1 BT=10.500 VT=10.000 n=2\r\n";
// Prose with no tag and no '=' at all.
constexpr std::u16string_view kProseLine = u"The quick brown fox jumps over the lazy dog. ";
// An '=' every 20 characters, each a VT tag, and no BT tag at all: once the last VT is read, the
// scan looks for a BT all the way back to the start.
constexpr std::u16string_view kOneTagLine = u"TYC 1234-5678 VT=9.9";

enum class Kind { TagFree, Realistic, WorstCase };

std::u16string_view LineOf(Kind kind) {
    switch (kind) {
        case Kind::TagFree:
            return kProseLine;
        case Kind::Realistic:
            return kCatalogueLine;
        case Kind::WorstCase:
            break;
    }
    return kOneTagLine;
}

// The line repeated to fill `bytes` of UTF-16.
std::u16string RepeatedText(std::u16string_view line, std::size_t bytes) {
    std::u16string text;
    text.reserve(bytes / 2 + line.size());
    while (text.size() * 2 < bytes) text += line;
    text.resize(bytes / 2);
    return text;
}

const std::u16string& Text(Kind kind, std::int64_t bytes) {
    static std::u16string cached;
    static Kind cachedKind = Kind::TagFree;
    static std::int64_t cachedBytes = -1;
    if (cachedBytes != bytes || cachedKind != kind) {
        cached = RepeatedText(LineOf(kind), static_cast<std::size_t>(bytes));
        cachedKind = kind;
        cachedBytes = bytes;
    }
    return cached;
}

void Report(benchmark::State& state, std::int64_t bytes) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * bytes);
}

// The fastest of a few runs of the baseline over the text, in seconds.
double BaselineSeconds(const std::u16string& text) {
    double best = 1e300;
    for (int run = 0; run < 20; ++run) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(std::count(text.begin(), text.end(), u'='));
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        best = std::min(best, elapsed.count());
    }
    return best;
}

template <Kind kKind>
void BM_BuildResultText(benchmark::State& state) {
    const std::u16string& text = Text(kKind, state.range(0));
    const double baseline = BaselineSeconds(text);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) benchmark::DoNotOptimize(conversion::BuildResultText(text, u'.'));
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    Report(state, state.range(0));
    // Above 1 means faster than counting '=' over the same text.
    state.counters["vs_baseline"] =
        baseline / (elapsed.count() / static_cast<double>(state.iterations()));
}

template <Kind kKind>
void BM_CountEqualsBaseline(benchmark::State& state) {
    const std::u16string& text = Text(kKind, state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(std::count(text.begin(), text.end(), u'='));
    Report(state, state.range(0));
}

constexpr std::int64_t kKiB = 1024;
constexpr std::int64_t kMiB = 1024 * kKiB;

void Sizes(benchmark::internal::Benchmark* b) { b->Arg(kKiB)->Arg(kMiB)->Arg(64 * kMiB); }

}  // namespace

BENCHMARK(BM_CountEqualsBaseline<Kind::TagFree>)->Name("TagFree/CountEquals")->Apply(Sizes);
BENCHMARK(BM_BuildResultText<Kind::TagFree>)->Name("TagFree/BuildResultText")->Apply(Sizes);
BENCHMARK(BM_CountEqualsBaseline<Kind::Realistic>)->Name("Realistic/CountEquals")->Apply(Sizes);
BENCHMARK(BM_BuildResultText<Kind::Realistic>)->Name("Realistic/BuildResultText")->Apply(Sizes);
BENCHMARK(BM_CountEqualsBaseline<Kind::WorstCase>)->Name("OneTag/CountEquals")->Apply(Sizes);
BENCHMARK(BM_BuildResultText<Kind::WorstCase>)->Name("OneTag/BuildResultText")->Apply(Sizes);

BENCHMARK_MAIN();
