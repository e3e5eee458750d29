// Speed of the calendar reader and of a conditional re-fetch, driven by
// expand_vs_icalendar.py (which also runs the Python peer) and
// hostile_calendars.py.
//
//   calendar_bench expand FILE TODAY DAYS ZONE ROUNDS
//     reads FILE repeatedly for about a second of processor time per round;
//     prints "occurrences <n>", the median processor and wall-clock time per
//     reading ("cpu_ms", "wall_ms") and "maxrss_kb <n>"
//   calendar_bench read FILE | libical FILE
//     one reading of FILE by the calendar module, or libical's parse of it
//     alone; prints "cpu_ms <n>" and what the reading found
//   calendar_bench refetch URL CAFILE CACHEFOLDER ROUNDS
//     fetches URL once (200), then re-fetches it ROUNDS times; prints
//     "origin <first> <last>", "requests <per re-fetch>" and the median
//     wall-clock and processor milliseconds of a re-fetch
#include "calendar/CalendarFetch.h"
#include "calendar/CalendarReader.h"
#include "platform/FileIo.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <libical/ical.h>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

long MaxRssKb()
{
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Processor time of this process: the machine these run on is shared,
// and wall-clock time there measures the neighbours as much as the code.
double CpuMs()
{
    timespec now {};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

int Expand(char** argv)
{
    const std::string text = platform::ReadWholeFile(argv[2], std::uint64_t { 64 } << 20);
    int y = 0;
    unsigned m = 0, d = 0;
    std::sscanf(argv[3], "%d-%u-%u", &y, &m, &d);
    const calendar::EventWindow window { std::chrono::year { y } / m / d, std::stoi(argv[4]), argv[5] };
    std::vector<double> cpu, wall;
    std::size_t occurrences = 0;
    for (int round = 0; round < std::stoi(argv[6]); ++round) {
        int count = 0;
        const Clock::time_point start = Clock::now();
        const double startCpu = CpuMs();
        do {
            occurrences = calendar::ReadCalendar(text, window).occurrences.size();
            ++count;
        } while (CpuMs() - startCpu < 1000);
        cpu.push_back((CpuMs() - startCpu) / count);
        wall.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count() / count);
    }
    std::printf("occurrences %zu\ncpu_ms %.3f\nwall_ms %.3f\nmaxrss_kb %ld\n", occurrences, Median(cpu),
        Median(wall), MaxRssKb());
    return 0;
}

// One reading of FILE (today 2026-03-01, 10 days, Asia/Tokyo), or with
// libicalOnly libical's parse of the whole text alone, for the hostile
// inputs of hostile_calendars.py.
int ReadOnce(const char* file, bool libicalOnly)
{
    const std::string text = platform::ReadWholeFile(file, std::uint64_t { 64 } << 20);
    const double start = CpuMs();
    if (libicalOnly) {
        icalcomponent_free(icalparser_parse_string(text.c_str()));
        std::printf("cpu_ms %.1f\n", CpuMs() - start);
        return 0;
    }
    using namespace std::chrono;
    const calendar::CalendarRead read = calendar::ReadCalendar(text, { 2026y / 3 / 1, 10, "Asia/Tokyo" });
    std::printf("cpu_ms %.1f\nreadable %d\nevents %zu\noccurrences %zu\nskipped %zu\ncut_short %d\n",
        CpuMs() - start, read.readable, read.eventCount, read.occurrences.size(), read.skippedEvents,
        read.cutShort);
    return 0;
}

const char* OriginName(calendar::FeedOrigin origin)
{
    switch (origin) {
    case calendar::FeedOrigin::Fetched:
        return "fetched";
    case calendar::FeedOrigin::NotModified:
        return "not-modified";
    case calendar::FeedOrigin::Cache:
        return "cache";
    case calendar::FeedOrigin::File:
        return "file";
    case calendar::FeedOrigin::None:
        break;
    }
    return "none";
}

int Refetch(char** argv)
{
    const calendar::CalendarAddress address = calendar::ReadCalendarAddress(argv[2]);
    calendar::FetchOptions options;
    options.caFile = argv[3];
    options.cacheFolder = argv[4];
    const calendar::Feed first = calendar::FetchCalendar(address, options);
    std::vector<double> wall, cpu;
    calendar::Feed last;
    int requests = 0;
    for (int round = 0; round < std::stoi(argv[5]); ++round) {
        const Clock::time_point start = Clock::now();
        const double startCpu = CpuMs();
        last = calendar::FetchCalendar(address, options);
        cpu.push_back(CpuMs() - startCpu);
        wall.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        requests = std::max(requests, last.requests);
    }
    std::printf("origin %s %s\nrequests %d\nwall_ms %.3f\ncpu_ms %.3f\n", OriginName(first.origin),
        OriginName(last.origin), requests, Median(wall), Median(cpu));
    return last.origin == calendar::FeedOrigin::NotModified ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "expand" && argc == 7)
        return Expand(argv);
    if (mode == "refetch" && argc == 6)
        return Refetch(argv);
    if ((mode == "read" || mode == "libical") && argc == 3)
        return ReadOnce(argv[2], mode == "libical");
    std::fprintf(stderr,
        "usage: calendar_bench expand FILE TODAY DAYS ZONE ROUNDS | refetch URL CAFILE CACHEFOLDER ROUNDS"
        " | read FILE | libical FILE\n");
    return 2;
}
