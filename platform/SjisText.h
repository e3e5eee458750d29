#pragma once

// Conversion between the program's Shift_JIS byte strings (code page 932)
// and Qt's Unicode strings, where Qt shows or takes text (the window, the
// text drawn on the wallpaper); everything else keeps bytes. The codec's own
// code page 932 tables convert, the same on every platform.

#include <QString>
#include <string>
#include <string_view>

namespace platform {

// Decodes Shift_JIS bytes. A byte that is not part of a valid character is
// kept as the private-use character U+F700 + byte, so that ToSjis gives the
// very same byte back: text read from a file survives a round trip through
// the window unchanged even when it was not clean Shift_JIS.
QString FromSjis(std::string_view bytes);

// Encodes to Shift_JIS. A character that code page 932 cannot represent
// becomes the geta mark 〓 (81 AC); U+F700..U+F7FF become the byte they
// stand for. Where code page 932 has two codes for a character, the one
// Windows writes is used, so text decoded from the other code (NEC-selected
// extensions such as EE EF) comes back with different bytes: callers that
// must keep bytes use the overload below.
std::string ToSjis(const QString& text);

// As ToSjis, but when text is exactly what original decodes to, original
// itself: a value the user did not change keeps the bytes it was read with.
std::string ToSjis(const QString& text, std::string_view original);

} // namespace platform
