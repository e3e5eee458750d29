#include "calendar/EventExpander.h"

#include "calendar/Texts.h"
#include "jconvert/AsciiText.h"
#include "jconvert/cp932.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <libical/ical.h>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace calendar {

namespace {

using namespace std::chrono;
using Seconds = std::int64_t;
constexpr Seconds kDay = 86400;

// Repetitions are stepped through from a little before the window to a
// little after it: two days cover any two zones' difference.
constexpr int kMarginDays = 2;
// The occurrences one rule may yield near the window (a rule every minute
// over a month is 43,200).
constexpr int kMaxStepsPerRule = 50'000;
// More occurrences than a wallpaper could ever show are dropped, the
// latest first, so that memory stays bounded however a calendar repeats.
constexpr std::size_t kMaxOccurrences = 10'000;
// A summary is one line of the wallpaper: longer ones are cut.
constexpr std::size_t kMaxSummaryCharacters = 100;

std::int64_t ThreadCpuNs()
{
    timespec now {};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::int64_t { now.tv_sec } * 1'000'000'000 + now.tv_nsec;
}

// A date-time as written, on the wall clock of its zone, in seconds as if
// that zone were UTC (a date: its midnight); nothing for values no
// calendar has (libical leaves fields as it found them).
std::optional<Seconds> WallOf(const icaltimetype& t)
{
    if (icaltime_is_null_time(t) || t.year < 1 || t.year > 9999 || t.month < 1 || t.month > 12 || t.day < 1)
        return std::nullopt;
    const year_month_day date { year { t.year }, month { static_cast<unsigned>(t.month) },
        day { static_cast<unsigned>(t.day) } };
    if (!date.ok())
        return std::nullopt;
    const Seconds dayNumber = sys_days { date }.time_since_epoch().count();
    if (t.is_date)
        return dayNumber * kDay;
    if (t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59 || t.second < 0 || t.second > 60)
        return std::nullopt;
    return dayNumber * kDay + t.hour * 3600 + t.minute * 60 + std::min(t.second, 59);
}

Seconds DayOf(Seconds wall)
{
    return wall >= 0 ? wall / kDay : (wall - kDay + 1) / kDay;
}

// The wall-clock value back as a floating libical time.
icaltimetype TimeOfWall(Seconds wall, bool isDate)
{
    const Seconds dayNumber = DayOf(wall);
    const Seconds rest = wall - dayNumber * kDay;
    const year_month_day date { sys_days { std::chrono::days { dayNumber } } };
    icaltimetype t = icaltime_null_time();
    t.year = static_cast<int>(date.year());
    t.month = static_cast<int>(static_cast<unsigned>(date.month()));
    t.day = static_cast<int>(static_cast<unsigned>(date.day()));
    t.is_date = isDate ? 1 : 0;
    if (!isDate) {
        t.hour = static_cast<int>(rest / 3600);
        t.minute = static_cast<int>(rest / 60 % 60);
        t.second = static_cast<int>(rest % 60);
    }
    return t;
}

bool HasData(const short* list)
{
    return list[0] != ICAL_RECURRENCE_ARRAY_MAX;
}

void SetOne(short* list, int value)
{
    list[0] = static_cast<short>(value);
    list[1] = ICAL_RECURRENCE_ARRAY_MAX;
}

int DaysInMonth(int monthNumber)
{
    constexpr int kDays[] = { 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    return kDays[monthNumber - 1];
}

// Whether a time zone's observance rule has the shape real zones use
// (yearly, one month, a weekday of it or a day of it), so that libical's
// expansion of the zone finds a change every year or so. Rules that match
// no day at all would have libical search for thousands of years.
bool IsPlainZoneRule(const icalrecurrencetype& rule)
{
    if (rule.freq != ICAL_YEARLY_RECURRENCE || rule.interval != 1 || rule.rscale != nullptr
        || HasData(rule.by_second) || HasData(rule.by_minute) || HasData(rule.by_hour)
        || HasData(rule.by_year_day) || HasData(rule.by_week_no) || HasData(rule.by_set_pos))
        return false;
    const int monthNumber = rule.by_month[0];
    if (!HasData(rule.by_month) || rule.by_month[1] != ICAL_RECURRENCE_ARRAY_MAX || monthNumber < 1
        || monthNumber > 12)
        return false;
    for (int i = 0; i < ICAL_BY_DAY_SIZE && rule.by_day[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i) {
        const int position = icalrecurrencetype_day_position(rule.by_day[i]);
        if (position < -5 || position > 5 || (position != 0 && HasData(rule.by_month_day)))
            return false;
    }
    for (int i = 0; i < ICAL_BY_MONTHDAY_SIZE && rule.by_month_day[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i) {
        const int dayNumber = rule.by_month_day[i];
        if (dayNumber == 0 || dayNumber > DaysInMonth(monthNumber) || -dayNumber > DaysInMonth(monthNumber))
            return false;
    }
    return true;
}

// Whether BYMONTH and BYMONTHDAY together name no day at all (30 February,
// 31 April): libical would search thousands of years for one.
bool NamesNoDay(const icalrecurrencetype& rule)
{
    if (!HasData(rule.by_month) || !HasData(rule.by_month_day) || rule.rscale != nullptr)
        return false;
    for (int m = 0; m < ICAL_BY_MONTH_SIZE && rule.by_month[m] != ICAL_RECURRENCE_ARRAY_MAX; ++m) {
        for (int d = 0; d < ICAL_BY_MONTHDAY_SIZE && rule.by_month_day[d] != ICAL_RECURRENCE_ARRAY_MAX; ++d) {
            const int monthNumber = rule.by_month[m];
            if (monthNumber >= 1 && monthNumber <= 12
                && std::abs(rule.by_month_day[d]) <= DaysInMonth(monthNumber))
                return false;
        }
    }
    return true;
}

bool IsPlainZone(icalcomponent* vtimezone)
{
    int observances = 0;
    for (icalcomponent* part = icalcomponent_get_first_component(vtimezone, ICAL_ANY_COMPONENT); part;
         part = icalcomponent_get_next_component(vtimezone, ICAL_ANY_COMPONENT)) {
        const icalcomponent_kind kind = icalcomponent_isa(part);
        if (kind != ICAL_XSTANDARD_COMPONENT && kind != ICAL_XDAYLIGHT_COMPONENT)
            return false;
        icalproperty* start = icalcomponent_get_first_property(part, ICAL_DTSTART_PROPERTY);
        // A start before the Gregorian calendar would have libical expand
        // the observance over centuries.
        const icaltimetype from = start ? icalproperty_get_dtstart(start) : icaltime_null_time();
        if (!WallOf(from) || from.year < 1600
            || !icalcomponent_get_first_property(part, ICAL_TZOFFSETTO_PROPERTY))
            return false;
        for (icalproperty* rule = icalcomponent_get_first_property(part, ICAL_RRULE_PROPERTY); rule;
             rule = icalcomponent_get_next_property(part, ICAL_RRULE_PROPERTY)) {
            if (!IsPlainZoneRule(icalproperty_get_rrule(rule)))
                return false;
        }
        ++observances;
    }
    return observances > 0;
}

void KeepEarliest(CalendarRead& read)
{
    std::stable_sort(read.occurrences.begin(), read.occurrences.end(), ComesBefore);
    if (read.occurrences.size() > kMaxOccurrences) {
        read.occurrences.resize(kMaxOccurrences);
        read.cutShort = true;
    }
}

struct ZoneDeleter {
    void operator()(icaltimezone* zone) const { icaltimezone_free(zone, 1); }
};
struct IteratorDeleter {
    void operator()(icalrecur_iterator* iterator) const { icalrecur_iterator_free(iterator); }
};

// The zones a calendar's TZIDs name: libical's zone of an IANA name first
// (kept up to date with the system), else the calendar's own VTIMEZONE of
// that name when it has a plain shape. An unknown TZID is floating.
class ZoneTable {
public:
    explicit ZoneTable(icalcomponent* vcalendar)
        : vcalendar_(vcalendar)
    {
        for (icalcomponent* zone = icalcomponent_get_first_component(vcalendar, ICAL_VTIMEZONE_COMPONENT);
             zone; zone = icalcomponent_get_next_component(vcalendar, ICAL_VTIMEZONE_COMPONENT)) {
            icalproperty* tzid = icalcomponent_get_first_property(zone, ICAL_TZID_PROPERTY);
            const char* name = tzid ? icalproperty_get_tzid(tzid) : nullptr;
            if (name == nullptr || own_.count(name) || BuiltinZone(name) || !IsPlainZone(zone))
                continue;
            std::unique_ptr<icaltimezone, ZoneDeleter> made(icaltimezone_new());
            if (made && icaltimezone_set_component(made.get(), icalcomponent_new_clone(zone)))
                own_.emplace(name, std::move(made));
        }
    }

    // The zone of a TZID, or nullptr.
    icaltimezone* Find(const std::string& tzid)
    {
        const auto known = found_.find(tzid);
        if (known != found_.end())
            return known->second;
        icaltimezone* zone = BuiltinZone(tzid);
        if (zone == nullptr) {
            const auto own = own_.find(tzid);
            zone = own == own_.end() ? nullptr : own->second.get();
        }
        // Each event may name a zone of its own: the memory stays bounded
        // by the text's size.
        found_.emplace(tzid, zone);
        return zone;
    }

    // X-WR-TIMEZONE: the zone of the calendar's floating times; nullptr
    // when it has none or names no zone.
    icaltimezone* CalendarZone()
    {
        for (icalproperty* p = icalcomponent_get_first_property(vcalendar_, ICAL_X_PROPERTY); p;
             p = icalcomponent_get_next_property(vcalendar_, ICAL_X_PROPERTY)) {
            const char* name = icalproperty_get_x_name(p);
            const char* value = icalproperty_get_x(p);
            if (name && value && std::string_view(name) == "X-WR-TIMEZONE")
                return Find(value);
        }
        return nullptr;
    }

private:
    icalcomponent* vcalendar_;
    std::map<std::string, std::unique_ptr<icaltimezone, ZoneDeleter>> own_;
    std::unordered_map<std::string, icaltimezone*> found_;
};

// The summary as one line of Shift_JIS: line ends and other control
// characters become spaces, a long one is cut.
std::string SummaryText(const char* utf8)
{
    std::string line;
    std::size_t characters = 0;
    bool cut = false;
    for (const char* p = utf8 ? utf8 : ""; *p; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if ((c & 0xC0) != 0x80 && ++characters > kMaxSummaryCharacters) {
            cut = true;
            break;
        }
        line += c < 0x20 || c == 0x7F ? ' ' : static_cast<char>(c);
    }
    const std::string_view trimmed = jconvert::TrimBlanks(line);
    if (trimmed.empty())
        return texts::kNoTitle;
    return jconvert::Utf8ToCp932(trimmed) + (cut ? texts::kCut : std::string());
}

// Instants of one event compare by their key: a date's day number, a
// zoned time's UTC seconds, a local wall-clock time's seconds.
struct Instant {
    Seconds value;
    bool isDate;
    bool operator==(const Instant&) const = default;
};
struct InstantHash {
    std::size_t operator()(const Instant& i) const { return std::hash<Seconds> {}(i.value * 2 + i.isDate); }
};
using InstantSet = std::unordered_set<Instant, InstantHash>;

class CalendarPass {
public:
    CalendarPass(const LocalZone& local, sys_days first, sys_days last, WorkBudget& budget,
        icalcomponent* vcalendar, CalendarRead& out)
        : local_(local)
        , first_(first)
        , last_(last)
        , budget_(budget)
        , vcalendar_(vcalendar)
        , zones_(vcalendar)
        , out_(out)
    {
        calendarZone_ = zones_.CalendarZone();
        nearFirst_ = (first.time_since_epoch().count() - kMarginDays) * kDay;
        nearEnd_ = (last.time_since_epoch().count() + kMarginDays + 1) * kDay - 1;
    }

    void Run()
    {
        // The replaced occurrences first: a series may come before or after
        // the events that replace its occurrences.
        ForEachEvent([this](icalcomponent* event) {
            icalproperty* id = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY);
            const char* uid = icalcomponent_get_uid(event);
            if (id == nullptr || uid == nullptr)
                return;
            if (const std::optional<Instant> at
                = NearInstant(icalproperty_get_recurrenceid(id), id, calendarZone_))
                replaced_[uid].insert(*at);
        });
        ForEachEvent([this](icalcomponent* event) { ReadEvent(event); });
    }

private:
    template <typename F> void ForEachEvent(F&& f)
    {
        for (icalcomponent* event = icalcomponent_get_first_component(vcalendar_, ICAL_VEVENT_COMPONENT);
             event; event = icalcomponent_get_next_component(vcalendar_, ICAL_VEVENT_COMPONENT))
            f(event);
    }

    // The zone a value is in: UTC, its TZID's zone, or fallback for a
    // value without one (nullptr: the local wall clock).
    icaltimezone* ZoneOf(const icaltimetype& t, icalproperty* property, icaltimezone* fallback)
    {
        if (icaltime_is_utc(t))
            return icaltimezone_get_utc_timezone();
        icalparameter* tzid = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
        const char* name = tzid ? icalparameter_get_tzid(tzid) : nullptr;
        if (name == nullptr)
            return fallback;
        icaltimezone* zone = zones_.Find(name);
        return zone ? zone : calendarZone_;
    }

    Instant InstantOf(Seconds wall, bool isDate, icaltimezone* zone) const
    {
        if (isDate)
            return { DayOf(wall), true };
        if (zone == nullptr)
            return { wall, false };
        return { static_cast<Seconds>(icaltime_as_timet_with_zone(TimeOfWall(wall, false), zone)), false };
    }

    bool IsNear(Seconds wall) const { return wall >= nearFirst_ && wall <= nearEnd_; }

    // The instant of a value near the window (others cannot touch it).
    std::optional<Instant> NearInstant(const icaltimetype& t, icalproperty* property, icaltimezone* fallback)
    {
        const std::optional<Seconds> wall = WallOf(t);
        if (!wall || !IsNear(*wall))
            return std::nullopt;
        return InstantOf(*wall, t.is_date != 0, ZoneOf(t, property, fallback));
    }

    struct Event {
        const InstantSet* replaced = nullptr;
        InstantSet excluded;
        std::unordered_set<Seconds> excludedDays;
        InstantSet seen;
        std::string summary;
        icaltimezone* zone = nullptr;
    };

    void ReadEvent(icalcomponent* component)
    {
        const bool replacement
            = icalcomponent_get_first_property(component, ICAL_RECURRENCEID_PROPERTY) != nullptr;
        if (!replacement)
            ++out_.eventCount;
        icalproperty* startProperty = icalcomponent_get_first_property(component, ICAL_DTSTART_PROPERTY);
        const icaltimetype start
            = startProperty ? icalproperty_get_dtstart(startProperty) : icaltime_null_time();
        const std::optional<Seconds> startWall = WallOf(start);
        if (!startWall) {
            ++out_.skippedEvents;
            return;
        }
        if (icalcomponent_get_status(component) == ICAL_STATUS_CANCELLED)
            return;

        Event event;
        event.zone = ZoneOf(start, startProperty, calendarZone_);
        event.summary = SummaryText(icalcomponent_get_summary(component));
        const bool isDate = start.is_date != 0;
        if (replacement) {
            // A replaced occurrence stands for itself only.
            if (IsNear(*startWall))
                Emit(event, *startWall, isDate, event.zone);
            return;
        }
        const char* uid = icalcomponent_get_uid(component);
        if (uid != nullptr) {
            const auto found = replaced_.find(uid);
            if (found != replaced_.end())
                event.replaced = &found->second;
        }
        for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_EXDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(component, ICAL_EXDATE_PROPERTY)) {
            const icaltimetype t = icalproperty_get_exdate(p);
            if (const std::optional<Instant> at = NearInstant(t, p, event.zone)) {
                // A date excludes the series' occurrences on that day.
                if (at->isDate)
                    event.excludedDays.insert(at->value);
                else
                    event.excluded.insert(*at);
            }
        }

        // The start is the first occurrence, whatever the rules say.
        if (IsNear(*startWall))
            Emit(event, *startWall, isDate, event.zone);
        bool unexpanded = false;
        for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_RRULE_PROPERTY); p;
             p = icalcomponent_get_next_property(component, ICAL_RRULE_PROPERTY))
            unexpanded |= !Expand(event, icalproperty_get_rrule(p), *startWall, start, isDate);
        for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_RDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(component, ICAL_RDATE_PROPERTY)) {
            const icaldatetimeperiodtype value = icalproperty_get_rdate(p);
            const icaltimetype t = icaltime_is_null_time(value.time) ? value.period.start : value.time;
            const std::optional<Seconds> wall = WallOf(t);
            if (wall && IsNear(*wall))
                Emit(event, *wall, t.is_date != 0, ZoneOf(t, p, event.zone));
        }
        if (unexpanded)
            ++out_.skippedEvents;
    }

    // Steps through one RRULE near the window. False when the rule cannot
    // be expanded at all.
    bool Expand(
        Event& event, icalrecurrencetype rule, Seconds startWall, const icaltimetype& start, bool isDate)
    {
        // Every second is more than a wallpaper can show and more work than
        // a reading may take.
        if (rule.freq == ICAL_NO_RECURRENCE || rule.freq == ICAL_SECONDLY_RECURRENCE || rule.interval < 1
            || NamesNoDay(rule))
            return false;
        if (budget_.Spent()) {
            out_.cutShort = true;
            return true;
        }
        Seconds from = startWall;
        if (rule.count == 0 && rule.rscale == nullptr)
            from = Rebased(rule, start, startWall);
        // The end: the rule's own UNTIL or the window's, whichever comes
        // first. UNTIL in UTC is turned to the start's wall clock.
        Seconds until = nearEnd_;
        if (!icaltime_is_null_time(rule.until)) {
            if (const std::optional<Seconds> wall = WallOf(rule.until); wall && *wall <= nearEnd_) {
                until = *wall;
                if (!rule.until.is_date && icaltime_is_utc(rule.until) && event.zone != nullptr)
                    until = WallOf(icaltime_convert_to_zone(rule.until, event.zone)).value_or(*wall);
            }
        }
        if (until < from)
            return true;
        // libical steps on the wall clock alone: its times stay floating,
        // so no zone is looked up while it runs.
        rule.until = TimeOfWall(isDate ? DayOf(until) * kDay : until, isDate);
        const std::unique_ptr<icalrecur_iterator, IteratorDeleter> iterator(
            icalrecur_iterator_new(rule, TimeOfWall(from, isDate)));
        if (!iterator)
            return false;
        for (int steps = 0;; ++steps) {
            if (steps == kMaxStepsPerRule || (steps % 64 == 63 && budget_.Spent())) {
                out_.cutShort = true;
                break;
            }
            const icaltimetype t = icalrecur_iterator_next(iterator.get());
            const std::optional<Seconds> wall = WallOf(t);
            if (!wall || *wall > nearEnd_)
                break;
            if (IsNear(*wall))
                Emit(event, *wall, isDate, event.zone);
        }
        return true;
    }

    // Where to start a rule without COUNT so that libical need not step
    // from a start years back: a whole number of the rule's periods later,
    // at least one period before the window. The parts of the rule libical
    // would take from the start (the day of the month, the month, the
    // weekday) are written into the rule first, so the rule stays the same.
    Seconds Rebased(icalrecurrencetype& rule, const icaltimetype& start, Seconds startWall)
    {
        const Seconds target = nearFirst_;
        if (startWall >= target)
            return startWall;
        const Seconds interval = rule.interval;
        const Seconds timeOfDay = startWall - DayOf(startWall) * kDay;
        const auto periods
            = [&](Seconds span, Seconds length) { return std::max<Seconds>(0, span / length - 1); };
        switch (rule.freq) {
        case ICAL_MINUTELY_RECURRENCE:
        case ICAL_HOURLY_RECURRENCE:
        case ICAL_DAILY_RECURRENCE:
        case ICAL_WEEKLY_RECURRENCE: {
            const Seconds unit = rule.freq == ICAL_MINUTELY_RECURRENCE ? 60
                : rule.freq == ICAL_HOURLY_RECURRENCE                  ? 3600
                : rule.freq == ICAL_DAILY_RECURRENCE                   ? kDay
                                                                       : 7 * kDay;
            if (rule.freq == ICAL_WEEKLY_RECURRENCE && !HasData(rule.by_day))
                SetOne(rule.by_day, icaltime_day_of_week(start));
            return startWall + periods(target - startWall, unit * interval) * unit * interval;
        }
        case ICAL_MONTHLY_RECURRENCE:
        case ICAL_YEARLY_RECURRENCE: {
            const year_month_day from { sys_days { std::chrono::days { DayOf(startWall) } } };
            const year_month_day to { sys_days { std::chrono::days { DayOf(target) } } };
            const Seconds months = (static_cast<int>(to.year()) - static_cast<int>(from.year())) * 12
                + static_cast<unsigned>(to.month()) - static_cast<unsigned>(from.month());
            const bool noDays = !HasData(rule.by_day) && !HasData(rule.by_month_day)
                && !HasData(rule.by_year_day) && !HasData(rule.by_week_no);
            year_month_day rebased;
            if (rule.freq == ICAL_MONTHLY_RECURRENCE) {
                if (noDays)
                    SetOne(rule.by_month_day, start.day);
                const Seconds step = periods(months + 1, interval) * interval;
                if (step == 0)
                    return startWall;
                rebased = year_month_day { from.year() / from.month() / 1 } + std::chrono::months { step };
            } else {
                if (noDays && !HasData(rule.by_month))
                    SetOne(rule.by_month, start.month);
                if (noDays)
                    SetOne(rule.by_month_day, start.day);
                if (HasData(rule.by_week_no) && !HasData(rule.by_day))
                    SetOne(rule.by_day, icaltime_day_of_week(start));
                const Seconds step = periods(months / 12 + 1, interval) * interval;
                if (step == 0)
                    return startWall;
                rebased = year_month_day { from.year() / January / 1 } + std::chrono::years { step };
            }
            return sys_days { rebased }.time_since_epoch().count() * kDay + timeOfDay;
        }
        default:
            return startWall;
        }
    }

    void Emit(Event& event, Seconds wall, bool isDate, icaltimezone* zone)
    {
        const Instant at = InstantOf(wall, isDate, zone);
        if (event.excluded.count(at) || event.excludedDays.count(DayOf(wall))
            || (event.replaced && event.replaced->count(at)) || !event.seen.insert(at).second)
            return;
        sys_days date;
        std::optional<minutes> time;
        if (isDate) {
            date = sys_days { std::chrono::days { at.value } };
        } else if (zone == nullptr) {
            date = sys_days { std::chrono::days { DayOf(wall) } };
            time = minutes { (wall - DayOf(wall) * kDay) / 60 };
        } else {
            const LocalTime local = local_.FromUtc(static_cast<std::time_t>(at.value));
            date = local.date;
            time = local.time;
        }
        if (date < first_ || date > last_)
            return;
        out_.occurrences.push_back({ year_month_day { date }, time, event.summary });
        if (out_.occurrences.size() >= 2 * kMaxOccurrences)
            KeepEarliest(out_);
    }

    const LocalZone& local_;
    sys_days first_;
    sys_days last_;
    WorkBudget& budget_;
    icalcomponent* vcalendar_;
    ZoneTable zones_;
    CalendarRead& out_;
    icaltimezone* calendarZone_ = nullptr;
    Seconds nearFirst_ = 0;
    Seconds nearEnd_ = 0;
    std::unordered_map<std::string, InstantSet> replaced_;
};

} // namespace

WorkBudget::WorkBudget(std::chrono::milliseconds limit)
    : deadlineNs_(ThreadCpuNs() + std::chrono::nanoseconds(limit).count())
{
}

bool WorkBudget::Spent() const
{
    return ThreadCpuNs() > deadlineNs_;
}

EventExpander::EventExpander(const LocalZone& local, sys_days first, sys_days last, WorkBudget& budget)
    : local_(local)
    , first_(first)
    , last_(last)
    , budget_(budget)
{
}

void EventExpander::Read(icalcomponent* vcalendar, CalendarRead& out)
{
    CalendarPass(local_, first_, last_, budget_, vcalendar, out).Run();
    KeepEarliest(out);
}

} // namespace calendar
