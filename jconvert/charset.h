#pragma once

// Text in the charsets mail programs label their text with, converted to
// Shift_JIS (code page 932). Never throws; never reads outside its input.

#include <string>
#include <string_view>

namespace jconvert {

// Whether name (any letter case) is a charset CharsetToSjis converts by its
// label: ISO-2022-JP, UTF-8, Shift_JIS / CP932 / Windows-31J, EUC-JP,
// US-ASCII, ISO-8859-1.
bool IsKnownCharset(std::string_view name);

// bytes in the charset called name, as Shift_JIS. Characters Shift_JIS has no
// form for become the geta mark. An empty or unknown name leaves the choice
// to the codec's detection (ConvertJCode), as for unlabelled text.
std::string CharsetToSjis(const std::string& bytes, std::string_view name);

// Whether text is well-formed UTF-8 holding at least one byte above 7F.
bool LooksLikeUtf8(std::string_view text);

// The UTF-8 form of one Unicode code point; "" for surrogates and values
// beyond 10FFFF.
std::string CodePointToUtf8(unsigned long codePoint);

} // namespace jconvert
