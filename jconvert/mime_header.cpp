#include "jconvert/mime_header.h"

#include "jconvert/AsciiText.h"
#include "jconvert/coders.h"
#include "jconvert/codes.h"
#include "jconvert/sjis.h"

#include <cstddef>
#include <string_view>

namespace jconvert {
namespace {

constexpr std::string_view kOpening = "=?ISO-2022-JP?B?";
constexpr std::string_view kClosing = "?=";
constexpr std::string_view kReturnEscape = "\x1B(J"; // ESC ( J

// Position of the first encoded-word opening at or after from, letters
// compared without regard to case; npos when there is none.
std::size_t findOpening(std::string_view text, std::size_t from)
{
    while (from + kOpening.size() <= text.size()) {
        const std::size_t at = text.find('=', from);
        if (at == std::string_view::npos || at + kOpening.size() > text.size())
            return std::string_view::npos;
        std::size_t k = 1;
        while (k < kOpening.size() && AsciiUpper(text[at + k]) == kOpening[k])
            ++k;
        if (k == kOpening.size())
            return at;
        from = at + 1;
    }
    return std::string_view::npos;
}

void appendEncodedWord(std::string& out, const std::string& doubleRun)
{
    out += kOpening;
    out += EncodeBase64(sjis2jis83(doubleRun));
    out += kClosing;
}

} // namespace

std::string DecodeHeaderString(const std::string& header)
{
    const std::string_view text(header);
    std::string out;
    out.reserve(header.size());

    std::size_t pos = 0;
    bool closingLeft = true; // false once no "?=" follows: later openings have none either
    for (;;) {
        const std::size_t open = findOpening(text, pos);
        if (open == std::string_view::npos)
            break;
        out.append(text.substr(pos, open - pos));
        const std::size_t encoded = open + kOpening.size();
        // The closing is looked for after this word's own opening: a "?=" in
        // text already decoded or passed over must not cut it short.
        const std::size_t close = closingLeft ? text.find(kClosing, encoded) : std::string_view::npos;
        if (close == std::string_view::npos) {
            closingLeft = false;
            // An opening without its closing is dropped; the rest stays.
            pos = encoded;
            continue;
        }
        out += DecodeBase64(std::string(text.substr(encoded, close - encoded)));
        out += kReturnEscape;
        // Decoded bytes are final: scanning resumes after the closing, so a
        // word whose text happens to spell an encoded-word is not decoded twice.
        pos = close + kClosing.size();
    }
    out.append(text.substr(pos));
    return out;
}

std::string CreateHeaderString(const std::string& sjisText)
{
    const std::size_t size = sjisText.size();
    std::string out;
    out.reserve(size * 2 + 32);
    std::string doubleRun; // pending run of double-byte characters
    std::size_t singleStart = 0; // start of the pending single-byte text
    bool inRun = false;

    for (std::size_t i = 0; i < size; ++i) {
        const unsigned char c = static_cast<unsigned char>(sjisText[i]);
        if (IsSjisLeadByte(c)) {
            if (!inRun)
                out.append(sjisText, singleStart, i - singleStart);
            doubleRun.push_back(static_cast<char>(c));
            // A lead byte at the very end is paired with a zero byte.
            doubleRun.push_back(i + 1 < size ? sjisText[i + 1] : '\0');
            ++i;
            inRun = true;
        } else {
            if (inRun) {
                appendEncodedWord(out, doubleRun);
                doubleRun.clear();
                singleStart = i;
            }
            inRun = false;
        }
    }
    if (inRun)
        appendEncodedWord(out, doubleRun);
    else
        out.append(sjisText, singleStart, size - singleStart);
    return out;
}

} // namespace jconvert
