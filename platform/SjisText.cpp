#include "platform/SjisText.h"

#include <algorithm>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

namespace platform {

#ifdef _WIN32

// Windows converts with its own code page 932 tables.
QString FromSjis(std::string_view bytes)
{
    if (bytes.empty()) {
        return {};
    }
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(932, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(932, 0, bytes.data(), size, wide.data(), length);
    return QString::fromStdWString(wide);
}

std::string ToSjis(const QString& text)
{
    const std::wstring wide = text.toStdWString();
    if (wide.empty()) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(932, 0, wide.data(), size, nullptr, 0, "?", nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(932, 0, wide.data(), size, out.data(), length, "?", nullptr);
    return out;
}

#else

namespace {

constexpr char32_t kRawByteBase = 0xF700;

// One iconv descriptor for the life of a call.
class Iconv {
public:
    Iconv(const char* to, const char* from)
        : cd_(iconv_open(to, from))
    {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
        }
    }
    ~Iconv() { iconv_close(cd_); }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    // Converts as much of [in, in + inLeft) as possible, appending to out.
    // Returns 0 when everything was converted, otherwise errno (EILSEQ or
    // EINVAL) with in/inLeft at the offending input.
    int convert(const char*& in, std::size_t& inLeft, std::string& out)
    {
        char buffer[4096];
        while (inLeft > 0) {
            char* inPtr = const_cast<char*>(in);
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t result = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            const int error = result == static_cast<std::size_t>(-1) ? errno : 0;
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            in = inPtr;
            if (error == E2BIG) {
                continue;
            }
            if (error != 0) {
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
                return error;
            }
        }
        return 0;
    }

private:
    iconv_t cd_;
};

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::size_t Utf8Length(unsigned char lead)
{
    if (lead < 0xC0) {
        return 1;
    }
    if (lead < 0xE0) {
        return 2;
    }
    if (lead < 0xF0) {
        return 3;
    }
    return 4;
}

} // namespace

QString FromSjis(std::string_view bytes)
{
    Iconv cd("UTF-8", "CP932");
    std::string utf8;
    utf8.reserve(bytes.size() * 3 / 2);
    const char* in = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        if (cd.convert(in, left, utf8) != 0) {
            AppendUtf8(utf8, kRawByteBase + static_cast<unsigned char>(*in));
            ++in;
            --left;
        }
    }
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string ToSjis(const QString& text)
{
    Iconv cd("CP932", "UTF-8");
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()) * 2);
    std::string segment;
    auto flush = [&] {
        const char* in = segment.data();
        std::size_t left = segment.size();
        while (left > 0) {
            if (cd.convert(in, left, out) != 0) {
                const std::size_t skip = std::min(left, Utf8Length(static_cast<unsigned char>(*in)));
                out += '?';
                in += skip;
                left -= skip;
            }
        }
        segment.clear();
    };
    for (const char32_t c : text.toStdU32String()) {
        if (c >= kRawByteBase && c <= kRawByteBase + 0xFF) {
            flush();
            out += static_cast<char>(c - kRawByteBase);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            segment += '?'; // a lone surrogate has no character to convert
        } else if (c > 0xFFFF) {
            segment += '?'; // outside the Basic Multilingual Plane: never in code page 932
        } else {
            AppendUtf8(segment, c);
        }
    }
    flush();
    return out;
}

#endif

QString FromSjisLines(std::string_view bytes)
{
    QString text = FromSjis(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar('\r'), QChar('\n'));
    return text;
}

std::string ToSjisLines(const QString& text)
{
    std::string bytes = ToSjis(text);
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 16);
    for (const char c : bytes) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

} // namespace platform
