#include "platform/SjisLineOrigins.h"

#include "jconvert/TextLines.h"
#include "platform/SjisText.h"

#include <QStringList>

namespace platform {

QString SjisLineOrigins::DecodeLines(std::string_view bytes)
{
    // Every line end becomes LF; a line end at the very end leaves an empty
    // last line, as an editor shows it.
    QString text;
    const std::vector<std::string_view> lines = jconvert::SplitLines(bytes);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            text += QChar('\n');
        }
        const QString decoded = FromSjis(lines[i]);
        lines_[decoded].emplace_back(lines[i]);
        text += decoded;
    }
    if (jconvert::EndsWithLineEnd(bytes)) {
        text += QChar('\n');
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
