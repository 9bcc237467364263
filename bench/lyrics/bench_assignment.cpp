// Filling the assignment list with a song's worth of syllables and reading it
// back in list order: the list part of opening or writing a song.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "lyrics/AssignmentList.h"
#include "song/TempoList.h"
#include "storage/Schemas.h"
#include "storage/Table.h"

namespace {

using namespace versilla;

constexpr int kRows = 3000;

struct Folder {
    Folder()
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "versilla-bench-XXXXXX").string();
        if (::mkdtemp(tmpl.data()) == nullptr)
            std::abort();
        path = tmpl;
        if (!storage::createTable(path, storage::kAssignmentTemplateAlias, storage::schemas::assignmentTemplate()))
            std::abort();
    }
    ~Folder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::filesystem::path path;
};

std::vector<lyrics::Row> songRows()
{
    std::vector<lyrics::Row> rows;
    for (int i = 0; i < kRows; ++i) {
        lyrics::Row r;
        r.zeit = 1000 + i * 250;
        r.text = i % 8 == 7 ? std::string(lyrics::kLineBreakText) : "Sil" + std::to_string(i % 100) + "\xA4";
        r.strzeit = "0:00:00.000";
        r.gesticks = r.zeit * 96 / 100;
        r.mehrfach = 1;
        r.achtel = r.gesticks / 240.0;
        rows.push_back(std::move(r));
    }
    return rows;
}

/// The way opening and writing a song fill the list: emptied, then every row
/// saved with the bulk-update mark, the views following once at the end.
void fillBulk(lyrics::AssignmentList& list, const std::vector<lyrics::Row>& rows)
{
    list.marks().bulkUpdate = true;
    list.beginBulk();
    if (!list.zap())
        std::abort();
    for (const auto& r : rows)
        if (list.appendRow(r))
            std::abort();
    list.endBulk();
    list.marks().bulkUpdate = false;
}

std::int64_t readBack(const lyrics::AssignmentList& list)
{
    std::int64_t sum = 0;
    for (int i = 0; i < list.rowCount(); ++i) {
        const lyrics::Row& r = list.row(i);
        sum += r.zeit + r.gesticks + static_cast<std::int64_t>(r.text.size());
    }
    return sum;
}

void BM_BulkAppendAndReadBack(benchmark::State& state)
{
    Folder folder;
    lyrics::AssignmentList list;
    if (!list.create(folder.path))
        std::abort();
    const auto rows = songRows();
    for (auto _ : state) {
        fillBulk(list, rows);
        benchmark::DoNotOptimize(readBack(list));
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_BulkAppendAndReadBack)->Unit(benchmark::kMillisecond);

/// The same rows saved one by one by an assignment command: every save checks
/// the time and computes the ticks, and views hear of every row.
void BM_CheckedAppend(benchmark::State& state)
{
    Folder folder;
    lyrics::AssignmentList list;
    if (!list.create(folder.path))
        std::abort();
    const song::TempoList tempo = song::buildTempoList({song::makeTempoEntry(500000, 480, 0, 0, 0)}, 480);
    list.setSaveContext({[] { return 3600000; }, [&tempo](std::int32_t ms) { return song::msToTicks(tempo, ms); }});
    auto rows = songRows();
    for (auto _ : state) {
        if (!list.zap())
            std::abort();
        for (const auto& r : rows)
            if (list.appendRow(r))
                std::abort();
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_CheckedAppend)->Unit(benchmark::kMillisecond);

/// Reading the whole list in list order, as a view or the snapshot does.
void BM_ReadBack(benchmark::State& state)
{
    Folder folder;
    lyrics::AssignmentList list;
    if (!list.create(folder.path))
        std::abort();
    fillBulk(list, songRows());
    for (auto _ : state)
        benchmark::DoNotOptimize(readBack(list));
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_ReadBack)->Unit(benchmark::kMicrosecond);

/// Opening an existing list of 3 000 rows (the rows are read from the file).
void BM_Attach(benchmark::State& state)
{
    Folder folder;
    {
        lyrics::AssignmentList list;
        if (!list.create(folder.path))
            std::abort();
        fillBulk(list, songRows());
    }
    lyrics::AssignmentList list;
    for (auto _ : state)
        if (!list.attach(folder.path))
            std::abort();
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_Attach)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
