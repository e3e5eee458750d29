// Fuzz entry point for the date language: any text typed into a date cell
// must normalise to a known kind, expand, split, and be placed on the
// calendar on awkward days without failing; a date the check accepts checks
// to itself again, and the holidays list with it.
#include "fuzz/FuzzRequire.h"
#include "schedule/TScheduleTable.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace schedule;
    using namespace std::chrono;
    const std::string text(reinterpret_cast<const char*>(data), size);

    const std::string normalized = TScheduleTable::NormalizeDate(text);
    const std::size_t slash = normalized.find('/');
    require(slash != std::string::npos);
    const std::string kind = normalized.substr(0, slash);
    require(kind == "-1" || (kind.size() == 1 && kind[0] >= '1' && kind[0] <= '7'));
    int32_t k = 0, a = 0, b = 0, c = 0;
    TScheduleTable::SplitDate(normalized, k, a, b, c);
    require(std::to_string(k) == kind);
    TScheduleTable::ExpandDate(normalized);
    TScheduleTable::ExpandDate(text);
    TScheduleTable::SplitDate(text, k, a, b, c);

    // No file is read or written: the folder does not exist and the table
    // is marked unmodified.
    TScheduleTable table("/nonexistent/corkpane-fuzz/schedule.txt");
    table.SetDate(0, text);
    table.SetText(0, "t");
    table.SetModified(false);
    const year_month_day days[] = { 2028y / 2 / 28, 2026y / 12 / 31, 9999y / 12 / 31, 1y / 1 / 1 };
    for (const year_month_day today : days) {
        const std::vector<std::string> lines = table.ListUpcoming({ 400, 400, 400, 400 }, today);
        require(lines.size() <= 1);
        for (const std::string& line : lines)
            require(!line.empty() && line[0] >= '0' && line[0] <= '9');
    }
    for (const std::string& line : table.ListUpcoming({ 400, 400, 400, 400, true }, 2026y / 12 / 31))
        require(!line.empty() && line[0] >= '0' && line[0] <= '9');

    if (!table.Check()) {
        const std::string shown = table.Entries()[0].date;
        require(!table.Check());
        require(table.Entries()[0].date == shown);
    }
    return 0;
}
