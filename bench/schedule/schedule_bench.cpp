// Speed of the date language, the upcoming list and the schedule file.
#include "common/TempFolder.h"
#include "jconvert/cp932.h"
#include "schedule/ScheduleGrid.h"
#include "schedule/TScheduleTable.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>

namespace {

using schedule::ScheduleGrid;
using schedule::TScheduleTable;
using namespace std::chrono;

// Typical cells.
const std::string kDates[] = {
    jconvert::Utf8ToCp932("毎週水曜日"),
    jconvert::Utf8ToCp932("毎月第2火曜日"),
    jconvert::Utf8ToCp932("平成17年4月1日"),
    jconvert::Utf8ToCp932("毎年12月25日"),
    jconvert::Utf8ToCp932("１５日"),
};

void FillGrid(ScheduleGrid& grid, int rows)
{
    grid.SetRowCount(rows + 1);
    for (int r = 1; r <= rows; ++r) {
        grid.SetCell(1, r, kDates[r % std::size(kDates)]);
        grid.SetCell(2, r, "text of the entry " + std::to_string(r));
    }
}

void BM_NormalizeDate(benchmark::State& state)
{
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(TScheduleTable::NormalizeDate(kDates[i++ % std::size(kDates)]));
}
BENCHMARK(BM_NormalizeDate);

void BM_ListUpcoming(benchmark::State& state)
{
    ScheduleGrid grid;
    TScheduleTable table(grid, "/nonexistent/corkpane-bench", schedule::FixedDateClock(2026y / 12 / 20));
    FillGrid(grid, static_cast<int>(state.range(0)));
    table.SetLookAhead(1, 3, 5, 10);
    std::vector<std::string> lines;
    for (auto _ : state) {
        table.ListUpcoming(lines);
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ListUpcoming)->Arg(20)->Arg(1000);

void BM_LoadFile(benchmark::State& state)
{
    const test_files::TempFolder folder("schedule-bench");
    {
        ScheduleGrid grid;
        TScheduleTable table(grid, folder.Path());
        FillGrid(grid, static_cast<int>(state.range(0)));
        table.SetModified(true);
        table.Save();
    }
    for (auto _ : state) {
        ScheduleGrid grid;
        TScheduleTable table(grid, folder.Path());
        benchmark::DoNotOptimize(grid.RowCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadFile)->Arg(20)->Arg(1000);

void BM_SaveFile(benchmark::State& state)
{
    const test_files::TempFolder folder("schedule-bench");
    ScheduleGrid grid;
    TScheduleTable table(grid, folder.Path());
    FillGrid(grid, static_cast<int>(state.range(0)));
    table.SetModified(true);
    for (auto _ : state)
        table.Save();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SaveFile)->Arg(20)->Arg(1000);

} // namespace

BENCHMARK_MAIN();
