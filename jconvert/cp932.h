#pragma once

// Conversion between Shift_JIS as Windows defines it (code page 932) and
// UTF-8. Code page 932 here is JIS X 0208, NEC row 13, the NEC-selected and
// the IBM extensions, half-width katakana (A1-DF <-> U+FF61-U+FF9F) and the
// user-defined area (F040-F9FC <-> U+E000-U+E757).
//
// Contracts shared by every function here:
// - Never throws, never reads outside its input, and produces only valid
//   output: well-formed UTF-8, or CP932 made of whole characters.
// - Where CP932 has several codes for one character (NEC row 13, the
//   NEC-selected and IBM extensions duplicate each other and some JIS X 0208
//   symbols), encoding writes the one Windows writes: JIS X 0208 first, then
//   NEC row 13, then IBM extensions (FA-FC), never the NEC-selected codes
//   (ED/EE). So decoding and encoding again may change such bytes; callers
//   that must keep bytes keep the original text.
// - Decoding: 80, A0 and FD-FF, a lead byte without a trail byte, and a
//   double-byte code that has no character are not characters. A lead byte
//   followed by an ASCII byte that does not make a character is one bad byte;
//   the ASCII byte is read as itself.
// - Encoding: UTF-8 that is not well formed (bad bytes, overlong forms,
//   surrogates, sequences cut short) counts one bad character per maximal
//   ill-formed part, as Unicode recommends.

#include <cstddef>
#include <string>
#include <string_view>

namespace jconvert {

// CP932 to UTF-8; every byte or pair that is no character becomes U+FFFD.
std::string Cp932ToUtf8(std::string_view text);

// UTF-8 to CP932; a character with no CP932 form, and each ill-formed part
// of the UTF-8, becomes the geta mark 〓 (81 AC), one per character.
std::string Utf8ToCp932(std::string_view text);

// The variants for text that must come back byte for byte (the window's
// controls): a byte that is no character is decoded as the private-use
// character U+F700 + byte, and encoding turns U+F700-U+F7FF back into that
// byte. Nothing else in code page 932 maps to that range.
inline constexpr char32_t kRawByteBase = 0xF700;
std::string Cp932ToUtf8KeepingBytes(std::string_view text);
std::string Utf8ToCp932KeepingBytes(std::string_view text);

// What a converter does with what is no character of its input.
enum class BadInput {
    Replace, // U+FFFD when decoding CP932, 81 AC when encoding
    KeepBytes, // U+F700 + byte, and back
};

// Streaming forms: convert text and append the result to out; return how
// many bytes of text were used. With atEnd false, a character cut off by the
// end of text is left unused (at most 1 byte of CP932, 3 of UTF-8), for the
// caller to put in front of the next block; with atEnd true all of text is
// used and a cut-off character counts as bad input. Feeding a text block by
// block this way gives the same result as converting it whole.
std::size_t AppendCp932AsUtf8(std::string_view text, bool atEnd, BadInput bad, std::string& out);
std::size_t AppendUtf8AsCp932(std::string_view text, bool atEnd, BadInput bad, std::string& out);

// Length of the well-formed UTF-8 at the start of text (all of it when the
// whole text is well formed).
std::size_t ValidUtf8Prefix(std::string_view text) noexcept;

} // namespace jconvert
