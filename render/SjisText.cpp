#include "render/SjisText.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace render {
namespace {

// One conversion through iconv(3); glibc's "CP932" is Microsoft's table,
// which plain "SHIFT_JIS" is not (for example the wave dash and ＼).
// On a byte it cannot convert it emits replacement and skips skip bytes.
std::string Convert(const char* to, const char* from, std::string_view in, std::string_view replacement)
{
    std::string out;
    iconv_t cd = ::iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return out;
    out.reserve(in.size() * 2 + 16);
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char buffer[1024];
    while (srcLeft > 0) {
        char* dst = buffer;
        std::size_t dstLeft = sizeof buffer;
        const std::size_t result = ::iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, sizeof buffer - dstLeft);
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // EILSEQ or EINVAL: replace one unit of input and carry on.
            std::size_t skip = 1;
            if (std::string_view(from) == "UTF-8") {
                skip = 1;
                while (skip < srcLeft && (static_cast<unsigned char>(src[skip]) & 0xC0) == 0x80)
                    ++skip;
            }
            skip = std::min(skip, srcLeft);
            src += skip;
            srcLeft -= skip;
            out.append(replacement);
            ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    ::iconv_close(cd);
    return out;
}

} // namespace

QString SjisToQString(std::string_view sjis)
{
    return QString::fromUtf8(Convert("UTF-8", "CP932", sjis, "\xEF\xBF\xBD"));
}

std::string QStringToSjis(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return Convert(
        "CP932", "UTF-8", std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), "?");
}

} // namespace render
