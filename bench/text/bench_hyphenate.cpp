// Hyphenation speed: 100 000 English words through the pattern hyphenator, the
// German rules on the same words, and the plain group search for comparison.
#include "text/Hyphenation.h"
#include "text/TQuillonHyphenator.h"

#include "EnglishWordSample.h"
#include "LinearHyphenator.h"

#include <benchmark/benchmark.h>

namespace {

using namespace versilla::text;

const std::vector<std::string>& words() {
    static const std::vector<std::string> sample = testing::englishWordSample(100000);
    return sample;
}

void BM_HyphenateEnglish(benchmark::State& state) {
    const TQuillonHyphenator hyphenator;
    const auto& list = words();
    for (auto _ : state) {
        for (const std::string& w : list)
            benchmark::DoNotOptimize(hyphenator.hyphenateWord(w, '-'));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * list.size()));
}
BENCHMARK(BM_HyphenateEnglish)->Unit(benchmark::kMillisecond);

void BM_HyphenateGerman(benchmark::State& state) {
    const auto& list = words();
    for (auto _ : state) {
        for (const std::string& w : list)
            benchmark::DoNotOptimize(hyphenateWordGerman(w));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * list.size()));
}
BENCHMARK(BM_HyphenateGerman)->Unit(benchmark::kMillisecond);

// The lyric text run: the 100 000 words as lines of eight words.
void BM_HyphenateTextEnglish(benchmark::State& state) {
    const TQuillonHyphenator hyphenator;
    std::string text;
    const auto& list = words();
    for (std::size_t i = 0; i < list.size(); ++i)
        text += list[i] + (i % 8 == 7 ? "\r\n" : " ");
    for (auto _ : state)
        benchmark::DoNotOptimize(hyphenateText(text, 0, HyphenLanguage::English, hyphenator));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * list.size()));
}
BENCHMARK(BM_HyphenateTextEnglish)->Unit(benchmark::kMillisecond);

// The plain search through each first-letter group, on the first 2 000 words.
void BM_HyphenateEnglishLinearSearch(benchmark::State& state) {
    const TQuillonHyphenator hyphenator;
    const testing::LinearHyphenator linear(hyphenator);
    const std::vector<std::string> list(words().begin(), words().begin() + 2000);
    for (auto _ : state) {
        for (const std::string& w : list)
            benchmark::DoNotOptimize(linear.hyphenateWord(w, '-'));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * list.size()));
}
BENCHMARK(BM_HyphenateEnglishLinearSearch)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
