#pragma once

// Multi-line text shown in a Qt editor that must be written back with the
// bytes it was read with, line by line: decoding remembers the bytes of each
// line, and encoding gives an unchanged line those bytes again, so that
// lines holding NEC-selected extension codes (which plain encoding writes as
// their IBM twins) survive. Lines the user edited are encoded anew.

#include <QHash>
#include <QString>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class SjisLineOrigins {
public:
    // Forgets every remembered line.
    void Clear() { lines_.clear(); }

    // Decodes Shift_JIS text for an editor (CR LF, CR and LF become LF),
    // remembering the lines' bytes in addition to those already remembered.
    QString DecodeLines(std::string_view bytes);

    // Encodes an editor's text (LF becomes CR LF). A line whose text is that of a
    // remembered line gets the remembered bytes; when several remembered
    // lines have the same text, they are used in the order they were read.
    std::string EncodeLines(const QString& text) const;

private:
    // Decoded line text -> the bytes of each line read with that text, in
    // the order they were read.
    QHash<QString, std::vector<std::string>> lines_;
};

} // namespace platform
