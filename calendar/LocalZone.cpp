#include "calendar/LocalZone.h"

#include "calendar/CalendarError.h"
#include "calendar/Texts.h"

#include <libical/ical.h>

namespace calendar {

namespace {

// An IANA zone name: segments of letters, digits, '_', '-' and '+' joined
// by '/' ("America/Argentina/Buenos_Aires", "Etc/GMT+9"); no dots, so no
// path can leave the zone folder or name one of its data files.
bool IsZoneName(std::string_view name)
{
    if (name.empty() || name.size() > 64 || name.front() == '/' || name.back() == '/')
        return false;
    char previous = '/';
    for (const char c : name) {
        const bool word = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')
            || c == '_' || c == '-' || c == '+';
        if (!word && !(c == '/' && previous != '/'))
            return false;
        previous = c;
    }
    return true;
}

icaltimezone* NamedZone(std::string_view name)
{
    if (!IsZoneName(name))
        return nullptr;
    return icaltimezone_get_builtin_timezone(std::string(name).c_str());
}

} // namespace

icaltimezone* BuiltinZone(std::string_view tzid)
{
    if (tzid.size() > 256)
        return nullptr;
    // Exporters prefix the IANA name with their own path; try each tail.
    for (;;) {
        if (icaltimezone* zone = NamedZone(tzid))
            return zone;
        const std::size_t slash = tzid.find('/');
        if (slash == std::string_view::npos)
            return nullptr;
        tzid.remove_prefix(slash + 1);
    }
}

LocalZone::LocalZone(const std::string& name)
{
    if (name.empty())
        return;
    zone_ = NamedZone(name);
    if (zone_ == nullptr)
        throw CalendarError(texts::kUnknownZone + jconvert::Utf8ToCp932(name));
}

LocalTime LocalZone::FromUtc(std::time_t utc) const
{
    using namespace std::chrono;
    int y = 1970, m = 1, d = 1, hh = 0, mm = 0;
    if (zone_ != nullptr) {
        const icaltimetype t = icaltime_from_timet_with_zone(utc, 0, zone_);
        y = t.year, m = t.month, d = t.day, hh = t.hour, mm = t.minute;
    } else {
        std::tm parts {};
        if (::localtime_r(&utc, &parts) != nullptr)
            y = parts.tm_year + 1900, m = parts.tm_mon + 1, d = parts.tm_mday, hh = parts.tm_hour,
            mm = parts.tm_min;
    }
    return { sys_days { year { y } / month { static_cast<unsigned>(m) } / day { static_cast<unsigned>(d) } },
        minutes { hh * 60 + mm } };
}

} // namespace calendar
