#pragma once

// Japanese text in mail header fields as RFC 2047 encoded-words of the one
// form Japanese mail uses: "=?ISO-2022-JP?B?" Base64 of JIS text "?=".
// Neither function fails or throws; neither reads outside its input.

#include <string>

namespace jconvert {

// Shift_JIS text to a header value: each run of double-byte characters becomes
// one encoded-word (its JIS text starts with ESC $ B and has no return escape);
// single-byte text, half-width katakana included, is copied unchanged. A lead
// byte at the very end is paired with a zero byte.
std::string CreateHeaderString(const std::string& sjisText);

// A header value with every "=?ISO-2022-JP?B?...?=" (opening in any letter
// case) replaced by its decoded JIS bytes followed by ESC ( J. Other charsets,
// the Q encoding and all text between words pass through byte for byte; an
// opening without a closing "?=" is removed. Decoded bytes are not searched
// again for encoded-words.
std::string DecodeHeaderString(const std::string& header);

} // namespace jconvert
