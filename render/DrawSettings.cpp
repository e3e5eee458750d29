#include "render/DrawSettings.h"

#include "jconvert/AsciiText.h"

#include <climits>

namespace render {

int ParseIntBox(const std::string& text, int fallback)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size())
        return fallback;
    long long value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        const int digit = jconvert::AsciiHexValue(c);
        if (digit < 0 || digit >= base)
            return fallback;
        value = value * base + digit;
        if (value > static_cast<long long>(INT_MAX) + 1)
            return fallback;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX || value < INT_MIN)
        return fallback;
    return static_cast<int>(value);
}

MemoStyle ResolveStyle(const DrawSettings& s)
{
    MemoStyle style;
    style.charsPerLine = ParseIntBox(s.EdMojiSu, 10);
    style.linesPerColumn = ParseIntBox(s.EdGyosu, 10);
    style.fontSize = ParseIntBox(s.EdFontSize, 15);
    style.paragraphGap = ParseIntBox(s.EdGyokan, 4);
    style.topMargin = ParseIntBox(s.EdUeYohaku, 10);
    style.rightMargin = ParseIntBox(s.EdMigiYohaku, 10);
    style.textColor = s.LbMojiIro;
    style.shadowMode = s.RgKage;
    style.shadowColor = s.LbKageIro;
    style.titleMode = s.RgTitle;
    style.title = s.EdTitle;
    style.backgroundPercent = ParseIntBox(s.EdRitu, 0);
    style.backgroundMode = s.RgHaikei;
    style.showSchedule = s.ChScMemo;
    style.lookAheadWeekly = ParseIntBox(s.EdScW, 1);
    style.lookAheadMonthly = ParseIntBox(s.EdScM, 3);
    style.lookAheadYearly = ParseIntBox(s.EdScY, 3);
    style.lookAheadDated = ParseIntBox(s.EdScD, 3);
    return style;
}

} // namespace render
