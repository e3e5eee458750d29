#include "calendar/UpcomingEvents.h"

#include "calendar/Texts.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace calendar {

namespace {

using namespace std::chrono;

long DaysFrom(year_month_day today, year_month_day date)
{
    return static_cast<long>((sys_days { date } - sys_days { today }).count());
}

// The day count a schedule line begins with, or nothing.
std::optional<long> DayCount(const std::string& line)
{
    std::size_t digits = 0;
    while (digits < line.size() && digits < 9 && line[digits] >= '0' && line[digits] <= '9')
        ++digits;
    if (digits == 0 || line.compare(digits, texts::kDaysLater.size(), texts::kDaysLater) != 0)
        return std::nullopt;
    return std::stol(line.substr(0, digits));
}

} // namespace

std::string UpcomingLine(const Occurrence& occurrence, year_month_day today)
{
    std::string line = std::to_string(DaysFrom(today, occurrence.date)) + texts::kDaysLater
        + std::to_string(static_cast<unsigned>(occurrence.date.month())) + texts::kMonth
        + std::to_string(static_cast<unsigned>(occurrence.date.day())) + texts::kDay + " ";
    if (occurrence.start) {
        char time[16];
        const long total = occurrence.start->count();
        std::snprintf(time, sizeof time, "%02ld:%02ld ", total / 60 % 24, total % 60);
        line += time;
    }
    return line + occurrence.summary;
}

std::vector<std::string> MergeUpcoming(
    const std::vector<std::string>& scheduleLines, std::vector<Occurrence> events, year_month_day today)
{
    std::erase_if(events, [&](const Occurrence& e) { return DaysFrom(today, e.date) < 0; });
    std::stable_sort(events.begin(), events.end(), ComesBefore);
    std::vector<std::string> merged;
    merged.reserve(scheduleLines.size() + events.size());
    std::size_t next = 0;
    for (const std::string& line : scheduleLines) {
        if (const std::optional<long> day = DayCount(line)) {
            for (; next < events.size() && DaysFrom(today, events[next].date) < *day; ++next)
                merged.push_back(UpcomingLine(events[next], today));
        }
        merged.push_back(line);
    }
    for (; next < events.size(); ++next)
        merged.push_back(UpcomingLine(events[next], today));
    return merged;
}

} // namespace calendar
