#pragma once

// Six-bit coders for mail text: Base64 (RFC 2045 alphabet), uuencode bodies
// and the BinHex 4.0 six-bit coding. Every group of three bytes becomes four
// characters; a final group of one or two bytes writes only the characters
// that carry its bits (plus padding where the coder has one).
// None of them fails or throws; none reads outside its input.

#include <string>

namespace jconvert {

// Base64 of data on one line: 4 * ceil(size / 3) characters, "=" padded,
// no line break. Empty data gives an empty text.
std::string EncodeBase64(const std::string& data);

// As EncodeBase64, with lineBreak written after every 76 characters (every
// 19 full groups); never after the padded final group. An empty lineBreak
// gives one line.
std::string EncodeBase64R(const std::string& data, const std::string& lineBreak);

// The body of a uuencoded file (no "begin"/"end" lines): "M" lines of 45
// bytes, a shorter last line, then the zero-length line "`", each followed
// by lineBreak. Zero values are written as the backquote.
std::string EncodeUU(const std::string& data, const std::string& lineBreak);

// The BinHex 4.0 six-bit coding of data (no header, run-length coding or
// checksum) between two colons, in lines of 64 characters separated by
// lineBreak; a line may end between the third and fourth character of a group.
std::string EncodeBinHex(const std::string& data, const std::string& lineBreak);

// Decodes Base64 text. Characters outside the alphabet (line breaks, blanks)
// are skipped; "=" ends a group, and decoding goes on after a padded group.
// A group cut short by the end of the text yields the bytes its characters
// complete.
std::string DecodeBase64(const std::string& text);

// Decodes uuencoded body lines as EncodeUU writes them: each line's first
// character gives its byte count. "begin ..." and "end" lines are skipped;
// a group cut short by a line break or the end yields the bytes it completes.
std::string DecodeUU(const std::string& text);

// Decodes BinHex six-bit text as EncodeBinHex writes it (a leading colon is
// skipped, CR and LF are skipped). Decoding stops at the first character
// outside the alphabet, normally the closing colon.
std::string DecodeBinHex(const std::string& text);

} // namespace jconvert
