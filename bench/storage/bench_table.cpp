// Speed of the assignment list's table: filling it with a song's worth of
// syllables, rewriting every row in place, and walking it in key order.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "storage/Schemas.h"
#include "storage/Table.h"

namespace {

using namespace versilla::storage;

constexpr int kRows = 3000;

std::filesystem::path scratchFolder()
{
    static std::filesystem::path dir = [] {
        std::string tmpl = (std::filesystem::temp_directory_path() / "versilla-bench-XXXXXX").string();
        if (!::mkdtemp(tmpl.data()))
            std::abort();
        return std::filesystem::path(tmpl);
    }();
    return dir;
}

void fill(Table& t)
{
    for (int i = 0; i < kRows; ++i) {
        (void)t.appendStart();
        (void)t.replaceInteger("ZEIT", i * 250);
        (void)t.replaceString("TEXT", "Sil\xA4");
        (void)t.replaceString("STRZEIT", "0:00:00.000");
        (void)t.replaceInteger("GESTICKS", i * 240);
        (void)t.replaceInteger("START", 0);
        (void)t.replaceInteger("MEHRFACH", 1);
        (void)t.replaceDouble("ACHTEL", i * 0.5);
        (void)t.appendEnd();
    }
}

void BM_Append3000Rows(benchmark::State& state)
{
    const auto dir = scratchFolder();
    if (!createTable(dir, "texte0", schemas::assignmentTemplate()))
        return state.SkipWithError("cannot create template");
    for (auto _ : state) {
        state.PauseTiming();
        (void)copyStructure(dir, "texte0", "texte");
        Table t;
        (void)t.open(dir, "texte");
        (void)t.setTag(kPrimaryTag);
        state.ResumeTiming();
        fill(t);
        (void)t.flush();
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_Append3000Rows)->Unit(benchmark::kMillisecond);

/// The same rows with their times in a scrambled order, so every row lands
/// somewhere inside the tag's order rather than at its end.
void BM_Append3000RowsShuffledKeys(benchmark::State& state)
{
    const auto dir = scratchFolder();
    if (!createTable(dir, "texte0", schemas::assignmentTemplate()))
        return state.SkipWithError("cannot create template");
    for (auto _ : state) {
        state.PauseTiming();
        (void)copyStructure(dir, "texte0", "texte");
        Table t;
        (void)t.open(dir, "texte");
        (void)t.setTag(kPrimaryTag);
        state.ResumeTiming();
        for (int i = 0; i < kRows; ++i) {
            (void)t.appendStart();
            (void)t.replaceInteger("ZEIT", (i * 1237) % kRows * 250); // 1237 is prime to 3000
            (void)t.replaceString("TEXT", "Sil\xA4");
            (void)t.replaceInteger("GESTICKS", i * 240);
            (void)t.appendEnd();
        }
        (void)t.flush();
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_Append3000RowsShuffledKeys)->Unit(benchmark::kMillisecond);

void BM_Rewrite3000RowsInPlace(benchmark::State& state)
{
    const auto dir = scratchFolder();
    (void)createTable(dir, "texte", schemas::assignmentTemplate());
    Table t;
    (void)t.open(dir, "texte");
    fill(t);
    int shift = 0;
    for (auto _ : state) {
        ++shift;
        for (t.goTop(); !t.eof(); t.skip()) { // record order, as bulk retiming does
            (void)t.recordLock();
            (void)t.replaceInteger("ZEIT", t.fieldAsInteger("ZEIT") + (shift % 2 ? 1 : -1));
            (void)t.replaceString("STRZEIT", "0:00:01.000");
            (void)t.unlock();
        }
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_Rewrite3000RowsInPlace)->Unit(benchmark::kMillisecond);

void BM_Walk3000RowsInKeyOrder(benchmark::State& state)
{
    const auto dir = scratchFolder();
    (void)createTable(dir, "texte", schemas::assignmentTemplate());
    Table t;
    (void)t.open(dir, "texte");
    fill(t);
    (void)t.setTag(kPrimaryTag);
    for (auto _ : state) {
        std::int64_t sum = 0;
        for (t.goTop(); !t.eof(); t.skip())
            sum += t.fieldAsInteger("ZEIT") + static_cast<std::int64_t>(t.fieldAsString("TEXT").size());
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_Walk3000RowsInKeyOrder)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
