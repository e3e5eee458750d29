// Speed of the date language, the upcoming list and the schedule file.
#include "common/TempFolder.h"
#include "jconvert/cp932.h"
#include "schedule/TScheduleTable.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>

namespace {

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

// Gives the table `count` entries of typical dates and texts.
void Fill(TScheduleTable& table, std::size_t count)
{
    while (table.Entries().size() < count)
        table.InsertRow(0);
    for (std::size_t i = 0; i < count; ++i) {
        table.SetDate(i, kDates[(i + 1) % std::size(kDates)]);
        table.SetText(i, "text of the entry " + std::to_string(i + 1));
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
    // No file is read or written: the folder does not exist and the table
    // is marked unmodified.
    TScheduleTable table("/nonexistent/corkpane-bench/schedule.txt");
    Fill(table, static_cast<std::size_t>(state.range(0)));
    table.SetModified(false);
    for (auto _ : state)
        benchmark::DoNotOptimize(table.ListUpcoming({}, 2026y / 12 / 20));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ListUpcoming)->Arg(20)->Arg(1000);

// The same with the national holidays listed: 2026-12-20 with a dated
// window of 20 days reaches into the next year.
void BM_ListUpcomingWithHolidays(benchmark::State& state)
{
    TScheduleTable table("/nonexistent/corkpane-bench/schedule.txt");
    Fill(table, static_cast<std::size_t>(state.range(0)));
    table.SetModified(false);
    const schedule::LookAhead ahead { .dated = 20, .holidays = true };
    for (auto _ : state)
        benchmark::DoNotOptimize(table.ListUpcoming(ahead, 2026y / 12 / 20));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ListUpcomingWithHolidays)->Arg(20)->Arg(1000);

void BM_LoadFile(benchmark::State& state)
{
    const test_files::TempFolder folder("schedule-bench");
    const auto file = folder.Path() / TScheduleTable::kFileName;
    {
        TScheduleTable table(file);
        Fill(table, static_cast<std::size_t>(state.range(0)));
        table.Save();
    }
    for (auto _ : state) {
        TScheduleTable table(file);
        benchmark::DoNotOptimize(table.Entries().size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadFile)->Arg(20)->Arg(1000);

void BM_SaveFile(benchmark::State& state)
{
    const test_files::TempFolder folder("schedule-bench");
    TScheduleTable table(folder.Path() / TScheduleTable::kFileName);
    Fill(table, static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        table.Save();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SaveFile)->Arg(20)->Arg(1000);

} // namespace

BENCHMARK_MAIN();
