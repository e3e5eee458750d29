#include "jconvert/charset.h"

#include "jconvert/AsciiText.h"
#include "jconvert/codes.h"
#include "jconvert/cp932.h"

#include <algorithm>
#include <array>

namespace jconvert {
namespace {

enum class Charset { Unknown, Jis, Utf8, Sjis, Euc, Ascii, Latin1 };

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    return EqualsIgnoringAsciiCase(a, b);
}

Charset Classify(std::string_view name)
{
    struct Label {
        std::string_view name;
        Charset charset;
    };
    static constexpr std::array<Label, 17> kLabels { {
        { "iso-2022-jp", Charset::Jis },
        { "csiso2022jp", Charset::Jis },
        { "utf-8", Charset::Utf8 },
        { "utf8", Charset::Utf8 },
        { "shift_jis", Charset::Sjis },
        { "shift-jis", Charset::Sjis },
        { "sjis", Charset::Sjis },
        { "x-sjis", Charset::Sjis },
        { "cp932", Charset::Sjis },
        { "windows-31j", Charset::Sjis },
        { "ms932", Charset::Sjis },
        { "euc-jp", Charset::Euc },
        { "x-euc-jp", Charset::Euc },
        { "us-ascii", Charset::Ascii },
        { "ascii", Charset::Ascii },
        { "iso-8859-1", Charset::Latin1 },
        { "latin1", Charset::Latin1 },
    } };
    for (const Label& label : kLabels) {
        if (EqualsNoCase(name, label.name))
            return label.charset;
    }
    return Charset::Unknown;
}

std::string Latin1ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (b >> 6));
            out += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return out;
}

// ISO-2022-JP (with the JIS X 0201 kana of its common extension) to
// Shift_JIS. Each escape is read on its own, so text joined from several
// encoded-words, each ending in its return escape, converts whole.
std::string JisToSjis(std::string_view text)
{
    enum class Mode { Single, Double, Kana };
    Mode mode = Mode::Single;
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\x1b' && i + 2 < text.size()) {
            const char a = text[i + 1];
            const char b = text[i + 2];
            if (a == '$' && (b == 'B' || b == '@')) {
                mode = Mode::Double;
                i += 2;
                continue;
            }
            if (a == '(' && (b == 'B' || b == 'J' || b == 'H')) {
                mode = Mode::Single;
                i += 2;
                continue;
            }
            if (a == '(' && b == 'I') {
                mode = Mode::Kana;
                i += 2;
                continue;
            }
        }
        if (c == '\x0e' || c == '\x0f') { // shift out / in for kana
            mode = c == '\x0e' ? Mode::Kana : Mode::Single;
            continue;
        }
        const auto b = static_cast<unsigned char>(c);
        if (mode == Mode::Double && b >= 0x21 && b <= 0x7E && i + 1 < text.size()) {
            const auto b2 = static_cast<unsigned char>(text[i + 1]);
            if (b2 >= 0x21 && b2 <= 0x7E) {
                out += ToSjis(b, b2);
                ++i;
                continue;
            }
        }
        if (mode == Mode::Kana && b >= 0x21 && b <= 0x5F) {
            out += static_cast<char>(b | 0x80);
            continue;
        }
        out += c;
    }
    return out;
}

} // namespace

bool IsKnownCharset(std::string_view name)
{
    return Classify(name) != Charset::Unknown;
}

std::string CharsetToSjis(const std::string& bytes, std::string_view name)
{
    switch (Classify(name)) {
    case Charset::Jis:
        return JisToSjis(bytes);
    case Charset::Utf8:
        return Utf8ToCp932(bytes);
    case Charset::Sjis:
        return bytes;
    case Charset::Euc:
        return euc2sjis(bytes);
    case Charset::Ascii:
        // Labelled ASCII that is not (a common mislabel) is left to detection.
        for (char c : bytes) {
            if (static_cast<unsigned char>(c) >= 0x80 || c == '\x1b')
                return ConvertJCode(bytes, CODE_SJIS);
        }
        return bytes;
    case Charset::Latin1:
        return Utf8ToCp932(Latin1ToUtf8(bytes));
    case Charset::Unknown:
        break;
    }
    return ConvertJCode(bytes, CODE_SJIS);
}

bool LooksLikeUtf8(std::string_view text)
{
    const bool high
        = std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    return high && ValidUtf8Prefix(text) == text.size();
}

std::string CodePointToUtf8(unsigned long cp)
{
    std::string out;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        if (cp >= 0xD800 && cp <= 0xDFFF)
            return {};
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp <= 0x10FFFF) {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

} // namespace jconvert
