#pragma once

// Reading of the numbers stored as settings text.

#include <string_view>

namespace app {

// The text as a signed 32-bit decimal integer: leading blanks, then an
// optional sign, then digits and nothing else. Anything else (an empty
// text, trailing characters, a value out of range) reads as 0.
int ParseInteger(std::string_view text);

// A stored radio index as the group shows it: past the last item selects the
// last item, below -1 selects none (-1).
int ClampRadioIndex(int index, int items);

} // namespace app
