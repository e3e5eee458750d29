#include "jconvert/cp932.h"

#include "jconvert/cp932_tables.h"

#include <algorithm>
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
constexpr std::size_t kSlice = 4096;

class Writer {
public:
    explicit Writer(std::string& out)
        : out_(out)
        , used_(out.size())
    {
    }
    ~Writer() { out_.resize(used_); }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // Room for count more bytes; returns the cursor.
    unsigned char* Reserve(std::size_t count)
    {
        if (out_.size() < used_ + count)
            out_.resize(std::max(used_ + count, out_.size() + out_.size() / 2));
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
    Writer writer(out);
    std::size_t i = 0;
    while (i < n) {
        // A slice ends at most one byte past its nominal end (a pair), and no
        // input byte makes more than three output bytes.
        const std::size_t stop = std::min(n, i + kSlice);
        unsigned char* o = writer.Reserve(3 * (stop - i + 1));
        while (i < stop) {
            const unsigned c = p[i];
            if (c < 0x80) {
                const std::size_t run = AsciiRun(p + i, stop - i);
                std::memcpy(o, p + i, run);
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

std::size_t AppendUtf8AsCp932(std::string_view text, bool atEnd, BadInput bad, std::string& out)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    Writer writer(out);
    std::size_t i = 0;
    bool held = false;
    while (i < n && !held) {
        // A slice may end inside a sequence (up to 3 bytes further); each
        // input byte gives at most two output bytes.
        const std::size_t stop = std::min(n, i + kSlice);
        unsigned char* o = writer.Reserve(2 * (stop - i + 3));
        while (i < stop) {
            const unsigned c = p[i];
            if (c < 0x80) {
                const std::size_t run = AsciiRun(p + i, stop - i);
                std::memcpy(o, p + i, run);
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
            if (code == 0) {
                o[0] = 0x81; // geta mark
                o[1] = 0xAC;
                o += 2;
            } else if (code < 0x100) {
                *o++ = static_cast<unsigned char>(code);
            } else {
                o[0] = static_cast<unsigned char>(code >> 8);
                o[1] = static_cast<unsigned char>(code & 0xFF);
                o += 2;
            }
        }
        writer.Commit(o);
    }
    return i;
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
