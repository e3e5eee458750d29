#pragma once

// Block-wise forms of the six JIS / EUC-JP / Shift_JIS converters, for text
// that arrives in pieces. Each converts text, appending to out, starting in
// state and leaving in it the state at the point where it stopped, and
// returns how many bytes of text it used. With atEnd false it stops before a
// character that might need bytes past the end of text (at most five bytes
// are left), which the caller puts in front of the next block; with atEnd
// true it uses everything. Fed block by block and finished with atEnd true,
// each gives exactly what its whole-text function gives for the whole text.

#include <cstddef>
#include <string>
#include <string_view>

namespace jconvert::detail {

struct BlockState {
    bool doubleByte = false; // JIS double-byte mode, read or written
    unsigned pendingKana = 0; // AppendUtf8AsJis: a half-width kana not yet written
};

std::size_t Jis2EucBlock(std::string_view text, bool atEnd, BlockState& state, std::string& out);
std::size_t Jis2SjisBlock(std::string_view text, bool atEnd, BlockState& state, std::string& out);
std::size_t Euc2Jis83Block(std::string_view text, bool atEnd, BlockState& state, std::string& out);
std::size_t Sjis2Jis83Block(std::string_view text, bool atEnd, BlockState& state, std::string& out);
std::size_t Euc2SjisBlock(std::string_view text, bool atEnd, BlockState& state, std::string& out);
std::size_t Sjis2EucBlock(std::string_view text, bool atEnd, BlockState& state, std::string& out);

// UTF-8 to EUC-JP in one pass: what AppendUtf8AsCp932 (bad input replaced)
// and then sjis2euc give, block-wise as AppendUtf8AsCp932.
std::size_t AppendUtf8AsEuc(std::string_view text, bool atEnd, std::string& out);
// UTF-8 to JIS in one pass: what AppendUtf8AsCp932 (bad input replaced) and
// then sjis2jis83 give, block-wise as AppendUtf8AsCp932.
std::size_t AppendUtf8AsJis(std::string_view text, bool atEnd, BlockState& state, std::string& out);

// Writes the full-width JIS form of half-width katakana k (21-5F) to out (2
// bytes), joining the voiced or semi-voiced mark when the byte after the
// kana (0 when there is none) is one that joins it; returns whether it did.
bool PutKanaAsJis(unsigned char* out, unsigned k, unsigned mark);

} // namespace jconvert::detail
