#include "app/NumberBox.h"

#include <cstdint>
#include <limits>
#include <utility>

namespace app {

NumberBox::NumberBox(std::string text, int fallback)
    : text_(std::move(text))
    , fallback_(fallback)
    , value_(ParseInteger(text_, fallback))
{
}

void NumberBox::SetText(std::string text)
{
    text_ = std::move(text);
    value_ = ParseInteger(text_, fallback_);
}

int ParseInteger(std::string_view text, int fallback)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        return fallback;
    // Accumulate the magnitude; one past INT_MAX is allowed for INT_MIN.
    const std::int64_t limit
        = static_cast<std::int64_t>(std::numeric_limits<int>::max()) + (negative ? 1 : 0);
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return fallback;
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit)
            return fallback;
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

int ClampRadioIndex(int index, int items)
{
    if (index > items - 1)
        return items - 1;
    if (index < -1)
        return -1;
    return index;
}

int PortNumber(std::string_view text)
{
    const int port = ParseInteger(text, 0);
    return port >= 1 && port <= 65535 ? port : 0;
}

} // namespace app
