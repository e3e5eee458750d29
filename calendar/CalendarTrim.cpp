#include "calendar/CalendarTrim.h"

#include "jconvert/AsciiText.h"

#include <array>
#include <chrono>
#include <optional>
#include <vector>

namespace calendar {

namespace {

using jconvert::EqualsIgnoringAsciiCase;

constexpr std::array<std::string_view, 8> kEventProperties
    = { "UID", "DTSTART", "SUMMARY", "RRULE", "RDATE", "EXDATE", "RECURRENCE-ID", "STATUS" };
constexpr std::array<std::string_view, 5> kObservanceProperties
    = { "DTSTART", "TZOFFSETFROM", "TZOFFSETTO", "RRULE", "RDATE" };

bool OneOf(std::string_view name, auto const& names)
{
    for (std::string_view n : names) {
        if (EqualsIgnoringAsciiCase(name, n))
            return true;
    }
    return false;
}

// The kinds of component kept, by where they stand.
enum class Kind { Dropped, Calendar, Event, TimeZone, Observance };

struct Open {
    std::string name;
    Kind kind;
};

// A logical line (a line with its folded continuations): its name and how
// many parameters it has.
struct LineShape {
    std::string_view name;
    std::size_t parameters = 0;
    std::string_view value; // after the first ':' outside quotes
};

LineShape ShapeOf(std::string_view line)
{
    LineShape shape;
    std::size_t i = 0;
    while (i < line.size() && line[i] != ';' && line[i] != ':')
        ++i;
    shape.name = jconvert::TrimBlanks(line.substr(0, i));
    bool quoted = false;
    for (; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && c == ';') {
            ++shape.parameters;
        } else if (!quoted && c == ':') {
            shape.value = line.substr(i + 1);
            break;
        }
    }
    return shape;
}

// The value of a BEGIN or END line without folds and blanks: the
// component's name.
std::string ComponentName(std::string_view value)
{
    std::string name;
    for (const char c : value) {
        if (!jconvert::IsAsciiBlank(c))
            name += jconvert::AsciiUpper(c);
        if (name.size() > 64)
            break;
    }
    return name;
}

// The day a DTSTART value begins with (YYYYMMDD), as days since
// 1970-01-01; nothing for any other value.
std::optional<std::int64_t> DayOfValue(std::string_view value)
{
    value = jconvert::TrimBlanks(value);
    int digits[8];
    for (int i = 0; i < 8; ++i) {
        if (static_cast<std::size_t>(i) >= value.size() || value[i] < '0' || value[i] > '9')
            return std::nullopt;
        digits[i] = value[i] - '0';
    }
    using namespace std::chrono;
    const year_month_day date { year { digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3] },
        month { static_cast<unsigned>(digits[4] * 10 + digits[5]) },
        day { static_cast<unsigned>(digits[6] * 10 + digits[7]) } };
    if (!date.ok())
        return std::nullopt;
    return sys_days { date }.time_since_epoch().count();
}

class Trimmer {
public:
    explicit Trimmer(DayRange wanted)
        : wanted_(wanted)
    {
    }

    TrimmedCalendar Run(std::string_view text)
    {
        std::size_t start = 0;
        while (start < text.size()) {
            // A logical line runs up to a line end not followed by a space
            // or tab.
            std::size_t end = start;
            for (;;) {
                while (end < text.size() && text[end] != '\r' && text[end] != '\n')
                    ++end;
                if (end == text.size())
                    break;
                std::size_t next
                    = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
                if (next < text.size() && (text[next] == ' ' || text[next] == '\t')) {
                    end = next;
                    continue;
                }
                break;
            }
            Line(text.substr(start, end - start));
            start = end;
            while (start < text.size() && (text[start] == '\r' || text[start] == '\n'))
                ++start;
        }
        // Components never ended are not passed on; an event among them
        // counts as dropped.
        while (!open_.empty())
            Close(false);
        return std::move(out_);
    }

private:
    void Line(std::string_view line)
    {
        // libical reads C strings: a NUL would end the whole text there.
        if (line.find('\0') != std::string_view::npos) {
            heldBroken_ = heldBroken_ || !held_.empty();
            return;
        }
        const LineShape shape = ShapeOf(line);
        if (EqualsIgnoringAsciiCase(shape.name, "BEGIN")) {
            Begin(ComponentName(shape.value), line);
        } else if (EqualsIgnoringAsciiCase(shape.name, "END")) {
            // Nesting deeper than any kept component is only counted.
            if (deepDrops_ > 0) {
                --deepDrops_;
                return;
            }
            const std::string name = ComponentName(shape.value);
            // An END that matches no open component is ignored; one that
            // matches an outer one ends the inner ones too.
            for (std::size_t i = open_.size(); i-- > 0;) {
                if (open_[i].name == name) {
                    while (open_.size() > i + 1)
                        Close(false);
                    Close(true);
                    break;
                }
            }
        } else if (!open_.empty()) {
            Property(shape, line);
        }
    }

    void Begin(std::string name, std::string_view line)
    {
        const Kind parent = open_.empty() ? Kind::Dropped : open_.back().kind;
        Kind kind = Kind::Dropped;
        if (open_.empty() && name == "VCALENDAR")
            kind = Kind::Calendar;
        else if (parent == Kind::Calendar && name == "VEVENT" && events_ < kMaxEvents)
            kind = Kind::Event;
        else if (parent == Kind::Calendar && name == "VEVENT")
            ++out_.droppedEvents;
        else if (parent == Kind::Calendar && name == "VTIMEZONE" && timeZones_ < kMaxTimeZones)
            kind = Kind::TimeZone;
        else if (parent == Kind::TimeZone && (name == "STANDARD" || name == "DAYLIGHT")
            && observances_ < kMaxObservances)
            kind = Kind::Observance;
        if (open_.size() >= 8) {
            ++deepDrops_;
            return;
        }
        if (kind == Kind::Event)
            ++events_;
        if (kind == Kind::TimeZone) {
            ++timeZones_;
            observances_ = 0;
        }
        if (kind == Kind::Observance)
            ++observances_;
        if (kind == Kind::Calendar) {
            out_.text.append("BEGIN:VCALENDAR\r\n");
        } else if (kind != Kind::Dropped) {
            // Events and time zones are held until they end whole.
            if (kind == Kind::Event || kind == Kind::TimeZone) {
                held_.clear();
                heldLines_ = 0;
                heldBroken_ = false;
                repeats_ = false;
                startDay_.reset();
            }
            Hold(line);
        }
        open_.push_back({ std::move(name), kind });
    }

    void Close(bool ended)
    {
        const Open top = open_.back();
        open_.pop_back();
        switch (top.kind) {
        case Kind::Calendar:
            out_.text.append("END:VCALENDAR\r\n");
            break;
        case Kind::Observance:
            Hold("END:" + top.name);
            break;
        case Kind::Event:
        case Kind::TimeZone:
            if (ended && !heldBroken_ && top.kind == Kind::Event && !repeats_ && startDay_
                && (*startDay_ < wanted_.first || *startDay_ > wanted_.last)) {
                ++out_.farEvents;
            } else if (ended && !heldBroken_) {
                Hold("END:" + top.name);
                out_.text.append(held_);
            } else if (top.kind == Kind::Event) {
                ++out_.droppedEvents;
            }
            held_.clear();
            break;
        case Kind::Dropped:
            break;
        }
    }

    void Property(const LineShape& shape, std::string_view line)
    {
        const Kind kind = open_.back().kind;
        bool keep = false;
        if (kind == Kind::Calendar)
            keep = EqualsIgnoringAsciiCase(shape.name, "X-WR-TIMEZONE");
        else if (kind == Kind::Event)
            keep = OneOf(shape.name, kEventProperties);
        else if (kind == Kind::TimeZone)
            keep = EqualsIgnoringAsciiCase(shape.name, "TZID");
        else if (kind == Kind::Observance)
            keep = OneOf(shape.name, kObservanceProperties);
        if (!keep)
            return;
        if (kind == Kind::Calendar) {
            if (shape.parameters <= kMaxParameters && calendarLines_++ < kMaxLinesPerComponent) {
                out_.text.append(line);
                out_.text.append("\r\n");
            }
            return;
        }
        if (shape.parameters > kMaxParameters || ++heldLines_ > kMaxLinesPerComponent) {
            heldBroken_ = true;
            return;
        }
        if (kind == Kind::Event) {
            if (EqualsIgnoringAsciiCase(shape.name, "DTSTART"))
                startDay_ = DayOfValue(shape.value);
            else if (!EqualsIgnoringAsciiCase(shape.name, "UID")
                && !EqualsIgnoringAsciiCase(shape.name, "SUMMARY")
                && !EqualsIgnoringAsciiCase(shape.name, "STATUS")
                && !EqualsIgnoringAsciiCase(shape.name, "EXDATE"))
                repeats_ = true; // RRULE, RDATE, RECURRENCE-ID
        }
        Hold(line);
    }

    void Hold(std::string_view line)
    {
        if (heldBroken_)
            return;
        held_.append(line);
        held_.append("\r\n");
    }

    DayRange wanted_;
    TrimmedCalendar out_;
    std::vector<Open> open_;
    bool repeats_ = false;
    std::optional<std::int64_t> startDay_;
    std::string held_; // the event or time zone being read
    std::size_t heldLines_ = 0;
    bool heldBroken_ = false;
    std::size_t deepDrops_ = 0;
    std::size_t events_ = 0;
    std::size_t timeZones_ = 0;
    std::size_t observances_ = 0;
    std::size_t calendarLines_ = 0;
};

} // namespace

TrimmedCalendar TrimCalendarText(std::string_view text, DayRange wanted)
{
    return Trimmer(wanted).Run(text);
}

} // namespace calendar
