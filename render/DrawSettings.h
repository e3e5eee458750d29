#pragma once

#include "render/Canvas.h"
#include "render/Texts.h"

#include <string>

namespace render {

// The settings tab as a draw reads it: the edit boxes' text as typed, the
// choices and colours as the controls hold them. Member names follow the
// window's controls. Defaults are the controls' initial values.
struct DrawSettings {
    std::string EdMojiSu = "15";
    std::string EdGyosu = "20";
    std::string EdFontSize = "15";
    std::string EdGyokan = "4";
    std::string EdUeYohaku = "10";
    std::string EdMigiYohaku = "300";
    ColorRef LbMojiIro = 0x0000FF00;
    int RgKage = 0;
    ColorRef LbKageIro = 0x00C0C0C0;
    int RgTitle = 1;
    std::string EdTitle = texts::kDefaultTitle;
    std::string EdRitu = "50";
    int RgHaikei = 0;
    bool ChShowMemo = false; // checked: no text at all
    std::string EdScW = "1";
    std::string EdScM = "3";
    std::string EdScY = "5";
    std::string EdScD = "10";
    bool ChScMemo = true;

    bool operator==(const DrawSettings&) const = default;
};

// The numbers and choices of one draw, with each box's fallback applied.
struct MemoStyle {
    int charsPerLine = 10; // N: a display line holds at most 2N bytes
    int linesPerColumn = 10;
    int fontSize = 15; // points
    int paragraphGap = 4;
    int topMargin = 10;
    int rightMargin = 10;
    ColorRef textColor = 0x0000FF00;
    int shadowMode = 0; // 0 none, 1 shadow, 2 outline
    ColorRef shadowColor = 0x00C0C0C0;
    int titleMode = 1; // 1: title followed by date and weekday
    std::string title;
    int backgroundPercent = 0;
    int backgroundMode = 0; // 0 toward white, 1 toward black, 2 off
    bool showSchedule = true;
    int lookAheadWeekly = 1;
    int lookAheadMonthly = 3;
    int lookAheadYearly = 3;
    int lookAheadDated = 3;
};

// Reads a number box as the runtime's text-to-integer conversion does:
// optional leading blanks, an optional sign, decimal digits or hexadecimal
// after "$" or "0x"; anything else (blank, full-width digits, letters, out
// of range) gives fallback.
int ParseIntBox(const std::string& text, int fallback);

// Applies each box's fallback: N 10, lines 10, size 15, gap 4, top 10,
// right 10, strength 0, look-ahead 1, 3, 3, 3.
MemoStyle ResolveStyle(const DrawSettings& settings);

} // namespace render
