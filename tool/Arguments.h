#pragma once

// Reading of the subcommands' own arguments: numbers and dates as typed on
// a command line.

#include <charconv>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace tool {

// A whole argument as a decimal number of type T (a leading '+' or, for
// signed types, '-' allowed), or nothing when anything else is in it or the
// value does not fit.
template <typename T> std::optional<T> ParseNumber(std::string_view text)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    T value {};
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

// An argument as a message shows it (Shift_JIS, like the message around
// it): the command line is the locale's text, UTF-8.
std::string Shown(std::string_view argument);

// YYYY-MM-DD, a real calendar date in years 1 to 9999; otherwise nothing.
std::optional<std::chrono::year_month_day> ParseIsoDate(std::string_view text);

} // namespace tool
