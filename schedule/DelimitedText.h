#pragma once

// Splitting of a delimited line the way "schedule.txt" lines and normalised
// date expressions are read (internal to the schedule module).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace schedule {

// Cuts text into fields at delimiter:
// - spaces and control characters are skipped at the start, after a field
//   and after a delimiter;
// - a field that begins with '"' runs to the closing quote, "" inside it
//   standing for one quote (an unclosed quote runs to the end of the text);
// - an unquoted field runs up to the next delimiter, space or control
//   character; if what follows a field is not the delimiter, it starts the
//   next field;
// - two delimiters in a row enclose an empty field, and a delimiter that is
//   the very last byte adds an empty last field;
// - a zero byte ends the text.
// At most maxFields fields are made; the rest of the text is not looked at,
// so a line of millions of delimiters costs no more than its first fields.
std::vector<std::string> SplitDelimited(
    std::string_view text, char delimiter, std::size_t maxFields = static_cast<std::size_t>(-1));

// A decimal integer: an optional sign and at least one ASCII digit, nothing
// else, within the range of int32; otherwise nothing.
std::optional<std::int32_t> ParseDecimal(std::string_view text);

} // namespace schedule
