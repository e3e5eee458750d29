// Speed of the date language, the upcoming list and the schedule file.
#include "schedule/ScheduleGrid.h"
#include "schedule/TScheduleTable.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <unistd.h>

namespace {

using schedule::ScheduleGrid;
using schedule::TScheduleTable;
using namespace std::chrono;

// Typical cells, as Shift_JIS: 毎週水曜日, 毎月第2火曜日, 平成17年4月1日,
// 毎年12月25日, １５日.
const char* const kDates[] = {
    "\x96\x88\x8f\x54\x90\x85\x97\x6a\x93\xfa",
    "\x96\x88\x8c\x8e\x91\xe6"
    "2\x89\xce\x97\x6a\x93\xfa",
    "\x95\xbd\x90\xac"
    "17\x94\x4e"
    "4\x8c\x8e"
    "1\x93\xfa",
    "\x96\x88\x94\x4e"
    "12\x8c\x8e"
    "25\x93\xfa",
    "\x82\x50\x82\x54\x93\xfa",
};

void FillGrid(ScheduleGrid& grid, int rows)
{
    grid.SetRowCount(rows + 1);
    for (int r = 1; r <= rows; ++r) {
        grid.SetCell(1, r, kDates[r % std::size(kDates)]);
        grid.SetCell(2, r, "text of the entry " + std::to_string(r));
    }
}

std::filesystem::path BenchFolder()
{
    auto p
        = std::filesystem::temp_directory_path() / ("corkpane-schedule-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(p);
    return p;
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
    const auto folder = BenchFolder();
    {
        ScheduleGrid grid;
        TScheduleTable table(grid, folder);
        FillGrid(grid, static_cast<int>(state.range(0)));
        table.SetModified(true);
        table.Save();
    }
    for (auto _ : state) {
        ScheduleGrid grid;
        TScheduleTable table(grid, folder);
        benchmark::DoNotOptimize(grid.RowCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LoadFile)->Arg(20)->Arg(1000);

void BM_SaveFile(benchmark::State& state)
{
    const auto folder = BenchFolder();
    ScheduleGrid grid;
    TScheduleTable table(grid, folder);
    FillGrid(grid, static_cast<int>(state.range(0)));
    table.SetModified(true);
    for (auto _ : state)
        table.Save();
    state.SetItemsProcessed(state.iterations() * state.range(0));
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SaveFile)->Arg(20)->Arg(1000);

} // namespace

BENCHMARK_MAIN();
