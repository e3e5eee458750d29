#pragma once

#include <string>
#include <vector>

namespace render {

// Kind of the byte at 1-based position pos of Shift_JIS text: 0 single-byte
// character, 1 lead byte of a double-byte character, 2 its second byte;
// -1 when the text is shorter than pos (or pos is below 1).
int ByteKindAt(const std::string& text, int pos);

// Wraps one source line into display lines of at most limit bytes, never
// splitting a double-byte character (a line that would end on a lead byte
// ends one byte earlier). Clears lines first; always yields at least one
// line, an empty one for empty text. A limit below 2 is taken as 2, the
// least that makes progress with double-byte characters.
void SplitLine(const std::string& text, int limit, std::vector<std::string>& lines);

} // namespace render
