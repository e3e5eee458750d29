#pragma once

// Header values as mail programs write them today, decoded to Shift_JIS:
// RFC 2047 encoded-words in the B and the Q encoding, in any of the charsets
// CharsetToSjis knows, and raw 8-bit or JIS text. Never throws; never reads
// outside its input.

#include <string>

namespace jconvert {

// The Shift_JIS text of a header value. Blanks between two adjacent
// encoded-words are dropped; adjacent words of one charset are joined before
// they are converted, so a character split between two words survives. Text
// outside encoded-words stays as it is when it is ASCII; otherwise it is
// converted from UTF-8 when it is well-formed UTF-8, else by the codec's
// detection. Unlike DecodeHeaderString, no escape is added after a word.
std::string DecodeEncodedWords(const std::string& header);

} // namespace jconvert
