#include "schedule/DateRule.h"

#include "jconvert/AsciiText.h"
#include "schedule/DelimitedText.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace schedule {

namespace {

// Gregorian year of year 1 of each era, less one.
constexpr std::int32_t kHeiseiBase = 1988;
constexpr std::int32_t kReiwaBase = 2018;

// ASCII digits only, at most nine of them: no sign, no space.
std::optional<std::int32_t> Digits(std::string_view text)
{
    if (text.size() > 9)
        return std::nullopt;
    const auto value = jconvert::ParseDigits(text);
    return value ? std::optional<std::int32_t>(static_cast<std::int32_t>(*value)) : std::nullopt;
}

// A year field: Gregorian digits, "-n" for 平成n or "Rn" for 令和n.
// Gives the Gregorian year, 0 for era year 0, nothing when not a number.
std::optional<std::int32_t> Year(std::string_view text)
{
    std::int32_t base = 0;
    if (!text.empty() && (text[0] == '-' || text[0] == 'R')) {
        base = text[0] == '-' ? kHeiseiBase : kReiwaBase;
        text.remove_prefix(1);
    }
    const std::optional<std::int32_t> year = Digits(text);
    if (!year)
        return std::nullopt;
    if (base != 0 && *year == 0)
        return 0;
    return base + *year;
}

// The last day of month m (1..12) in year, or in a leap year (February
// has 29 days in some year) when no year is given.
unsigned LastDay(std::optional<std::int32_t> year, std::int32_t m)
{
    using namespace std::chrono;
    const year_month_day_last last { std::chrono::year { year.value_or(2000) } / month { unsigned(m) }
        / std::chrono::last };
    return static_cast<unsigned>(last.day());
}

// The number of fields after the kind, by kind 1..7.
constexpr std::size_t kFieldCounts[] = { 0, 1, 1, 2, 2, 3, 2, 3 };

} // namespace

DateRule ReadDateRule(std::string_view normalized)
{
    DateRule rule;
    const std::vector<std::string> fields = SplitDelimited(normalized, '/');
    const std::optional<std::int32_t> kind = fields.empty() ? std::nullopt : Digits(fields[0]);
    if (!kind || *kind < 1 || *kind > 7)
        return rule;
    rule.kind = *kind;
    rule.fault = DateFault::Fields;
    if (fields.size() != kFieldCounts[*kind] + 1)
        return rule;

    std::int32_t* const numbers[] = { &rule.a, &rule.b, &rule.c };
    for (std::size_t i = 1; i < fields.size(); ++i) {
        const std::optional<std::int32_t> value
            = (*kind == 7 && i == 1) ? Year(fields[i]) : Digits(fields[i]);
        if (!value)
            return rule;
        *numbers[i - 1] = *value;
    }

    const auto fault = [&rule](bool bad, DateFault why) {
        if (bad && rule.fault == DateFault::None)
            rule.fault = why;
    };
    const auto weekday = [&](std::int32_t w) { fault(w > 6, DateFault::Weekday); };
    const auto nth = [&](std::int32_t n) { fault(n < 1 || n > 5, DateFault::Nth); };
    const auto monthDay = [&](std::optional<std::int32_t> year, std::int32_t m, std::int32_t d) {
        fault(m < 1 || m > 12, DateFault::Month);
        if (rule.fault == DateFault::None)
            fault(d < 1 || static_cast<unsigned>(d) > LastDay(year, m), DateFault::NoSuchDay);
    };

    rule.fault = DateFault::None;
    switch (rule.kind) {
    case 1:
        weekday(rule.a);
        break;
    case 2:
        fault(rule.a < 1 || rule.a > 31, DateFault::DayOfMonth);
        break;
    case 3:
        nth(rule.a);
        weekday(rule.b);
        break;
    case 4:
    case 6:
        monthDay(std::nullopt, rule.a, rule.b);
        break;
    case 5:
        fault(rule.a < 1 || rule.a > 12, DateFault::Month);
        nth(rule.b);
        weekday(rule.c);
        break;
    case 7:
        fault(rule.a < 1 || rule.a > 9999, DateFault::Year);
        if (rule.fault == DateFault::None)
            monthDay(rule.a, rule.b, rule.c);
        break;
    }
    return rule;
}

} // namespace schedule
