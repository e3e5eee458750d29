#pragma once

// Detection of and conversion between the three Japanese encodings mail and
// Windows text use: JIS (7-bit ISO-2022-JP style), EUC-JP and Shift_JIS.
// Every function is pure: it returns a new string, never throws, never
// validates its input (malformed bytes are converted byte by byte) and never
// reads outside its input.

#include <string>

namespace jconvert {

// Encoding codes: results of InCodeCheck and the InCode / OutCode arguments.
inline constexpr int CODE_ASCII = 0; // nothing decisive: 7-bit text, no JIS double-byte escape
inline constexpr int CODE_BINARY = 1; // a byte below 08 or FF
inline constexpr int CODE_JIS83 = 2; // ESC $ B seen
inline constexpr int CODE_JIS78 = 3; // ESC $ @ seen
inline constexpr int CODE_EUC = 4; // EUC-JP
inline constexpr int CODE_SJIS = 5; // Shift_JIS
inline constexpr int CODE_EUC_OR_SJIS = 6; // 8-bit Japanese that could be either

// How many leading bytes InCodeCheck screens for binary content before it
// looks for Japanese text. Read on every call, never written by the codec.
extern int STRICT_CHECK_LEN; // initially 512

// Guesses the encoding of text: one of the CODE_ constants. Binary screening
// of the first STRICT_CHECK_LEN bytes, then a scan that stops at the first
// decisive byte; the last byte of the text is never screened.
int InCodeCheck(const std::string& text);

// The Shift_JIS bytes of the JIS character at row c1, column c2 (2 bytes).
std::string ToSjis(unsigned char c1, unsigned char c2);
// The 7-bit JIS row and column bytes of the Shift_JIS character s1 s2 (2 bytes).
std::string ToJis(unsigned char s1, unsigned char s2);

// JIS to EUC-JP. Any ESC $ x enters double-byte mode, any ESC ( x leaves it;
// an escape sequence directly following another is copied as plain bytes.
std::string jis2euc(const std::string& text);
// EUC-JP to JIS, using ESC $ B and ESC ( J; half-width katakana become
// full-width (voiced marks joined). Text ending in double-byte mode gets no
// closing escape; a line end always returns to single-byte mode first. A
// character cut off by the end, or 8E without a kana byte (A1-DF) after it,
// becomes the geta mark 22 2E.
std::string euc2jis83(const std::string& text);
// JIS to Shift_JIS, with the escape reading of jis2euc. In double-byte mode
// every pair is a character; a lone byte left at the end is copied.
std::string jis2sjis(const std::string& text);
// EUC-JP to Shift_JIS; half-width katakana stay half-width. A lead byte cut
// off by the end is copied.
std::string euc2sjis(const std::string& text);
// Shift_JIS to JIS, as euc2jis83.
std::string sjis2jis83(const std::string& text);
// Shift_JIS to EUC-JP; half-width katakana stay half-width (8E prefix). A
// lead byte cut off by the end is copied.
std::string sjis2euc(const std::string& text);

// Detects text's encoding with InCodeCheck and converts it to OutCode
// (CODE_JIS83, CODE_EUC or CODE_SJIS); any other case returns text unchanged.
std::string ConvertJCode(const std::string& text, int OutCode);
// As ConvertJCode with the input encoding given; an InCode of 7 or more gives
// an empty string for the output codes 2, 4 and 5.
std::string StrictConvertJCode(const std::string& text, int InCode, int OutCode);

} // namespace jconvert
