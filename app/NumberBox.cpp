#include "app/NumberBox.h"

#include "jconvert/AsciiText.h"

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
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    return jconvert::ParseInt32(text).value_or(fallback);
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
