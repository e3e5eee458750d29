#pragma once

// Conversion between the program's Shift_JIS byte strings (code page 932)
// and Qt's Unicode strings, where Qt shows or takes text (the window, the
// text drawn on the wallpaper); everything else keeps bytes.

#include <QString>
#include <string>
#include <string_view>

namespace platform {

// Decodes Shift_JIS bytes. A byte that is not part of a valid character is
// kept as the private-use character U+F700 + byte, so that ToSjis gives the
// very same byte back: text read from a file survives a round trip through
// the window unchanged even when it was not clean Shift_JIS. (On Windows the
// system's code page 932 tables convert, and decide about such bytes.)
QString FromSjis(std::string_view bytes);

// Encodes to Shift_JIS. A character that code page 932 cannot represent
// becomes "?"; U+F700..U+F7FF become the byte they stand for.
std::string ToSjis(const QString& text);

// Line ends: the files and the other modules use CR LF, Qt's editors use LF.
QString FromSjisLines(std::string_view bytes);
std::string ToSjisLines(const QString& text);

} // namespace platform
