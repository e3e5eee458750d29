#include "jconvert/cp932.h"

#include "jconvert/code_blocks.h"
#include "jconvert/cp932_tables.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace jconvert {

namespace {

using detail::Cp932LeadIndex;
using detail::kCp932DoubleByte;
using detail::UnicodeToCp932Code;

constexpr bool IsLead(unsigned c) noexcept
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
constexpr bool IsTrail(unsigned c) noexcept
{
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

// The input is converted in slices; before each slice the output gets room
// for the most that slice can produce, so the loops write through a raw
// cursor without checking capacity per character.
constexpr std::size_t kSlice = 8192;

// The string's capacity grows geometrically (from an estimate of the whole
// output); its size grows only as far as the slices being written need, so
// the bytes std::string clears on growing are about those written, never
// the whole estimate. The size is cut to what was written at the end.
class Writer {
public:
    Writer(std::string& out, std::size_t estimate)
        : out_(out)
        , used_(out.size())
    {
        if (out_.capacity() < used_ + estimate)
            out_.reserve(used_ + estimate);
    }
    ~Writer() { out_.resize(used_); }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // Room for count more bytes; returns the cursor.
    unsigned char* Reserve(std::size_t count)
    {
        if (out_.size() < used_ + count) {
            if (out_.capacity() < used_ + count)
                out_.reserve(std::max(used_ + count, 2 * out_.capacity()));
            out_.resize(used_ + count);
        }
        return reinterpret_cast<unsigned char*>(out_.data()) + used_;
    }
    void Commit(const unsigned char* cursor)
    {
        used_ = static_cast<std::size_t>(cursor - reinterpret_cast<unsigned char*>(out_.data()));
    }

private:
    std::string& out_;
    std::size_t used_;
};

// The double-byte characters' UTF-8 forms, built once from the code point
// table: bytes[0..2] the UTF-8 bytes, bytes[3] their count (0: no
// character). The decoder copies all four bytes and advances by the count.
struct Utf8Form {
    unsigned char bytes[4];
};
struct Utf8Forms {
    unsigned char leadRow[256]; // 1 + kCp932DoubleByte row, 0 for no lead byte
    Utf8Form forms[detail::kCp932LeadCount + 1][256];
};

const Utf8Forms& GetUtf8Forms()
{
    static const Utf8Forms* const forms = [] {
        auto* t = new Utf8Forms {};
        for (unsigned lead = 0; lead < 256; ++lead) {
            if ((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC))
                t->leadRow[lead]
                    = static_cast<unsigned char>(1 + Cp932LeadIndex(static_cast<unsigned char>(lead)));
        }
        for (std::size_t row = 0; row < detail::kCp932LeadCount; ++row) {
            for (unsigned trail = 0; trail < 256; ++trail) {
                const std::uint32_t c = kCp932DoubleByte[row][trail];
                Utf8Form& form = t->forms[row + 1][trail];
                if (c == 0)
                    continue;
                if (c < 0x800) {
                    form = { { static_cast<unsigned char>(0xC0 | (c >> 6)),
                        static_cast<unsigned char>(0x80 | (c & 0x3F)), 0, 2 } };
                } else {
                    form = { { static_cast<unsigned char>(0xE0 | (c >> 12)),
                        static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F)),
                        static_cast<unsigned char>(0x80 | (c & 0x3F)), 3 } };
                }
            }
        }
        return t;
    }();
    return *forms;
}

inline unsigned char* PutUtf8(unsigned char* o, std::uint32_t c) noexcept
{
    if (c < 0x80) {
        *o++ = static_cast<unsigned char>(c);
    } else if (c < 0x800) {
        o[0] = static_cast<unsigned char>(0xC0 | (c >> 6));
        o[1] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        o += 2;
    } else {
        o[0] = static_cast<unsigned char>(0xE0 | (c >> 12));
        o[1] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
        o[2] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        o += 3;
    }
    return o;
}

inline unsigned char* PutBadByte(unsigned char* o, unsigned char b, BadInput bad) noexcept
{
    return PutUtf8(o, bad == BadInput::KeepBytes ? kRawByteBase + b : 0xFFFDu);
}

// Length of the run of ASCII bytes at p, at most n.
inline std::size_t AsciiRun(const unsigned char* p, std::size_t n) noexcept
{
    std::size_t i = 0;
    while (i + 8 <= n) {
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
        if (word & 0x8080808080808080ull)
            break;
        i += 8;
    }
    while (i < n && p[i] < 0x80)
        ++i;
    return i;
}

// Copies the run of ASCII bytes at p (at most n) to o and returns its
// length. Whole words are copied, so up to 7 bytes past the run may be
// written too, but never past o + n.
inline std::size_t CopyAscii(const unsigned char* p, std::size_t n, unsigned char* o) noexcept
{
    std::size_t i = 0;
    while (i + 8 <= n) {
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
        std::memcpy(o + i, &word, 8);
        if (const std::uint64_t high = word & 0x8080808080808080ull) {
            // The first byte with its top bit set ends the run (the lowest
            // address is the lowest byte of a little-endian word).
            if constexpr (std::endian::native == std::endian::little)
                return i + static_cast<std::size_t>(std::countr_zero(high) / 8);
            while (p[i] < 0x80)
                ++i;
            return i;
        }
        i += 8;
    }
    while (i < n && p[i] < 0x80) {
        o[i] = p[i];
        ++i;
    }
    return i;
}

// Length of the well-formed UTF-8 sequence at p (n bytes available) and its
// code point. When it is not well formed: length 0, with valid the number of
// bytes that form a maximal ill-formed part (at least 1), and cut true when
// those bytes are a sequence that the end of the input cut short.
struct Utf8Step {
    std::size_t length;
    std::uint32_t code;
    std::size_t valid;
    bool cut;
};

inline Utf8Step ReadUtf8(const unsigned char* p, std::size_t n) noexcept
{
    const unsigned c = p[0];
    std::size_t need;
    unsigned low = 0x80, high = 0xBF; // range of the second byte
    std::uint32_t code;
    if (c < 0x80)
        return { 1, c, 0, false };
    if (c >= 0xC2 && c <= 0xDF) {
        need = 1;
        code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        need = 2;
        code = c & 0x0F;
        if (c == 0xE0)
            low = 0xA0; // no overlong forms
        else if (c == 0xED)
            high = 0x9F; // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        need = 3;
        code = c & 0x07;
        if (c == 0xF0)
            low = 0x90;
        else if (c == 0xF4)
            high = 0x8F; // nothing past U+10FFFF
    } else {
        return { 0, 0, 1, false };
    }
    for (std::size_t k = 1; k <= need; ++k) {
        if (k >= n)
            return { 0, 0, k, true };
        const unsigned d = p[k];
        if (k == 1 ? (d < low || d > high) : (d < 0x80 || d > 0xBF))
            return { 0, 0, k, false };
        code = (code << 6) | (d & 0x3F);
    }
    return { need + 1, code, 0, false };
}

} // namespace

std::size_t AppendCp932AsUtf8(std::string_view text, bool atEnd, BadInput bad, std::string& out)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    // Japanese text grows by half; ASCII keeps its size.
    Writer writer(out, n + n / 2 + 16);
    const Utf8Forms& forms = GetUtf8Forms();
    std::size_t i = 0;
    while (i < n) {
        // A slice ends at most one byte past its nominal end (a pair), and no
        // input byte makes more than three output bytes (plus the one a
        // four-byte copy writes beyond).
        const std::size_t stop = std::min(n, i + kSlice);
        unsigned char* o = writer.Reserve(3 * (stop - i + 1) + 1);
        while (i < stop) {
            const unsigned c = p[i];
            if (const unsigned row = forms.leadRow[c]; row != 0 && i + 1 < n) {
                const Utf8Form& form = forms.forms[row][p[i + 1]];
                if (form.bytes[3] != 0) {
                    std::memcpy(o, form.bytes, 4);
                    o += form.bytes[3];
                    i += 2;
                    continue;
                }
            }
            if (c < 0x80) {
                const std::size_t run = CopyAscii(p + i, stop - i, o);
                o += run;
                i += run;
            } else if (c >= 0xA1 && c <= 0xDF) {
                // Half-width katakana, U+FF61-U+FF9F.
                o[0] = 0xEF;
                o[1] = c <= 0xBF ? 0xBD : 0xBE;
                o[2] = static_cast<unsigned char>(c <= 0xBF ? c : c - 0x40);
                o += 3;
                ++i;
            } else if (IsLead(c)) {
                if (i + 1 >= n) {
                    if (!atEnd)
                        break;
                    o = PutBadByte(o, static_cast<unsigned char>(c), bad);
                    ++i;
                    continue;
                }
                const unsigned t = p[i + 1];
                const std::uint32_t u = kCp932DoubleByte[Cp932LeadIndex(static_cast<unsigned char>(c))][t];
                if (u != 0) {
                    o = PutUtf8(o, u);
                    i += 2;
                } else if (t >= 0x80 && IsTrail(t)) {
                    // A well-formed pair without a character: one bad
                    // character, or both bytes kept.
                    if (bad == BadInput::KeepBytes) {
                        o = PutBadByte(o, static_cast<unsigned char>(c), bad);
                        o = PutBadByte(o, static_cast<unsigned char>(t), bad);
                    } else {
                        o = PutUtf8(o, 0xFFFD);
                    }
                    i += 2;
                } else {
                    // The next byte is read again on its own.
                    o = PutBadByte(o, static_cast<unsigned char>(c), bad);
                    ++i;
                }
            } else {
                o = PutBadByte(o, static_cast<unsigned char>(c), bad);
                ++i;
            }
        }
        writer.Commit(o);
        if (i < stop)
            break; // a lead byte left for the next block
    }
    return i;
}

namespace {

// Shift_JIS lead and trail bytes to JIS row and column, as sjis2euc
// computes them (modulo 256).
struct EucTables {
    unsigned char row[256]; // by lead byte, for trail bytes from 9F up
    unsigned char oddRow[256]; // by trail byte: 1 when it selects the odd row
    unsigned char column[256]; // by trail byte
};

constexpr EucTables MakeEucTables()
{
    EucTables t {};
    for (unsigned b = 0; b < 256; ++b) {
        t.row[b] = static_cast<unsigned char>(b < 0xA0 ? 2 * (b - 0x70) : 2 * (b - 0xB0));
        t.oddRow[b] = b < 0x9F ? 1 : 0;
        t.column[b] = static_cast<unsigned char>(b < 0x9F ? (b <= 0x7F ? b - 0x1F : b - 0x20) : b - 0x7E);
    }
    return t;
}

constexpr EucTables kEucTables = MakeEucTables();

// The geta mark 〓, for what has no CP932 form.
constexpr std::uint16_t kGeta = 0x81AC;

// Lead bytes of three-byte sequences whose second byte may be any
// continuation byte.
constexpr std::array<bool, 256> MakePlainLead3()
{
    std::array<bool, 256> t {};
    for (unsigned b = 0xE1; b <= 0xEF; ++b)
        t[b] = b != 0xED;
    return t;
}
constexpr std::array<bool, 256> kPlainLead3 = MakePlainLead3();

// Marks the code points the encoders' fast path leaves to the general one.
constexpr std::uint16_t kTakeGeneralPath = 0xFFFF;

// Every BMP code point's CP932 code in one flat table, kGeta for those
// without one: the encoders' common case is one look-up per character.
const std::uint16_t* BmpToCp932()
{
    static const std::uint16_t* const table = [] {
        auto* t = new std::uint16_t[0x10000];
        for (std::uint32_t c = 0; c < 0x10000; ++c) {
            const std::uint16_t code = UnicodeToCp932Code(c);
            t[c] = code != 0 || c == 0 ? code : kGeta;
        }
        for (std::uint32_t c = kRawByteBase; c <= kRawByteBase + 0xFF; ++c)
            t[c] = kTakeGeneralPath;
        return t;
    }();
    return table;
}

// The UTF-8 decoding loop of the encoders; put writes one character's code
// (kGeta when it has none) and returns the cursor, writing at most kPerByte
// bytes per input byte. Runs of ASCII are copied; with kAsciiThroughPut
// the first byte of each run goes through put.
template <std::size_t kPerByte = 2, bool kAsciiThroughPut = false, typename Put>
std::size_t EncodeUtf8(std::string_view text, bool atEnd, BadInput bad, std::string& out, Put put)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    // Japanese text shrinks by a third; ASCII keeps its size.
    Writer writer(out, n + 16);
    const std::uint16_t* const flat = BmpToCp932();
    std::size_t i = 0;
    bool held = false;
    while (i < n && !held) {
        // A slice may end inside a sequence (up to 3 bytes further).
        const std::size_t stop = std::min(n, i + kSlice);
        unsigned char* o = writer.Reserve(kPerByte * (stop - i + 3));
        while (i < stop) {
            const unsigned c = p[i];
            // The common case first: a well-formed three-byte sequence with
            // no special range (E0 and ED have narrower second bytes, and
            // U+F700-U+F7FF may be kept bytes).
            if (c >= 0xE1) {
                // A run of them, through the flat table (geta already in
                // place of the characters CP932 lacks). One test covers the
                // lead byte (E1-EF but ED, whose range is narrower) and both
                // continuation bytes; U+F700-U+F7FF, which may be kept
                // bytes, take the general path.
                const std::size_t start = i;
                while (i < stop && i + 2 < n) {
                    const unsigned a = p[i], b = p[i + 1] ^ 0x80u, d = p[i + 2] ^ 0x80u;
                    if (!(kPlainLead3[a] & ((b | d) < 0x40u)))
                        break;
                    const std::uint32_t u = ((a & 0x0Fu) << 12) | (b << 6) | d;
                    const std::uint16_t code = flat[u];
                    if (code == kTakeGeneralPath)
                        break;
                    o = put(o, code);
                    i += 3;
                }
                if (i != start)
                    continue;
            }
            if (c < 0x80) {
                if constexpr (kAsciiThroughPut) {
                    // The first ASCII byte may end a mode or a wait; the
                    // rest of the run is copied.
                    o = put(o, static_cast<std::uint16_t>(c));
                    ++i;
                }
                const std::size_t run = CopyAscii(p + i, stop - i, o);
                o += run;
                i += run;
                continue;
            }
            const Utf8Step step = ReadUtf8(p + i, n - i);
            std::uint16_t code = 0;
            if (step.length == 0) {
                if (step.cut && !atEnd) {
                    held = true;
                    break;
                }
                i += step.valid;
            } else {
                i += step.length;
                if (bad == BadInput::KeepBytes && step.code >= kRawByteBase
                    && step.code <= kRawByteBase + 0xFF) {
                    *o++ = static_cast<unsigned char>(step.code - kRawByteBase);
                    continue;
                }
                code = UnicodeToCp932Code(step.code);
            }
            o = put(o, code != 0 ? code : kGeta);
        }
        writer.Commit(o);
    }
    return i;
}

} // namespace

std::size_t AppendUtf8AsCp932(std::string_view text, bool atEnd, BadInput bad, std::string& out)
{
    return EncodeUtf8(text, atEnd, bad, out, [](unsigned char* o, std::uint16_t code) {
        if (code >= 0x100) {
            o[0] = static_cast<unsigned char>(code >> 8);
            o[1] = static_cast<unsigned char>(code & 0xFF);
            return o + 2;
        }
        *o = static_cast<unsigned char>(code);
        return o + 1;
    });
}

std::size_t detail::AppendUtf8AsEuc(std::string_view text, bool atEnd, std::string& out)
{
    // Each character as sjis2euc writes the Shift_JIS character that
    // AppendUtf8AsCp932 gives for it: every such character is whole, so the
    // two steps never see each other's bytes.
    return EncodeUtf8(text, atEnd, BadInput::Replace, out, [](unsigned char* o, std::uint16_t code) {
        if (code < 0x80) {
            *o = static_cast<unsigned char>(code);
            return o + 1;
        }
        if (code < 0x100) {
            o[0] = 0x8E; // half-width katakana
            o[1] = static_cast<unsigned char>(code);
            return o + 2;
        }
        // Table look-ups rather than branches: whether the trail byte is
        // below 9F follows the row's parity, which no predictor guesses.
        const unsigned s1 = code >> 8, s2 = code & 0xFF;
        o[0] = static_cast<unsigned char>((kEucTables.row[s1] - kEucTables.oddRow[s2]) | 0x80);
        o[1] = static_cast<unsigned char>(kEucTables.column[s2] | 0x80);
        return o + 2;
    });
}

std::size_t detail::AppendUtf8AsJis(std::string_view text, bool atEnd, BlockState& state, std::string& out)
{
    // Each character as sjis2jis83 writes the Shift_JIS character that
    // AppendUtf8AsCp932 gives for it. A half-width kana waits for the next
    // character, which may be the voiced mark it joins with.
    bool dbl = state.doubleByte;
    unsigned kana = state.pendingKana;
    auto enter = [&dbl](unsigned char* o, bool twoByte) {
        if (twoByte == dbl)
            return o;
        dbl = twoByte;
        o[0] = 0x1B;
        o[1] = twoByte ? '$' : '(';
        o[2] = twoByte ? 'B' : 'J';
        return o + 3;
    };
    const std::size_t used
        = EncodeUtf8<6, true>(text, atEnd, BadInput::Replace, out, [&](unsigned char* o, std::uint16_t code) {
              if (kana != 0) {
                  const bool joined = PutKanaAsJis(o, kana & 0x7F, code);
                  o += 2;
                  kana = 0;
                  if (joined)
                      return o;
              }
              if (code < 0x80) {
                  o = enter(o, false);
                  *o = static_cast<unsigned char>(code);
                  return o + 1;
              }
              o = enter(o, true);
              if (code < 0x100) {
                  kana = code;
                  return o;
              }
              const unsigned s1 = code >> 8, s2 = code & 0xFF;
              o[0] = static_cast<unsigned char>(kEucTables.row[s1] - kEucTables.oddRow[s2]);
              o[1] = kEucTables.column[s2];
              return o + 2;
          });
    if (atEnd && kana != 0) {
        unsigned char last[2];
        PutKanaAsJis(last, kana & 0x7F, 0);
        out.append(reinterpret_cast<const char*>(last), 2);
        kana = 0;
    }
    state.doubleByte = dbl;
    state.pendingKana = kana;
    return used;
}

std::size_t ValidUtf8Prefix(std::string_view text) noexcept
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        if (p[i] < 0x80) {
            i += AsciiRun(p + i, n - i);
            continue;
        }
        const Utf8Step step = ReadUtf8(p + i, n - i);
        if (step.length == 0)
            break;
        i += step.length;
    }
    return i;
}

std::string Cp932ToUtf8(std::string_view text)
{
    std::string out;
    AppendCp932AsUtf8(text, true, BadInput::Replace, out);
    return out;
}

std::string Utf8ToCp932(std::string_view text)
{
    std::string out;
    AppendUtf8AsCp932(text, true, BadInput::Replace, out);
    return out;
}

std::string Cp932ToUtf8KeepingBytes(std::string_view text)
{
    std::string out;
    AppendCp932AsUtf8(text, true, BadInput::KeepBytes, out);
    return out;
}

std::string Utf8ToCp932KeepingBytes(std::string_view text)
{
    std::string out;
    AppendUtf8AsCp932(text, true, BadInput::KeepBytes, out);
    return out;
}

} // namespace jconvert
