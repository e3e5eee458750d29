#pragma once

// Quoted-printable text (mail bodies) and the Q encoding of header
// encoded-words. Never throws; never reads outside its input.

#include <string>
#include <string_view>

namespace jconvert {

// Decodes quoted-printable: "=" and two hex digits (either case) is one byte;
// "=" at a line end (blanks before the end allowed) joins the lines; an "="
// that starts neither is kept as it is. With headerQ, "_" is a blank.
std::string DecodeQuotedPrintable(std::string_view text, bool headerQ = false);

} // namespace jconvert
