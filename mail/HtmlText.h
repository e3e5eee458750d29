#pragma once

// The readable text of an HTML part, for a memo mail sent as HTML only.

#include <string>
#include <string_view>

namespace mail {

// html (Shift_JIS) reduced to Shift_JIS lines joined by CR LF, without a
// final line end: tags, comments, scripts and styles removed; runs of
// blanks and line ends read as one blank, as a browser shows them; <br>
// ends a line, and <p>, <div>, <li>, <tr>, headings and their ends end a
// line that holds text; named entities in common use and numeric character
// references decoded (characters Shift_JIS lacks become the geta mark).
// Leading and trailing empty lines are dropped.
std::string HtmlToText(std::string_view html);

} // namespace mail
