#include "jconvert/encoded_words.h"

#include "jconvert/charset.h"
#include "jconvert/coders.h"
#include "jconvert/codes.h"
#include "jconvert/cp932.h"
#include "jconvert/quoted_printable.h"

#include <string_view>
#include <vector>

namespace jconvert {
namespace {

struct Segment {
    bool encoded = false;
    std::string charset; // encoded only, without a language suffix
    std::string bytes; // decoded bytes, or the literal text
};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool SameCharset(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

// Reads "=?charset?E?text?=" at pos. On success fills word and sets end to
// the position after "?=". An encoded-word holds no blank. noCloseBefore
// remembers where a failed search for "?=" stopped: a later word whose text
// starts before that point cannot close either, so long headers full of
// openings are read in linear time.
bool ReadWord(
    std::string_view s, std::size_t pos, Segment& word, std::size_t& end, std::size_t& noCloseBefore)
{
    if (pos + 1 >= s.size() || s[pos] != '=' || s[pos + 1] != '?')
        return false;
    const std::size_t charsetStart = pos + 2;
    std::size_t q1 = charsetStart;
    while (q1 < s.size() && s[q1] != '?' && !IsBlank(s[q1]))
        ++q1;
    if (q1 == charsetStart || q1 + 2 >= s.size() || s[q1] != '?' || s[q1 + 2] != '?')
        return false;
    const char encoding = s[q1 + 1];
    const bool base64 = encoding == 'B' || encoding == 'b';
    if (!base64 && encoding != 'Q' && encoding != 'q')
        return false;
    const std::size_t textStart = q1 + 3;
    if (textStart < noCloseBefore)
        return false;
    std::size_t close = textStart;
    while (close + 1 < s.size() && !(s[close] == '?' && s[close + 1] == '=') && !IsBlank(s[close]))
        ++close;
    if (close + 1 >= s.size() || IsBlank(s[close])) {
        noCloseBefore = close;
        return false;
    }
    std::string_view charset = s.substr(charsetStart, q1 - charsetStart);
    charset = charset.substr(0, charset.find('*')); // RFC 2231 language
    const std::string text(s.substr(textStart, close - textStart));
    word.encoded = true;
    word.charset = std::string(charset);
    word.bytes = base64 ? DecodeBase64(text) : DecodeQuotedPrintable(text, true);
    end = close + 2;
    return true;
}

std::string LiteralToSjis(const std::string& text)
{
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80 || c == '\x1b')
            return LooksLikeUtf8(text) ? Utf8ToCp932(text) : ConvertJCode(text, CODE_SJIS);
    }
    return text;
}

} // namespace

std::string DecodeEncodedWords(const std::string& header)
{
    const std::string_view s = header;
    std::vector<Segment> segments;
    std::string literal;
    std::size_t noCloseBefore = 0;
    for (std::size_t i = 0; i < s.size();) {
        Segment word;
        std::size_t end = 0;
        if (ReadWord(s, i, word, end, noCloseBefore)) {
            const bool onlyBlanks = literal.find_first_not_of(" \t\r\n") == std::string::npos;
            if (!literal.empty() && !(onlyBlanks && !segments.empty() && segments.back().encoded))
                segments.push_back({ false, {}, literal });
            literal.clear();
            if (!segments.empty() && segments.back().encoded
                && SameCharset(segments.back().charset, word.charset))
                segments.back().bytes += word.bytes;
            else
                segments.push_back(std::move(word));
            i = end;
            continue;
        }
        literal += s[i];
        ++i;
    }
    if (!literal.empty())
        segments.push_back({ false, {}, literal });

    std::string result;
    for (const Segment& segment : segments)
        result
            += segment.encoded ? CharsetToSjis(segment.bytes, segment.charset) : LiteralToSjis(segment.bytes);
    return result;
}

} // namespace jconvert
