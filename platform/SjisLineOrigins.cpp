#include "platform/SjisLineOrigins.h"

#include "platform/SjisText.h"

#include <QStringList>

namespace platform {

QString SjisLineOrigins::DecodeLines(std::string_view bytes)
{
    QString text;
    std::size_t start = 0;
    while (start <= bytes.size()) {
        // Trail bytes are never CR or LF, so a line end found byte by byte
        // is always a real one.
        std::size_t end = bytes.find_first_of("\r\n", start);
        const bool last = end == std::string_view::npos;
        if (last) {
            end = bytes.size();
        }
        const std::string_view line = bytes.substr(start, end - start);
        const QString decoded = FromSjis(line);
        lines_[decoded].emplace_back(line);
        text += decoded;
        if (last) {
            break;
        }
        text += QChar('\n');
        start = end + (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1);
    }
    return text;
}

std::string SjisLineOrigins::EncodeLines(const QString& text) const
{
    QHash<QString, std::size_t> used;
    std::string out;
    const QStringList lines = text.split(QChar('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            out += "\r\n";
        }
        const QString& line = lines[i];
        const auto remembered = lines_.constFind(line);
        if (remembered != lines_.constEnd()) {
            std::size_t& next = used[line];
            if (next < remembered->size()) {
                out += (*remembered)[next++];
                continue;
            }
        }
        out += ToSjis(line);
    }
    return out;
}

} // namespace platform
