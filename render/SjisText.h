#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace render {

// Shift_JIS (code page 932) bytes to Unicode for Qt. A byte sequence that is
// not valid code page 932 becomes U+FFFD and the conversion goes on.
QString SjisToQString(std::string_view sjis);

// Unicode from Qt to Shift_JIS bytes; characters code page 932 lacks become "?".
std::string QStringToSjis(const QString& text);

} // namespace render
