#pragma once

// Reading of the numbers the settings hold as text.

#include <string_view>

namespace app {

// The text as a signed 32-bit decimal integer: leading blanks, then an
// optional sign, then digits and nothing else. Anything else (an empty
// text, trailing characters, full-width digits, a value out of range) gives
// fallback. Every number box and every stored number is read this way.
int ParseInteger(std::string_view text, int fallback = 0);

// A stored radio index as the group shows it: past the last item selects the
// last item, below -1 selects none (-1).
int ClampRadioIndex(int index, int items);

} // namespace app
