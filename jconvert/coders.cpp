#include "jconvert/coders.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace jconvert {
namespace {

constexpr char kBase64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kBinHexAlphabet[] = "!\"#$%&'()*+,-012345689@ABCDEFGHIJKLMNPQRSTUVXYZ[`abcdefhijklmpqr";

// Marks in the reverse tables: a character outside the alphabet, and the
// Base64 padding character.
constexpr std::uint8_t kNotInAlphabet = 0xFF;
constexpr std::uint8_t kPad = 0xFE;

using ReverseTable = std::array<std::uint8_t, 256>;

constexpr ReverseTable makeReverse(const char* alphabet)
{
    ReverseTable table {};
    table.fill(kNotInAlphabet);
    for (int v = 0; v < 64; ++v)
        table[static_cast<unsigned char>(alphabet[v])] = static_cast<std::uint8_t>(v);
    return table;
}

constexpr ReverseTable kBase64Reverse = [] {
    ReverseTable table = makeReverse(kBase64Alphabet);
    table['='] = kPad;
    return table;
}();
constexpr ReverseTable kBinHexReverse = makeReverse(kBinHexAlphabet);

// UU: value v is written as 0x20 + v, with the backquote standing for 0 so
// that no line carries significant trailing blanks.
constexpr char uuChar(unsigned v)
{
    return v == 0 ? '`' : static_cast<char>(0x20 + v);
}

// UU characters map back by their low six bits, which makes both the blank
// and the backquote 0 and keeps every value within six bits.
constexpr unsigned uuValue(unsigned char c)
{
    return (c - 0x20u) & 0x3Fu;
}

inline unsigned char byteAt(const std::string& s, std::size_t i)
{
    return static_cast<unsigned char>(s[i]);
}

// The four six-bit values of the group a, b, c.
struct Sextets {
    unsigned v[4];
};

inline Sextets split(unsigned a, unsigned b, unsigned c)
{
    return { { a >> 2, ((a & 3u) << 4) | (b >> 4), ((b & 0x0Fu) << 2) | (c >> 6), c & 0x3Fu } };
}

// Appends up to three bytes rebuilt from four six-bit values.
inline void join(std::string& out, const unsigned v[4], int bytes)
{
    if (bytes >= 1)
        out.push_back(static_cast<char>(((v[0] << 2) | (v[1] >> 4)) & 0xFFu));
    if (bytes >= 2)
        out.push_back(static_cast<char>(((v[1] << 4) | (v[2] >> 2)) & 0xFFu));
    if (bytes >= 3)
        out.push_back(static_cast<char>(((v[2] << 6) | v[3]) & 0xFFu));
}

inline bool isLineBreak(unsigned char c)
{
    return c == '\r' || c == '\n';
}

// Base64 of data; when lineBreak is given, it follows every 19th full group.
std::string base64(const std::string& data, const std::string* lineBreak)
{
    const std::size_t size = data.size();
    const std::size_t full = size / 3;
    std::string out;
    std::size_t reserve = (size + 2) / 3 * 4;
    if (lineBreak)
        reserve += full / 19 * lineBreak->size();
    out.reserve(reserve);

    std::size_t i = 0;
    for (std::size_t g = 1; g <= full; ++g, i += 3) {
        const Sextets s = split(byteAt(data, i), byteAt(data, i + 1), byteAt(data, i + 2));
        for (unsigned v : s.v)
            out.push_back(kBase64Alphabet[v]);
        if (lineBreak && g % 19 == 0)
            out += *lineBreak;
    }
    const std::size_t rest = size - i;
    if (rest > 0) {
        const Sextets s = split(byteAt(data, i), rest == 2 ? byteAt(data, i + 1) : 0u, 0u);
        out.push_back(kBase64Alphabet[s.v[0]]);
        out.push_back(kBase64Alphabet[s.v[1]]);
        out.push_back(rest == 2 ? kBase64Alphabet[s.v[2]] : '=');
        out.push_back('=');
    }
    return out;
}

} // namespace

std::string EncodeBase64(const std::string& data)
{
    return base64(data, nullptr);
}

std::string EncodeBase64R(const std::string& data, const std::string& lineBreak)
{
    return base64(data, &lineBreak);
}

std::string EncodeUU(const std::string& data, const std::string& lineBreak)
{
    constexpr std::size_t kLineBytes = 45;
    const std::size_t size = data.size();
    std::string out;
    out.reserve((size / kLineBytes + 1) * (62 + lineBreak.size()) + 1 + 2 * lineBreak.size());

    std::size_t i = 0;
    auto putGroups = [&](std::size_t end) {
        for (; i + 3 <= end; i += 3) {
            const Sextets s = split(byteAt(data, i), byteAt(data, i + 1), byteAt(data, i + 2));
            for (unsigned v : s.v)
                out.push_back(uuChar(v));
        }
    };

    for (std::size_t line = 0; line < size / kLineBytes; ++line) {
        out.push_back('M');
        putGroups(i + kLineBytes);
        out += lineBreak;
    }
    const std::size_t rest = size - i;
    if (rest > 0) {
        out.push_back(static_cast<char>(0x20 + rest));
        putGroups(size);
        const std::size_t tail = size - i;
        if (tail > 0) {
            const Sextets s = split(byteAt(data, i), tail == 2 ? byteAt(data, i + 1) : 0u, 0u);
            out.push_back(uuChar(s.v[0]));
            out.push_back(uuChar(s.v[1]));
            out.push_back(tail == 2 ? uuChar(s.v[2]) : '`');
            out.push_back('`');
        }
    }
    // The closing zero-length line. After whole 45-byte lines (or no data)
    // this leaves an empty line before it.
    out += lineBreak;
    out.push_back('`');
    out += lineBreak;
    return out;
}

std::string EncodeBinHex(const std::string& data, const std::string& lineBreak)
{
    constexpr std::size_t kLineChars = 64;
    const std::size_t size = data.size();
    std::string out;
    out.reserve((size + 2) / 3 * 4 + 2 + (size / 48 + 1) * lineBreak.size());

    out.push_back(':');
    std::size_t column = 1; // the opening colon belongs to the first line
    std::size_t i = 0;
    for (; i + 3 <= size; i += 3) {
        const Sextets s = split(byteAt(data, i), byteAt(data, i + 1), byteAt(data, i + 2));
        out.push_back(kBinHexAlphabet[s.v[0]]);
        out.push_back(kBinHexAlphabet[s.v[1]]);
        out.push_back(kBinHexAlphabet[s.v[2]]);
        column += 3;
        if (column >= kLineChars) {
            out += lineBreak;
            column = 0;
        }
        out.push_back(kBinHexAlphabet[s.v[3]]);
        ++column;
    }
    const std::size_t rest = size - i;
    if (rest > 0) {
        const Sextets s = split(byteAt(data, i), rest == 2 ? byteAt(data, i + 1) : 0u, 0u);
        out.push_back(kBinHexAlphabet[s.v[0]]);
        out.push_back(kBinHexAlphabet[s.v[1]]);
        if (rest == 2)
            out.push_back(kBinHexAlphabet[s.v[2]]);
    }
    out.push_back(':');
    return out;
}

std::string DecodeBase64(const std::string& text)
{
    std::string out;
    out.reserve(text.size() / 4 * 3 + 3);
    unsigned v[4] = { 0, 0, 0, 0 };
    int count = 0; // characters taken into the current group
    int values = 0; // of these, the values before the first "="
    bool padded = false;

    auto flush = [&] {
        // n values carry n - 1 whole bytes (2 -> 1, 3 -> 2, 4 -> 3).
        if (values >= 2)
            join(out, v, values - 1);
        v[0] = v[1] = v[2] = v[3] = 0;
        count = values = 0;
        padded = false;
    };

    for (const char ch : text) {
        const std::uint8_t code = kBase64Reverse[static_cast<unsigned char>(ch)];
        if (code == kNotInAlphabet)
            continue; // line breaks, blanks and stray characters carry no bits
        if (code == kPad) {
            padded = true;
        } else if (!padded) {
            v[values++] = code;
        }
        if (++count == 4)
            flush();
    }
    if (count > 0)
        flush();
    return out;
}

std::string DecodeUU(const std::string& text)
{
    const std::size_t size = text.size();
    std::string out;
    out.reserve(size / 4 * 3);

    std::size_t i = 0;
    long expected = 0; // bytes still announced by the current line's length character
    bool lineStart = true;
    while (i < size) {
        const unsigned char c = byteAt(text, i);
        if (isLineBreak(c)) {
            expected = 0;
            lineStart = true;
            ++i;
            continue;
        }
        if (lineStart) {
            lineStart = false;
            // The framing lines of a whole uuencoded file carry no data; their
            // first letters would otherwise read as huge byte counts.
            const std::size_t rest = size - i;
            const bool begin = rest >= 6 && text.compare(i, 6, "begin ") == 0;
            const bool end = rest >= 3 && text.compare(i, 3, "end") == 0
                && (rest == 3 || isLineBreak(byteAt(text, i + 3)));
            if (begin || end) {
                while (i < size && !isLineBreak(byteAt(text, i)))
                    ++i;
                continue;
            }
        }
        if (expected <= 0) {
            expected = static_cast<long>(c) - 0x20;
            ++i;
            continue;
        }
        unsigned v[4] = { 0, 0, 0, 0 };
        int have = 0;
        while (have < 4 && i < size && !isLineBreak(byteAt(text, i)))
            v[have++] = uuValue(byteAt(text, i++));
        // A group cut short carries only the bytes its characters complete.
        int bytes = expected >= 3 ? 3 : static_cast<int>(expected);
        if (have - 1 < bytes)
            bytes = have - 1;
        join(out, v, bytes);
        expected -= 3;
    }
    return out;
}

std::string DecodeBinHex(const std::string& text)
{
    const std::size_t size = text.size();
    std::string out;
    out.reserve(size / 4 * 3);

    std::size_t i = (size > 0 && text[0] == ':') ? 1 : 0;
    // The next character of the group, line breaks skipped; kNotInAlphabet at
    // the end of the text.
    auto next = [&]() -> std::uint8_t {
        while (i < size && isLineBreak(byteAt(text, i)))
            ++i;
        if (i >= size)
            return kNotInAlphabet;
        return kBinHexReverse[byteAt(text, i++)];
    };

    for (;;) {
        unsigned v[4] = { 0, 0, 0, 0 };
        int have = 0;
        while (have < 4) {
            const std::uint8_t code = next();
            if (code == kNotInAlphabet)
                break;
            v[have++] = code;
        }
        if (have >= 2)
            join(out, v, have - 1);
        if (have < 4)
            break; // the closing colon, the end, or a stray character
    }
    return out;
}

} // namespace jconvert
