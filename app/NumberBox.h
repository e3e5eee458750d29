#pragma once

#include <string>
#include <string_view>

namespace app {

// A number box of the window: the text as typed, which the window shows and
// the settings file stores byte for byte, and the number the program uses,
// read from that text by the one rule of the number boxes (ParseInteger:
// leading blanks, an optional sign and decimal digits in the 32-bit range)
// with the box's own fallback for any other text.
class NumberBox {
public:
    NumberBox() = default;
    NumberBox(std::string text, int fallback);

    const std::string& Text() const { return text_; }
    int Value() const { return value_; }
    // The number read again from the new text.
    void SetText(std::string text);

    bool operator==(const NumberBox&) const = default;

private:
    std::string text_;
    int fallback_ = 0;
    int value_ = 0;
};

// The text as a signed 32-bit decimal integer: leading blanks, then an
// optional sign, then digits and nothing else. Anything else (an empty
// text, trailing characters, full-width digits, a value out of range) gives
// fallback. Every number box and every stored number is read this way.
int ParseInteger(std::string_view text, int fallback = 0);

// A stored radio index as the group shows it: past the last item selects the
// last item, below -1 selects none (-1).
int ClampRadioIndex(int index, int items);

// A TCP port as a box or a command line gives it: ParseInteger's rule,
// 1 to 65535; 0 for anything else.
int PortNumber(std::string_view text);

} // namespace app
