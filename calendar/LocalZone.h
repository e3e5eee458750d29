#pragma once

// The time zone occurrences are shown in: one of libical's zones by IANA
// name, or the process's own (the C library's localtime, which follows TZ
// and /etc/localtime).

#include <chrono>
#include <ctime>
#include <string>
#include <string_view>

struct _icaltimezone;

namespace calendar {

struct LocalTime {
    std::chrono::sys_days date;
    std::chrono::minutes time; // after midnight
};

class LocalZone {
public:
    // name: an IANA zone name, or empty for the process's zone. An unknown
    // name throws CalendarError.
    explicit LocalZone(const std::string& name);

    LocalTime FromUtc(std::time_t utc) const;

private:
    _icaltimezone* zone_ = nullptr; // nullptr: the process's zone
};

// libical's zone of an IANA name ("Asia/Tokyo"), also inside a longer TZID
// such as "/mozilla.org/20050126_1/Asia/Tokyo"; nullptr for anything else.
// Names are checked first: libical reads a zone it does not list from the
// file of that name under the zone folder, and a name like
// "../../dev/stdin" must never reach it.
_icaltimezone* BuiltinZone(std::string_view tzid);

} // namespace calendar
