#include "jconvert/quoted_printable.h"

namespace jconvert {
namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

std::string DecodeQuotedPrintable(std::string_view text, bool headerQ)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '_' && headerQ) {
            out += ' ';
            continue;
        }
        if (c != '=') {
            out += c;
            continue;
        }
        if (i + 2 < text.size()) {
            const int high = HexValue(text[i + 1]);
            const int low = HexValue(text[i + 2]);
            if (high >= 0 && low >= 0) {
                out += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        // A soft line break: "=", optional blanks, then CR LF, LF or the end.
        std::size_t k = i + 1;
        while (k < text.size() && (text[k] == ' ' || text[k] == '\t'))
            ++k;
        if (k == text.size()) {
            i = k - 1;
            continue;
        }
        if (text[k] == '\n' || (text[k] == '\r' && k + 1 < text.size() && text[k + 1] == '\n')) {
            i = text[k] == '\r' ? k + 1 : k;
            continue;
        }
        out += c;
    }
    return out;
}

} // namespace jconvert
