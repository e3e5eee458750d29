#pragma once

#include <string>

namespace schedule {

// One schedule entry: a date expression and its text, both Shift_JIS as
// typed (or as the check rewrote the date).
struct Entry {
    std::string date;
    std::string text;
};

} // namespace schedule
