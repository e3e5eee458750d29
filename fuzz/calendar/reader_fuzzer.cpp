// Fuzz entry point for the calendar reader: any text reads without
// failing, in two time zones; the occurrences are in order, inside the
// window, at most the limit, each summary one line; the trimmed text
// libical is given holds whole lines only; the upcoming lines merge.
#include "calendar/CalendarReader.h"
#include "calendar/CalendarTrim.h"
#include "calendar/UpcomingEvents.h"
#include "fuzz/FuzzRequire.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace std::chrono;
    const std::string text(reinterpret_cast<const char*>(data), size);

    const calendar::TrimmedCalendar trimmed = calendar::TrimCalendarText(text, { 20'000, 21'000 });
    require(trimmed.text.find('\0') == std::string::npos);
    require(trimmed.text.empty() || trimmed.text.ends_with("\r\n"));

    const year_month_day today = 2026y / 3 / 1;
    for (const char* zone : { "Asia/Tokyo", "America/New_York" }) {
        const calendar::CalendarRead read = calendar::ReadCalendar(text, { today, 30, zone });
        require(read.readable || read.occurrences.empty());
        require(read.occurrences.size() <= 10'000);
        require(std::is_sorted(read.occurrences.begin(), read.occurrences.end(), calendar::ComesBefore));
        for (const calendar::Occurrence& o : read.occurrences) {
            require(sys_days { o.date } >= sys_days { today }
                && sys_days { o.date } <= sys_days { today } + days { 30 });
            require(!o.start || (o.start->count() >= 0 && o.start->count() < 24 * 60));
            require(!o.summary.empty());
            require(std::none_of(o.summary.begin(), o.summary.end(),
                [](char c) { return static_cast<unsigned char>(c) < 0x20; }));
        }
        const std::vector<std::string> lines = calendar::MergeUpcoming({ "3" }, read.occurrences, today);
        require(lines.size() == read.occurrences.size() + 1);
    }
    return 0;
}
