#include "jconvert/codes.h"

#include "jconvert/code_blocks.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace jconvert {

int STRICT_CHECK_LEN = 512;

namespace {

constexpr unsigned char kEsc = 0x1B;

// The result, appended to a string through a raw cursor. The string gets
// room for an estimate of the output size and grows when a step might not
// fit: loops make room before each step (no step writes more than kStep
// bytes), so there are no per-byte capacity checks. The cursor and limit
// live in the loop's locals, where the compiler can keep them in registers.
class Output {
public:
    static constexpr std::size_t kStep = 8;

    Output(std::string& text, std::size_t estimate)
        : text_(text)
        , start_(text.size())
    {
        text_.resize(start_ + estimate + kStep);
    }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;
    unsigned char* data() noexcept { return reinterpret_cast<unsigned char*>(text_.data()); }
    unsigned char* begin() noexcept { return data() + start_; }
    unsigned char* limit() noexcept { return data() + text_.size(); }

    // Ensures room for count bytes at out; returns the cursor, which moves
    // when the storage does.
    unsigned char* grow(unsigned char* out, std::size_t count)
    {
        const std::size_t used = static_cast<std::size_t>(out - data());
        text_.resize(std::max(text_.size() + text_.size() / 2, used + count + kStep));
        return data() + used;
    }
    // Cuts the string at the cursor.
    void finish(const unsigned char* out) { text_.resize(static_cast<std::size_t>(out - data())); }

private:
    std::string& text_;
    std::size_t start_;
};

inline void makeRoom(
    Output& result, unsigned char*& out, unsigned char*& limit, std::size_t count = Output::kStep)
{
    if (static_cast<std::size_t>(limit - out) < count) {
        out = result.grow(out, count);
        limit = result.limit();
    }
}

inline const unsigned char* bytes(std::string_view text) noexcept
{
    return reinterpret_cast<const unsigned char*>(text.data());
}

// Runs a block converter over a whole text.
template <typename Block> std::string wholeText(const std::string& text, Block block)
{
    std::string result;
    detail::BlockState state;
    block(text, true, state, result);
    return result;
}

// Byte tables for the two character mappings, so that the conversion loops
// run without data-dependent branches. Results wrap modulo 256 like the rest
// of the byte arithmetic, so any input pair gives two bytes.
struct MappingTables {
    unsigned char sjisLead[256]; // by JIS row
    unsigned char sjisTrail[2][256]; // by row parity, then JIS column
    unsigned char jisRow[256]; // by Shift_JIS lead, for trail bytes from 9F up
    unsigned char jisColumn[256]; // by Shift_JIS trail
    unsigned char jisRowBelow9F[256]; // 1 when the trail byte selects the odd row
};

constexpr MappingTables makeMappingTables()
{
    MappingTables t {};
    for (unsigned b = 0; b < 256; ++b) {
        t.sjisLead[b] = static_cast<unsigned char>(((b + 1) >> 1) + (b <= 0x5E ? 0x70 : 0xB0));
        t.sjisTrail[0][b] = static_cast<unsigned char>(b + 0x7E);
        t.sjisTrail[1][b] = static_cast<unsigned char>(b <= 0x5F ? b + 0x1F : b + 0x20);
        t.jisRow[b] = static_cast<unsigned char>(b < 0xA0 ? 2 * (b - 0x70) : 2 * (b - 0xB0));
        t.jisColumn[b] = static_cast<unsigned char>(b < 0x9F ? (b <= 0x7F ? b - 0x1F : b - 0x20) : b - 0x7E);
        t.jisRowBelow9F[b] = b < 0x9F ? 1 : 0;
    }
    return t;
}

constexpr MappingTables kTables = makeMappingTables();

// JIS row/column to Shift_JIS.
inline void putSjis(unsigned char*& out, unsigned c1, unsigned c2) noexcept
{
    out[0] = kTables.sjisLead[c1 & 0xFF];
    out[1] = kTables.sjisTrail[c1 & 1][c2 & 0xFF];
    out += 2;
}

// Shift_JIS to JIS row/column, ORed with mask (0 for JIS, 0x80 for EUC).
inline void putJis(unsigned char*& out, unsigned s1, unsigned s2, unsigned mask) noexcept
{
    out[0]
        = static_cast<unsigned char>((kTables.jisRow[s1 & 0xFF] - kTables.jisRowBelow9F[s2 & 0xFF]) | mask);
    out[1] = static_cast<unsigned char>(kTables.jisColumn[s2 & 0xFF] | mask);
    out += 2;
}

inline void putEscape(unsigned char*& out, unsigned char a, unsigned char b) noexcept
{
    out[0] = kEsc;
    out[1] = a;
    out[2] = b;
    out += 3;
}

// JIS X 0208 column of the full-width form of half-width katakana k
// (k = kana byte AND 7F, 21..5F), indexed by k - 20.
constexpr unsigned char kKanaColumn[64] = {
    0x00, 0x23, 0x56, 0x57, 0x22, 0x26, 0x72, 0x21, 0x23, 0x25, 0x27, 0x29, 0x63, 0x65, 0x67, 0x43, //
    0x3C, 0x22, 0x24, 0x26, 0x28, 0x2A, 0x2B, 0x2D, 0x2F, 0x31, 0x33, 0x35, 0x37, 0x39, 0x3B, 0x3D, //
    0x3F, 0x41, 0x44, 0x46, 0x48, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F, 0x52, 0x55, 0x58, 0x5B, 0x5E, //
    0x5F, 0x60, 0x61, 0x62, 0x64, 0x66, 0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6F, 0x73, 0x2B, 0x2C, //
};

constexpr unsigned char kVoicedMark = 0xDE;
constexpr unsigned char kSemiVoicedMark = 0xDF;

// Writes the full-width JIS form of half-width katakana k (21..5F) and
// reports whether the following mark byte (0 when there is none) was joined
// into it: ｳﾞ → ヴ, ｶﾞ..ﾄﾞ and ﾊﾞ..ﾎﾞ → voiced, ﾊﾟ..ﾎﾟ → semi-voiced.
inline bool putKana(unsigned char*& out, unsigned k, unsigned mark) noexcept
{
    unsigned col = kKanaColumn[k - 0x20];
    bool joined = false;
    if (mark == kVoicedMark) {
        if (k == 0x33) {
            col = 0x74;
            joined = true;
        } else if ((k >= 0x36 && k <= 0x44) || (k >= 0x4A && k <= 0x4E)) {
            col += 1;
            joined = true;
        }
    } else if (mark == kSemiVoicedMark && k >= 0x4A && k <= 0x4E) {
        col += 2;
        joined = true;
    }
    out[0] = (k <= 0x25 || k == 0x30 || k >= 0x5E) ? 0x21 : 0x25;
    out[1] = static_cast<unsigned char>(col);
    out += 2;
    return joined;
}

// The JIS geta mark 〓, written where a character cannot be represented.
inline void putGeta(unsigned char*& out) noexcept
{
    out[0] = 0x22;
    out[1] = 0x2E;
    out += 2;
}

// Shared walker of the two JIS readers. An escape sequence is three bytes
// whatever its third byte; the byte right after it is taken in the new mode
// without being checked for another escape, so an escape directly following
// another is passed through as plain bytes. An escape at the very end adds
// nothing. DoubleByte handles one double-byte-mode step of at most kPair
// bytes and returns the number of bytes it consumed. Unless atEnd, a step
// that might need bytes past the end is left for the next block.
template <std::size_t kPair, typename DoubleByte>
std::size_t readJis(
    std::string_view text, bool atEnd, detail::BlockState& state, std::string& into, DoubleByte doubleByte)
{
    const unsigned char* p = bytes(text);
    const std::size_t n = text.size();
    // Every step writes at most as many bytes as it consumes, so the output
    // never outgrows the input's size.
    Output result(into, n);
    unsigned char* out = result.begin();
    bool dbl = state.doubleByte;
    bool held = false;
    std::size_t i = 0;
    while (i < n && !held) {
        if (p[i] == kEsc) {
            // The sequence, the byte after it and that byte's partner.
            if (!atEnd && i + 3 + kPair > n)
                break;
            if (i + 1 < n) {
                if (p[i + 1] == '$')
                    dbl = true;
                else if (p[i + 1] == '(')
                    dbl = false;
            }
            i += 3;
            if (i >= n) {
                i = n;
                break;
            }
            // The byte right after the sequence, whatever it is.
            if (dbl) {
                i += doubleByte(out, p, n, i);
            } else {
                *out++ = p[i];
                ++i;
            }
        }
        // The run up to the next escape, in the current mode.
        if (dbl) {
            while (i < n && p[i] != kEsc) {
                if (!atEnd && i + kPair > n) {
                    held = true;
                    break;
                }
                i += doubleByte(out, p, n, i);
            }
        } else {
            const unsigned char* run = p + i;
            const unsigned char* end = static_cast<const unsigned char*>(std::memchr(run, kEsc, n - i));
            const std::size_t len = end ? static_cast<std::size_t>(end - run) : n - i;
            std::memcpy(out, run, len);
            out += len;
            i += len;
        }
    }
    state.doubleByte = dbl;
    result.finish(out);
    return i;
}

// Shared walker of the two JIS writers. Line ends always return to
// single-byte mode (ESC ( J); bytes from 80 up enter double-byte mode
// (ESC $ B) and go to Convert, which writes one character and returns the
// number of input bytes it consumed, looking at most kLook bytes ahead. No
// closing escape at the end. Unless atEnd, a character whose look-ahead
// might reach past the end is left for the next block.
template <std::size_t kLook, typename Convert>
std::size_t writeJis(
    std::string_view text, bool atEnd, detail::BlockState& state, std::string& into, Convert convert)
{
    const unsigned char* p = bytes(text);
    const std::size_t n = text.size();
    // Mostly double-byte text keeps its size; escapes come on top.
    Output result(into, n + n / 8);
    unsigned char* out = result.begin();
    unsigned char* limit = result.limit();
    bool dbl = state.doubleByte;
    std::size_t i = 0;
    while (i < n) {
        makeRoom(result, out, limit);
        const unsigned char c = p[i];
        if (c >= 0x80) {
            if (!atEnd && i + kLook >= n)
                break;
            if (!dbl) {
                putEscape(out, '$', 'B');
                dbl = true;
            }
            i += convert(out, p, n, i);
        } else {
            if (dbl) {
                putEscape(out, '(', 'J');
                dbl = false;
            }
            *out++ = c;
            ++i;
        }
    }
    state.doubleByte = dbl;
    result.finish(out);
    return i;
}

} // namespace

int InCodeCheck(const std::string& text)
{
    const unsigned char* p = bytes(text);
    const std::size_t n = text.size();
    if (n < 2)
        return CODE_ASCII;

    // Binary screening of the leading bytes, the last byte excepted.
    const std::size_t screen
        = STRICT_CHECK_LEN <= 0 ? 0 : std::min(static_cast<std::size_t>(STRICT_CHECK_LEN), n - 1);
    for (std::size_t i = 0; i < screen; ++i) {
        if (p[i] < 0x08 || p[i] == 0xFF)
            return CODE_BINARY;
    }

    // The position just past the end reads as a zero byte; nothing further
    // out is ever looked at.
    auto at = [p, n](std::size_t i) -> unsigned { return i < n ? p[i] : 0u; };

    int result = CODE_ASCII;
    std::size_t i = 0;
    while ((result == CODE_ASCII || result == CODE_EUC_OR_SJIS) && i + 1 < n) {
        const unsigned c = p[i];
        if (c == kEsc) {
            ++i;
            if (p[i] == '$') {
                ++i;
                const unsigned d = at(i);
                if (d == 'B')
                    result = CODE_JIS83;
                else if (d == '@')
                    result = CODE_JIS78;
            }
        } else if (c < 0x08 || c == 0xFF) {
            result = CODE_BINARY;
        } else if (c <= 0x7F) {
            // Plain 7-bit text: skip the run quickly, stopping at anything
            // the rules look at.
            ++i;
            while (i + 1 < n && p[i] >= 0x08 && p[i] <= 0x7F && p[i] != kEsc)
                ++i;
            continue;
        } else if ((c >= 0x81 && c <= 0x8D) || (c >= 0x8F && c <= 0x9F)) {
            result = CODE_SJIS;
        } else if (c == 0x8E) {
            const unsigned d = p[++i];
            if ((d >= 0x40 && d <= 0x7E) || (d >= 0x80 && d <= 0xA0) || (d >= 0xE0 && d <= 0xFC))
                result = CODE_SJIS;
            else if (d >= 0xA1 && d <= 0xDF)
                result = CODE_EUC_OR_SJIS;
        } else if (c >= 0xA1 && c <= 0xDF) {
            const unsigned d = p[++i];
            if (d >= 0xF0 && d <= 0xFE) {
                result = CODE_EUC;
            } else if (d >= 0xA1 && d <= 0xDF) {
                result = CODE_EUC_OR_SJIS;
            } else if (d >= 0xE0 && d <= 0xEF) {
                // Ambiguous so far: look along the following bytes, up to
                // the first one below 40, for a byte only Shift_JIS or only
                // EUC would use there (the Shift_JIS range is 8F-9C here,
                // narrower than the scan's). The scan resumes after the byte
                // where this look-ahead stopped.
                result = CODE_EUC_OR_SJIS;
                while (at(i) >= 0x40 && i < n && result == CODE_EUC_OR_SJIS) {
                    const unsigned e = p[i];
                    if ((e >= 0x81 && e <= 0x8D) || (e >= 0x8F && e <= 0x9C))
                        result = CODE_SJIS;
                    else if (e >= 0xFD && e <= 0xFE)
                        result = CODE_EUC;
                    ++i;
                }
            } else if (d <= 0x9F) {
                result = CODE_SJIS;
            }
        } else if (c >= 0xF0 && c <= 0xFE) {
            result = CODE_EUC;
        } else if (c >= 0xE0 && c <= 0xEF) {
            const unsigned d = p[++i];
            if ((d >= 0x40 && d <= 0x7E) || (d >= 0x80 && d <= 0xA0))
                result = CODE_SJIS;
            else if (d >= 0xFD && d <= 0xFE)
                result = CODE_EUC;
            else if (d >= 0xA1 && d <= 0xFC)
                result = CODE_EUC_OR_SJIS;
        }
        ++i;
    }
    return result;
}

std::string ToSjis(unsigned char c1, unsigned char c2)
{
    std::string result(2, '\0');
    unsigned char* out = reinterpret_cast<unsigned char*>(result.data());
    putSjis(out, c1, c2);
    return result;
}

std::string ToJis(unsigned char s1, unsigned char s2)
{
    std::string result(2, '\0');
    unsigned char* out = reinterpret_cast<unsigned char*>(result.data());
    putJis(out, s1, s2, 0);
    return result;
}

namespace detail {

bool PutKanaAsJis(unsigned char* out, unsigned k, unsigned mark)
{
    return putKana(out, k, mark);
}

std::size_t Jis2EucBlock(std::string_view text, bool atEnd, BlockState& state, std::string& out)
{
    return readJis<1>(text, atEnd, state, out,
        [](unsigned char*& o, const unsigned char* p, std::size_t, std::size_t i) -> std::size_t {
            const unsigned char c = p[i];
            *o++ = (c >= 0x21 && c <= 0x7E) ? static_cast<unsigned char>(c | 0x80) : c;
            return 1;
        });
}

std::size_t Jis2SjisBlock(std::string_view text, bool atEnd, BlockState& state, std::string& out)
{
    return readJis<2>(text, atEnd, state, out,
        [](unsigned char*& o, const unsigned char* p, std::size_t n, std::size_t i) -> std::size_t {
            // Every pair is a character here, line ends included. A lone
            // byte at the very end has no partner and is copied as it is.
            if (i + 1 >= n) {
                *o++ = p[i];
                return 1;
            }
            putSjis(o, p[i], p[i + 1]);
            return 2;
        });
}

std::size_t Euc2Jis83Block(std::string_view text, bool atEnd, BlockState& state, std::string& out)
{
    // A kana's voiced mark is up to three bytes ahead (8E kana 8E mark).
    return writeJis<3>(text, atEnd, state, out,
        [](unsigned char*& o, const unsigned char* p, std::size_t n, std::size_t i) -> std::size_t {
            const unsigned char c = p[i];
            if (i + 1 >= n) {
                // A character cut off by the end of the text.
                putGeta(o);
                return 1;
            }
            if (c != 0x8E) {
                o[0] = static_cast<unsigned char>(c & 0x7F);
                o[1] = static_cast<unsigned char>(p[i + 1] & 0x7F);
                o += 2;
                return 2;
            }
            const unsigned char kana = p[i + 1];
            if (kana < 0xA1 || kana > 0xDF) {
                putGeta(o);
                return 2;
            }
            // A voiced mark in EUC is the pair 8E DE / 8E DF after the kana.
            const unsigned mark = (i + 3 < n && p[i + 2] == 0x8E) ? p[i + 3] : 0u;
            return putKana(o, kana & 0x7F, mark) ? 4 : 2;
        });
}

std::size_t Sjis2Jis83Block(std::string_view text, bool atEnd, BlockState& state, std::string& out)
{
    return writeJis<1>(text, atEnd, state, out,
        [](unsigned char*& o, const unsigned char* p, std::size_t n, std::size_t i) -> std::size_t {
            const unsigned char c = p[i];
            if (c >= 0xA1 && c <= 0xDF) {
                const unsigned mark = i + 1 < n ? p[i + 1] : 0u;
                return putKana(o, c & 0x7F, mark) ? 2 : 1;
            }
            if (i + 1 >= n) {
                putGeta(o);
                return 1;
            }
            putJis(o, c, p[i + 1], 0);
            return 2;
        });
}

std::size_t Euc2SjisBlock(std::string_view text, bool atEnd, BlockState&, std::string& into)
{
    const unsigned char* p = bytes(text);
    const std::size_t n = text.size();
    Output result(into, n);
    unsigned char* out = result.begin();
    std::size_t i = 0;
    // The output is never longer than the input.
    while (i < n) {
        const unsigned char c = p[i];
        if (c <= 0x80 || c == 0xFF) {
            *out++ = c;
            ++i;
        } else if (i + 1 >= n) {
            // A lead byte cut off by the end is copied.
            if (!atEnd)
                break;
            *out++ = c;
            ++i;
        } else if (c == 0x8E) {
            *out++ = p[i + 1];
            i += 2;
        } else {
            putSjis(out, c & 0x7Fu, p[i + 1] & 0x7Fu);
            i += 2;
        }
    }
    result.finish(out);
    return i;
}

std::size_t Sjis2EucBlock(std::string_view text, bool atEnd, BlockState&, std::string& into)
{
    const unsigned char* p = bytes(text);
    const std::size_t n = text.size();
    Output result(into, n + n / 8);
    unsigned char* out = result.begin();
    unsigned char* limit = result.limit();
    std::size_t i = 0;
    while (i < n) {
        makeRoom(result, out, limit);
        const unsigned char c = p[i];
        if (c >= 0xA1 && c <= 0xDF) {
            // Half-width katakana is a whole character wherever it stands,
            // the very last byte included.
            out[0] = 0x8E;
            out[1] = c;
            out += 2;
            ++i;
        } else if (c <= 0x7F) {
            *out++ = c;
            ++i;
        } else if (i + 1 >= n) {
            // A lead byte cut off by the end is copied.
            if (!atEnd)
                break;
            *out++ = c;
            ++i;
        } else {
            putJis(out, c, p[i + 1], 0x80);
            i += 2;
        }
    }
    result.finish(out);
    return i;
}

} // namespace detail

std::string jis2euc(const std::string& text)
{
    return wholeText(text, detail::Jis2EucBlock);
}

std::string jis2sjis(const std::string& text)
{
    return wholeText(text, detail::Jis2SjisBlock);
}

std::string euc2jis83(const std::string& text)
{
    return wholeText(text, detail::Euc2Jis83Block);
}

std::string sjis2jis83(const std::string& text)
{
    return wholeText(text, detail::Sjis2Jis83Block);
}

std::string euc2sjis(const std::string& text)
{
    return wholeText(text, detail::Euc2SjisBlock);
}

std::string sjis2euc(const std::string& text)
{
    return wholeText(text, detail::Sjis2EucBlock);
}

std::string StrictConvertJCode(const std::string& text, int InCode, int OutCode)
{
    if (OutCode != CODE_JIS83 && OutCode != CODE_EUC && OutCode != CODE_SJIS)
        return text;
    switch (InCode) {
    case CODE_JIS83:
    case CODE_JIS78:
        if (OutCode == CODE_EUC)
            return jis2euc(text);
        if (OutCode == CODE_SJIS)
            return jis2sjis(text);
        return text;
    case CODE_EUC:
        if (OutCode == CODE_JIS83)
            return euc2jis83(text);
        if (OutCode == CODE_SJIS)
            return euc2sjis(text);
        return text;
    case CODE_SJIS:
        if (OutCode == CODE_JIS83)
            return sjis2jis83(text);
        if (OutCode == CODE_EUC)
            return sjis2euc(text);
        return text;
    default:
        // Unknown input codes above the defined range give nothing; the
        // undecided ones (ASCII, binary, EUC-or-SJIS, negative) pass through.
        return InCode > CODE_EUC_OR_SJIS ? std::string() : text;
    }
}

std::string ConvertJCode(const std::string& text, int OutCode)
{
    return StrictConvertJCode(text, InCodeCheck(text), OutCode);
}

} // namespace jconvert
