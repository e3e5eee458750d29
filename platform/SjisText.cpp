#include "platform/SjisText.h"

#include "jconvert/cp932.h"

#include <QByteArray>

namespace platform {

QString FromSjis(std::string_view bytes)
{
    const std::string utf8 = jconvert::Cp932ToUtf8KeepingBytes(bytes);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string ToSjis(const QString& text)
{
    // Qt writes a lone surrogate as "?", as the window always did.
    const QByteArray utf8 = text.toUtf8();
    return jconvert::Utf8ToCp932KeepingBytes(
        std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

std::string ToSjis(const QString& text, std::string_view original)
{
    if (!original.empty() && FromSjis(original) == text) {
        return std::string(original);
    }
    return ToSjis(text);
}

} // namespace platform
